// main() of the Qt test binaries: offscreen without a display, xcb with one; the surface format is set
// before the application exists.
#include <QApplication>
#include <QSurfaceFormat>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define TARV_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARV_ASAN 1
#endif
#endif

#ifdef TARV_ASAN
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\nleak:swrast_dri.so\nleak:libGLX_mesa.so\n";
}
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    // Keep Mesa's software driver loaded until the very end, so its allocations are not reported as leaks.
    for (const char* lib :
         {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so"})
        if (dlopen(lib, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE)) break;
    QSurfaceFormat format;
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
