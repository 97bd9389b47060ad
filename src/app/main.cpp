// The editor: the application, the editing context with the desktop's services, and the main window.
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QSurfaceFormat>

#include "app/EditorStart.h"
#include "editor/StartupExit.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtPrompts.h"
#include "platform/qt/QtSettingsStore.h"
#include "editor/context/EditingContext.h"

int main(int argc, char** argv) {
    QSurfaceFormat format;
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Kelvane");
    QCoreApplication::setApplicationName("TARV");

    tarv::EditingContext ctx;
    QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(dataFolder);
    ctx.userDataFolder = dataFolder.toStdString();

    tarv::QtPrompts prompts;
    tarv::QtClock clock;
    tarv::SystemRandomSource random;
    tarv::QtTextViewer viewer;
    tarv::QtSettingsStore preferences = tarv::QtSettingsStore::preferences();
    tarv::QtSettingsStore recentFiles = tarv::QtSettingsStore::recentFiles();
    ctx.services.prompts = &prompts;
    ctx.services.clock = &clock;
    ctx.services.random = &random;
    ctx.services.textViewer = &viewer;
    ctx.services.preferencesStore = &preferences;
    ctx.services.recentFilesStore = &recentFiles;

    int result = 0;
    {
        auto window = tarv::startEditor(ctx, tarv::commandLineText(tarv::programArguments(argc, argv)));
        prompts.setParent(window.get());
        result = app.exec();
        ctx.services = {};  // the window and the services go before the context
    }
    return result;
}
