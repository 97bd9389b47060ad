#include "app/EditorStart.h"

#include "core/roads/StartupExit.h"
#include "meshtools/LodFiles.h"
#include "objects/ObjectLinks.h"
#include "objects/ui/ObjectPages.h"
#include "scene/gl/RMCanvas.h"

namespace tarv {

std::unique_ptr<frmTARV> startEditor(EditingContext& ctx, const std::string& commandLine, bool glCanvas) {
    // The window's preview parts give the canvas the scene and the mouse.
    CanvasFactory factory;
    if (glCanvas) factory = scene::createRMCanvas;
    auto window = std::make_unique<frmTARV>(ctx, factory);
    installObjectPages(*window);
    // The level files get the links of the object tree.
    ctx.lod.recomputeLinks = [](EditingContext& c) { calcHeirachy(c); };
    ctx.services.status = window.get();
    ctx.services.errorReport = window->errorWindow;
    window->Form_Load(commandLine);
    return window;
}

std::vector<std::string> programArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

} // namespace tarv
