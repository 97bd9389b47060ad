// The Qt implementations of the platform: the INI settings stores and the file dialog's filters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <QDir>
#include <QRegularExpression>
#include <QSettings>

#include "TempDir.h"
#include "UserInput.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/QtPrompts.h"
#include "platform/qt/QtSettingsStore.h"

using namespace tarv;
using namespace tarv::test;

TEST(QtSettingsStore, KeepsValuesInIniFilesOfTheUsersConfigFolder) {
    TempDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config.path().string()));
    QtSettingsStore prefs = QtSettingsStore::preferences();
    EXPECT_EQ(prefs.iniPath().toStdString(), (config.path() / "Kelvane" / "TARV.ini").string());
    EXPECT_EQ(prefs.getKeyValue("LogLevel"), "") << "a missing value reads empty";
    EXPECT_TRUE(prefs.setKeyValue("LogLevel", "2"));
    EXPECT_TRUE(prefs.setKeyValue("CustomStartDir", ""));
    EXPECT_TRUE(prefs.setKeyValue("PlayerBaseColor", "0 128 255"));
    EXPECT_TRUE(prefs.setKeyValue("Folder", "/a,b/c d"));
    QtSettingsStore again = QtSettingsStore::preferences();
    EXPECT_EQ(again.getKeyValue("LogLevel"), "2");
    EXPECT_EQ(again.getKeyValue("CustomStartDir"), " ") << "an empty text is stored as one blank";
    EXPECT_EQ(again.getKeyValue("PlayerBaseColor"), "0 128 255");
    EXPECT_EQ(again.getKeyValue("Folder"), "/a,b/c d");
    EXPECT_EQ(again.getKeyValue("selectionColour"), "");

    QtSettingsStore recent = QtSettingsStore::recentFiles();
    QString exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EXPECT_EQ(recent.iniPath(),
              QDir(QString::fromStdString((config.path() / "Kelvane").string())).filePath(exe + " settings.ini"));
    EXPECT_NE(QtSettingsStore::recentFilesOf("tarv").iniPath().toLower(), prefs.iniPath().toLower())
        << "the editor's two files differ by more than letter case";
    EXPECT_TRUE(recent.setKeyValue("RecentFile1", "/Ships/Scout.peo"));
    EXPECT_EQ(recent.getKeyValue("RecentFile1"), "/Ships/Scout.peo");
    EXPECT_EQ(prefs.getKeyValue("RecentFile1"), "") << "two separate stores";
    QSettings raw(recent.iniPath(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Recent Files/RecentFile1").toString(), "/Ships/Scout.peo");
}

TEST(QtSettingsStore, AnUnwritableStoreFailsQuietly) {
    TempDir config;
    QString path = QString::fromStdString((config.path() / "no" / "such").string());
    writeText(config.path() / "no", "a file where the folder should be");
    QtSettingsStore store(path + "/x.ini", {});
    EXPECT_FALSE(store.setKeyValue("LogLevel", "2"));
    EXPECT_EQ(store.getKeyValue("LogLevel"), "");
}

TEST(QtPrompts, FileFiltersMatchAnyLetterCase) {
    QStringList filters = QtPrompts::nameFilters("PEO files|*.peo|Ships|*.shp;*.peo");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0].toStdString(), "PEO files (*.[pP][eE][oO])");
    EXPECT_EQ(filters[1].toStdString(), "Ships (*.[sS][hH][pP] *.[pP][eE][oO])");
    QRegularExpression re(QRegularExpression::wildcardToRegularExpression("*.[pP][eE][oO]"));
    EXPECT_TRUE(re.match("SCOUT.PEO").hasMatch());
    EXPECT_TRUE(re.match("scout.Peo").hasMatch());
    EXPECT_FALSE(re.match("scout.mex").hasMatch());
}

TEST(QtClock, TellsDateTimeAndMonotonicSeconds) {
    QtClock clock;
    EXPECT_FALSE(clock.dateText().empty());
    EXPECT_FALSE(clock.timeText().empty());
    double a = clock.monotonicSeconds();
    double b = clock.monotonicSeconds();
    EXPECT_GE(b, a);
    EXPECT_GE(clock.secondsSinceMidnight(), 0.0);
    EXPECT_LT(clock.secondsSinceMidnight(), 86400.0);
    QtTextViewer viewer;
    EXPECT_FALSE(viewer.openTextFile("")) << "no file, nothing opened";
}

namespace {
// Runs fn on the modal dialog once it is open.
void onModal(std::function<void(QWidget*)> fn) {
    QTimer::singleShot(0, [fn] { fn(QApplication::activeModalWidget()); });
}
}  // namespace

TEST(QtPrompts, AsksWithCaptionIconAndButtons) {
    QtPrompts prompts;
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    onModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        clickOn(box->button(QMessageBox::Yes));
    });
    EXPECT_TRUE(prompts.yesNo("Backup?", "TARV v1.0", PromptIcon::None));
    EXPECT_EQ(caption, "TARV v1.0");
    EXPECT_EQ(text, "Backup?");
    EXPECT_EQ(icon, QMessageBox::NoIcon);

    onModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        clickOn(box->button(QMessageBox::Cancel));
    });
    EXPECT_FALSE(prompts.okCancel("Sure?", "TARV", PromptIcon::Exclamation));
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(QtPrompts, OpenDialogGivesThePathAndTheChosenFilter) {
    TempDir dir;
    writeText(dir / "SCOUT.PEO", "x");
    FileDialogRequest request{"Open", "Ship files|*.shp|PEO files|*.peo", 1, dir.path().string(), ""};
    QtPrompts prompts;
    QStringList shownFilters;
    onModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        shownFilters = dialog->nameFilters();
        EXPECT_EQ(dialog->selectedNameFilter(), "Ship files") << "the request's filter comes first";
        dialog->selectNameFilter(shownFilters.value(1));
        dialog->selectFile(QString::fromStdString((dir / "SCOUT.PEO").string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    auto choice = prompts.openFile(request);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, (dir / "SCOUT.PEO").string());
    EXPECT_EQ(choice->filterIndex, 2);
    EXPECT_EQ(shownFilters.size(), 2);

    onModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(prompts.openFile(request).has_value()) << "cancel gives nothing";
}
