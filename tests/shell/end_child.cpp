// A child process for the End tests: starts the real editor on the offscreen platform, clicks End on the
// first error report that shows, and says on stdout what it saw. Arguments: "startup" or "load", then the
// file to open, then the folder for the editor's own data. It prints every question it is asked, and
// "went on" when the interrupted procedure returned, and exits 3 then.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"
#include "platform/SettingsStore.h"
#include "platform/qt/QtDesktop.h"
#include "shell/ShellDialogs.h"

namespace {

// Answers No to every question and says each on stdout.
class PrintingPrompts : public tarv::DecliningPrompts {
public:
    void messageBox(const std::string& text, const std::string&, tarv::PromptIcon) override { say("message", text); }
    bool yesNo(const std::string& text, const std::string&, tarv::PromptIcon) override {
        say("question", text);
        return false;
    }

private:
    static void say(const char* kind, const std::string& text) {
        std::printf("%s: %s\n", kind, text.c_str());
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string mode = argv[1], file = argv[2];

    tarv::EditingContext ctx;
    ctx.userDataFolder = argv[3];
    PrintingPrompts prompts;
    tarv::QtClock clock;
    tarv::MemorySettingsStore preferences, recentFiles;
    preferences.values.emplace("AlwaysShowBackup", "0");
    ctx.services.prompts = &prompts;
    ctx.services.clock = &clock;
    ctx.services.preferencesStore = &preferences;
    ctx.services.recentFilesStore = &recentFiles;

    // End on the first report that shows.
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [] {
        if (auto* report = qobject_cast<tarv::frmError*>(QApplication::activeModalWidget())) {
            std::printf("report: End\n");
            std::fflush(stdout);
            QTest::mouseClick(report->cmdEndTARV, Qt::LeftButton);  // as the user clicks it
        }
    });
    clicker.start(10);

    auto window = tarv::startEditor(ctx, mode == "startup" ? file : std::string(), false);
    if (mode == "startup") {
        std::printf("went on\n");
        return 3;
    }
    QTimer::singleShot(0, [&] {
        window->loadThisFile(file);
        std::printf("went on\n");
        std::fflush(stdout);
        QCoreApplication::exit(3);
    });
    const int result = app.exec();
    std::printf("event loop ended\n");
    return result == 0 ? 4 : result;
}
