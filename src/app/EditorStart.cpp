#include "app/EditorStart.h"

#include "animation/ui/AnimationControls.h"
#include "attachments/ui/ShipInfoControls.h"
#include "materials/ui/MaterialsPage.h"
#include "meshtools/ui/ToolsControls.h"
#include "objects/ui/ObjectPages.h"
#include "preview/ui/PreviewParts.h"
#include "scene/gl/RMCanvas.h"
#include "editor/context/EditingContext.h"

namespace tarv {

void installSubsystems(frmTARV& window) {
    installMaterials(window);
    installPreview(window);
    installObjects(window);
    installAttachments(window);
    installAnimation(window);
    installMeshTools(window);
    window.syncFromContext();
}

std::unique_ptr<frmTARV> startEditor(EditingContext& ctx, const std::string& commandLine, bool glCanvas) {
    CanvasFactory factory;
    if (glCanvas) factory = scene::createRMCanvas;
    auto window = std::make_unique<frmTARV>(ctx, factory);
    installSubsystems(*window);
    ctx.services.status = window.get();
    ctx.services.errorReport = window->errorWindow;
    window->spaceUpdates();
    window->Form_Load(commandLine);
    return window;
}

std::vector<std::string> programArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

}  // namespace tarv
