// "Repair PEO tool": opened from Tools > "&Repair PEO file", its controls, a file read through its own File
// menu, an object's normals, the repair of the material count, the hand-over to the main window, and a
// window that keeps its texts when it is hidden and shown again; and a main window that takes the user's input
// again after a load road started from the repair window or the LOD frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ByteBuilder.h"
#include "SampleShip.h"
#include "Screenshot.h"
#include "WindowFixture.h"
#include "meshtools/state/ToolsPageState.h"
#include "meshtools/ui/frmRepair.h"
#include "preview/PreviewScene.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// A Homeworld file of two records: material list after them (offset 292), no material counts in the header,
// the first polygon list 384 bytes later; object 1 "Hull" with two vertex normals and one face normal.
ByteBuilder repairFile() {
    ByteBuilder b;
    b.str("RMF99ba").u8(0).i32(1026).i32(0).i32(0).i32(0).i32(0).i32(0).i32(292).i32(292).i32(2).fill(24, 0xAB);
    const int32_t normals = 292 + 384 + 40;
    const int32_t name = normals + 5 * 16;
    b.i32(name).i32(0).i32(2).i32(1).i32(2).i32(1).i32(0).i32(normals).i32(292 + 384).i32(0).i32(0).i32(0);
    for (int i = 0; i < 16; ++i) b.f32(i % 5 == 0 ? 1.0f : 0.0f);
    b.i32(name).fill(108);
    b.padTo(size_t(normals), 0x11);
    const float values[5][3] = {{0.5f, -1, 0.1f}, {0, 1, 0}, {9, 9, 9}, {0, 0.25f, -0.75f}, {1, 0, 0}};
    for (const auto& v : values) b.f32(v[0]).f32(v[1]).f32(v[2]).fill(4, 0xAB);
    b.zstr("Hull");
    return b;
}

struct RepairWindow : ::testing::Test, WindowFixture {
    std::string path;
    RepairWindow() {
        t.ctx.prefs.logLevel = 0;
        path = (dir / "ship.peo").string();
        repairFile().writeTo(path);
    }
    // Opens the repair window from the Tools menu and runs inside while it is shown modally; inside must hide it.
    void whileShown(const std::function<void(frmRepair&)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmRepair*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ran = true;
            inside(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the repair window is still shown";
                dialog->hide();
            }
        });
        window.mnuToolsRepair->trigger();
        EXPECT_TRUE(ran);
    }
    // A click on the Tools page's Rotate button reaches the command: the first vertex turns about X.
    void expectRotateClickTurnsTheModel() {
        clickTab(window.SSTab1, window.pageTools);
        chooseWithKeys(find<QComboBox>("cmbRotateAmount"), 0);  // "90"
        clickOn(find<QRadioButton>("rotateOption_0"));
        const PeoVertex before = t.ctx.model.peoObjects.at(0).vertices.at(0);
        clickOn(find<QPushButton>("cmdRotate"));
        QApplication::processEvents();
        const PeoVertex after = t.ctx.model.peoObjects.at(0).vertices.at(0);
        EXPECT_EQ(after.y, before.z);
        EXPECT_EQ(after.z, before.y);
    }
    // A click on a row of a list, as the user makes it.
    static void clickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        ASSERT_EQ(list->currentRow(), row);
    }
    static QString cell(frmRepair& d, int row, int column) {
        return d.ListView1->model()->index(row, column).data().toString();
    }
};

TEST_F(RepairWindow, ToolsMenuShowsTheWindowWithItsCaptions) {
    EXPECT_TRUE(window.mnuToolsRepair->isEnabled());
    EXPECT_EQ(repairWindow(window), nullptr);  // made on first use
    whileShown([&](frmRepair& d) {
        EXPECT_EQ(d.windowTitle(), "Repair PEO tool");
        EXPECT_EQ(d.findChild<QGroupBox*>("fraHeader")->title(), "Header Information");
        EXPECT_EQ(d.findChild<QGroupBox*>("fraObject")->title(), "Object Information @ ");
        EXPECT_EQ(d.cmdRepairMats->text(), "Repair Materials");
        EXPECT_EQ(d.lblMatOffset->text(), "Mat Offset:");
        EXPECT_EQ(d.mnuFileOpen->text(), "&Open");
        EXPECT_EQ(d.mnuFileLoadIntoTARV->text(), "&Load into TARV");
        EXPECT_EQ(d.mnuFileExit->text(), "E&xit Repair");
        EXPECT_FALSE(d.mnuFileLoadIntoTARV->isEnabled());
        EXPECT_FALSE(d.cmdRepairMats->isEnabled());
        QStringList headers;
        for (int c = 0; c < d.ListView1->model()->columnCount(); ++c)
            headers << d.ListView1->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(headers, (QStringList{"#", "X", "Y", "Z", "X", "Y", "Z"}));
        QStringList captions;
        for (auto* label : d.findChildren<QLabel*>()) captions << label->text();
        for (const char* caption : {"Version:", "Objects:", "Mats:", "String Offset:", "Vertex Offset:",
                                    "Polygon Offset:", "Vert Normal offset:", "Face Normal offset:", "Face Normals:",
                                    "Vertex Normals:"})
            EXPECT_TRUE(captions.contains(caption)) << caption;
        for (const char* name : {"txtVersion", "txtNumberOfObjects", "txtMats", "lblMatSize", "lblMatOffset",
                                 "cmdRepairMats", "lstObjects", "Label4", "txtObjNameOffset", "txtObjInfo_0",
                                 "txtObjInfo_5", "Label5", "ListView1", "StatusBar1", "mnuFileOpen",
                                 "mnuFileLoadIntoTARV", "mnuFileExit"})
            EXPECT_NE(d.findChild<QObject*>(name), nullptr) << name;
        d.mnuFileExit->trigger();
    });
}

TEST_F(RepairWindow, AFileIsReadShownAndKeptWhileTheWindowIsHidden) {
    t.prompts.expectOpen(FileDialogChoice{path, 2});
    whileShown([&](frmRepair& d) {
        d.mnuFileOpen->trigger();
        EXPECT_EQ(t.prompts.shown.at(0).request.filter, "All Files (*.*)|*.*|Homeworld PEO file (*.peo)|*.peo");
        EXPECT_EQ(t.prompts.shown.at(0).request.filterIndex, 2);
        EXPECT_EQ(d.StatusBar1->currentMessage().toStdString(), path);
        EXPECT_EQ(d.txtVersion->text(), "1026");
        EXPECT_EQ(d.txtNumberOfObjects->text(), "2");
        EXPECT_EQ(d.txtMats->text(), "0");
        EXPECT_EQ(d.lblMatSize->text(), "12");
        EXPECT_EQ(d.lblMatOffset->text(), "Calc Mats: 12");
        EXPECT_EQ(d.Label4->text(), "69");
        ASSERT_EQ(d.lstObjects->count(), 2);
        EXPECT_EQ(d.lstObjects->item(1)->text(), "2 @ 181");
        EXPECT_TRUE(d.cmdRepairMats->isEnabled());
        EXPECT_TRUE(d.mnuFileLoadIntoTARV->isEnabled());
        clickRow(d.lstObjects, 0);  // the user clicks the first entry
        EXPECT_EQ(d.Label5->text(), "Hull");
        EXPECT_EQ(d.txtObjInfo[5]->text(), "2");
        ASSERT_EQ(d.ListView1->model()->rowCount(), 2);
        EXPECT_EQ(cell(d, 0, 0), "0");
        EXPECT_EQ(cell(d, 0, 3), "0.1");
        EXPECT_EQ(cell(d, 0, 6), "-0.75");
        EXPECT_EQ(cell(d, 1, 4), "1");
        d.resize(900, 520);
        saveScreenshotIfAsked(d, "frm_repair");
        d.mnuFileExit->trigger();
    });
    frmRepair* first = repairWindow(window);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isVisible());
    whileShown([&](frmRepair& d) {
        EXPECT_EQ(&d, first);
        EXPECT_EQ(d.formLoads(), 1);
        EXPECT_TRUE(d.mnuFileLoadIntoTARV->isEnabled());  // stays enabled while the window lives
        EXPECT_EQ(d.StatusBar1->currentMessage().toStdString(), path);
        EXPECT_EQ(d.Label5->text(), "Hull");
        EXPECT_EQ(d.ListView1->model()->rowCount(), 2);
        EXPECT_EQ(d.lstObjects->currentRow(), 0);
        d.mnuFileExit->trigger();
    });
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(RepairWindow, RepairMaterialsPatchesTheFileAndAnEditedVersionIsUsed) {
    t.prompts.expectOpen(FileDialogChoice{path, 2});
    whileShown([&](frmRepair& d) {
        d.mnuFileOpen->trigger();
        clickOn(d.cmdRepairMats);
        EXPECT_EQ(d.txtMats->text(), "12");
        EXPECT_FALSE(d.cmdRepairMats->isEnabled());
        d.txtVersion->clear();
        QTest::keyClicks(d.txtVersion, "abc");
        clickRow(d.lstObjects, 1);
        ASSERT_EQ(t.errors.reports.size(), 1u);
        EXPECT_EQ(t.errors.reports[0].number, 13);
        d.txtVersion->clear();
        QTest::keyClicks(d.txtVersion, "1026");
        clickRow(d.lstObjects, 0);
        EXPECT_EQ(d.Label5->text(), "Hull");
        d.mnuFileExit->trigger();
    });
    const std::vector<uint8_t> bytes = readBytes(path);
    ByteBuilder expected = repairFile();
    expected.patchI32(24, 12);
    EXPECT_EQ(bytes, expected.data());
}

TEST_F(RepairWindow, TheLargestNormalListFillsTheViewInOneGo) {
    // One object with 32,767 vertex normals and no face normals, right after its record.
    ByteBuilder b;
    b.str("RMF99ba").u8(0).i32(1026).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(1).fill(24, 0xAB);
    b.i32(0).i32(0).i32(0).i32(0).i32(32767).i32(0).i32(0).i32(180).i32(0).i32(0).i32(0).i32(0).fill(64);
    for (int i = 0; i < 32767 * 2; ++i) b.f32(float(i)).f32(0.5f).f32(-1).fill(4, 0xAB);
    b.writeTo(path);
    t.prompts.expectOpen(FileDialogChoice{path, 2});
    whileShown([&](frmRepair& d) {
        d.mnuFileOpen->trigger();
        int resets = 0, inserts = 0;
        QObject::connect(d.ListView1->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
        QObject::connect(d.ListView1->model(), &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
        clickRow(d.lstObjects, 0);
        EXPECT_EQ(d.ListView1->model()->rowCount(), 32767);
        EXPECT_EQ(resets, 1);
        EXPECT_EQ(inserts, 0);
        EXPECT_EQ(cell(d, 32766, 0), "32766");
        EXPECT_EQ(cell(d, 32766, 1), "32766");
        EXPECT_EQ(cell(d, 32766, 4), "65533");
        d.mnuFileExit->trigger();
    });
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(RepairWindow, LoadIntoTarvOpensTheFileInTheMainWindowAndHides) {
    samples::writeSampleShip(dir.path());
    const std::string peo = (dir / samples::kSamplePeoName).string();
    start();
    t.prompts.expectOpen(FileDialogChoice{peo, 2});
    t.ctx.services.status = &window;  // the load's event pumps hold back the user's input to the main window
    whileShown([&](frmRepair& d) {
        d.mnuFileOpen->trigger();
        d.mnuFileLoadIntoTARV->trigger();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(t.ctx.currentModelPath, peo);
    EXPECT_EQ(t.ctx.model.objectCount(), 4);
    EXPECT_FALSE(window.mnuFileSaveSHP->isEnabled());
    EXPECT_TRUE(t.errors.reports.empty());
    // Once the load is over, the main window takes the user's input again.
    expectRotateClickTurnsTheModel();
    t.ctx.services.status = &t.status;
}

// The LOD frame's level switch runs the load road the same way: afterwards the main window takes input again.
TEST_F(RepairWindow, AfterALevelSwitchTheMainWindowTakesInputAgain) {
    samples::writeSampleShip(dir.path());
    openThroughMenu(dir / samples::kSampleShpName);
    ASSERT_EQ(t.ctx.lod.lstLodFiles.size(), 1u);
    t.ctx.services.status = &window;
    clickTab(window.SSTab1, window.pageTools);
    auto* levels = find<QListWidget>("lstLodFiles");
    QTest::mouseClick(levels->viewport(), Qt::LeftButton, {}, levels->visualItemRect(levels->item(0)).center());
    find<QAction>("mnuLodFileSwitch")->trigger();
    EXPECT_NE(t.ctx.currentModelPath.find("LOD1"), std::string::npos);
    EXPECT_EQ(t.ctx.model.objectCount(), 1);
    expectRotateClickTurnsTheModel();
    EXPECT_TRUE(t.errors.reports.empty());
    t.ctx.services.status = &t.status;
}

}  // namespace
