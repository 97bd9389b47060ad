#include "platform/qt/QtSettingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace tarv {

QtSettingsStore::QtSettingsStore(QString iniPath, QString group)
    : iniPath_(std::move(iniPath)), group_(std::move(group)) {}

std::string QtSettingsStore::getKeyValue(const std::string& name) {
    // Opened afresh for every value, so a hand edit between two reads is seen.
    QSettings settings(iniPath_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return {};
    if (!group_.isEmpty()) settings.beginGroup(group_);
    QString key = QString::fromStdString(name);
    if (!settings.contains(key)) return {};
    QVariant value = settings.value(key);
    // An unquoted hand-edited value with commas reads as a list: give it back as it was written.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',').toStdString();
    if (!value.canConvert<QString>()) return {};
    return value.toString().toStdString();
}

bool QtSettingsStore::setKeyValue(const std::string& name, const std::string& text) {
    QSettings settings(iniPath_, QSettings::IniFormat);
    if (!group_.isEmpty()) settings.beginGroup(group_);
    settings.setValue(QString::fromStdString(name), QString::fromStdString(text.empty() ? " " : text));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QtSettingsStore QtSettingsStore::preferences() {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Kelvane", "TARV");
    return QtSettingsStore(settings.fileName(), {});
}

QtSettingsStore QtSettingsStore::recentFiles() {
    return recentFilesOf(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

QtSettingsStore QtSettingsStore::recentFilesOf(const QString& executableName) {
    const QString folder = QFileInfo(preferences().iniPath()).absolutePath();
    const QString exe = executableName.isEmpty() ? QString("tarv") : executableName;
    // Not "<exe>.ini": beside "TARV.ini" that name would differ from the preferences' by letter case only.
    return QtSettingsStore(folder + "/" + exe + " settings.ini", "Recent Files");
}

}  // namespace tarv
