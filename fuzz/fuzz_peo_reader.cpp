// Feeds arbitrary bytes to the .peo reader as a model file: it must end every input in a load error or a
// model, never in a crash, a hang or a huge allocation.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "editor/context/EditingContext.h"
#include "platform/ErrorReport.h"
#include "model/LogFiles.h"
#include "model/PeoReader.h"
#include "base/RunTimeError.h"

namespace {

// Answers the sharing questions Yes and No in turn; no other prompt is expected from the reader.
class AlternatingPrompts : public tarv::DecliningPrompts {
public:
    bool yesNo(const std::string&, const std::string&, tarv::PromptIcon) override { return yes_ = !yes_; }

private:
    bool yes_ = false;
};

class CountingErrorReport : public tarv::ErrorReport {
public:
    void show(const tarv::ErrorReportInfo&) override { ++count; }
    int count = 0;
};

const std::filesystem::path& workFolder() {
    static const std::filesystem::path folder = [] {
        char pattern[] = "/tmp/fuzz_peo_reader.XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) std::abort();
        // The model log cannot be opened (a folder stands in its place): every line is still formatted,
        // the failure road of the logs is taken, and no file grows while the fuzzer runs.
        std::filesystem::create_directories(std::filesystem::path(made) / "ship.log");
        return std::filesystem::path(made);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path path = workFolder() / "ship.peo";
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) std::abort();
        if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
        std::fclose(file);
    }

    tarv::EditingContext ctx;
    AlternatingPrompts prompts;
    CountingErrorReport errors;
    ctx.services.prompts = &prompts;
    ctx.services.errorReport = &errors;
    ctx.userDataFolder = workFolder();
    ctx.prefs.logLevel = 3;  // every detail line is formatted
    ctx.currentModelPath = path.string();
    tarv::startModelLog(ctx);

    try {
        tarv::readPeoFile(ctx, path.string());
        ctx.model.modelExtent = 0;
        for (int k = 0; k < ctx.model.objectCount(); ++k) tarv::calcObjectDimensions(ctx, k);
    } catch (const tarv::RunTimeError&) {
        // A damaged file: a clear load error, and the model left empty.
        if (ctx.model.objectCount() != 0 || ctx.model.materialCount() != 0 || !ctx.model.textures.empty())
            std::abort();
    }
    return 0;
}
