#pragma once
// Starting the editor: the main window with the 3D canvas, every subsystem installed into it in the layer
// order, wired to the context's services, loaded with the command line. main() and the tests start it the
// same way.
#include <memory>
#include <string>
#include <vector>

#include "shell/frmTARV.h"

namespace tarv {

class EditingContext;

// Installs every subsystem into the window, in the layer order: materials, preview, objects, attachments,
// animation, mesh tools.
void installSubsystems(frmTARV& window);

// The window over ctx (whose prompts, stores, clock and viewer the caller has set); the window becomes the
// status display and the error report. With glCanvas the 3D canvas draws with OpenGL, otherwise a
// plain widget takes its place. Runs the start-up with the command line before returning.
std::unique_ptr<frmTARV> startEditor(EditingContext& ctx, const std::string& commandLine, bool glCanvas = true);

// The program's arguments after its name.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace tarv
