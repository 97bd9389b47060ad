#pragma once
// Settings stores in INI files through QSettings: the preferences in the user's config folder
// ("Kelvane/TARV.ini"), the recent files in a second INI beside it named after the executable.
#include <QString>

#include "platform/SettingsStore.h"

namespace tarv {

class QtSettingsStore : public SettingsStore {
public:
    // Values of one INI file, inside group (empty: the file's general section).
    QtSettingsStore(QString iniPath, QString group);

    std::string getKeyValue(const std::string& name) override;
    bool setKeyValue(const std::string& name, const std::string& text) override;

    const QString& iniPath() const { return iniPath_; }

    // The preferences: QSettings(IniFormat, UserScope, "Kelvane", "TARV").
    static QtSettingsStore preferences();
    // The recent files: section "Recent Files" of "<executable name> settings.ini" in the preferences' folder.
    static QtSettingsStore recentFiles();
    // The same for the executable of the given name.
    static QtSettingsStore recentFilesOf(const QString& executableName);

private:
    QString iniPath_;
    QString group_;
};

}  // namespace tarv
