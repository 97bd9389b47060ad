// The selected object: its look in the 3D view, the local axes, show and hide, and the Matrix page.
#include <gtest/gtest.h>

#include <cmath>

#include "ObjectFixtures.h"
#include "model/ModelHelpers.h"
#include "base/NumberText.h"
#include "model/RotationMath.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "objects/ObjectTree.h"
#include "preview/LocalAxes.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

struct SelectionFixture {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    SelectionFixture() {
        makeObjects(ctx, {{"base", 0}, {"hull", 1}, {"wing", 1}, {"gun", 2}});
        createObjectTree(ctx);
    }
    // The calling order of every selecting caller.
    void select(int16_t objNo) {
        if (ctx.objects.selectedObject >= 0) resetPreviousObject(ctx, ctx.objects.selectedObject);
        ctx.objects.selectedObject = objNo;
        if (objNo >= 0) getObjectDetails(ctx, objNo);
    }
    ViewObject& view(int i) { return ctx.view.viewObjects[size_t(i)]; }
    size_t markersOn(int i) {
        const auto& visuals = view(i).frame->visuals();
        return size_t(std::count(visuals.begin(), visuals.end(), ctx.view.selectionMarker.mesh));
    }
    scene::Rgb meshColour(int i) {
        const auto c = view(i).mesh->faces().front()->color();
        return {scene::redOf(c) / 255.0f, scene::greenOf(c) / 255.0f, scene::blueOf(c) / 255.0f};
    }
};

// Rz(z) Ry(y) Rx(x) in degrees, as a matrix with the given translation.
Matrix4 rotation(double x, double y, double z) {
    const Vector3 a{float(kPi / 180 * x), float(kPi / 180 * y), float(kPi / 180 * z)};
    Matrix4 m = transposeMatrix(eulerToMatrix(a));
    m[15] = 1;
    return m;
}

}  // namespace

TEST(Selection, QualitiesAndColoursFollowTheRenderModeAndTheHighlight) {
    struct Case {
        bool textured;
        int selected, deselected;
    } cases[] = {{true, 128, 136}, {false, 64, 72}};
    for (const Case& c : cases) {
        SelectionFixture f;
        for (int i = 0; i < 4; ++i)
            f.view(i).mesh->addFace([] {
                auto face = scene::createFace();
                face->addVertex(0, 0, 0);
                face->addVertex(1, 0, 0);
                face->addVertex(0, 1, 0);
                return face;
            }());
        f.ctx.view.mnuRenderFlat = c.textured;
        f.ctx.prefs.highlightColour = {255, 51, 0, 0};
        f.select(1);
        EXPECT_EQ(f.view(1).mesh->quality(), c.selected);
        EXPECT_NEAR(f.meshColour(1).r, 1.0, 1e-6) << "the highlight reaches the scene as 0..1";
        EXPECT_NEAR(f.meshColour(1).g, 0.2, 0.003);
        EXPECT_NEAR(f.meshColour(1).b, 0.0, 1e-6);
        f.select(2);
        EXPECT_EQ(f.view(1).mesh->quality(), c.deselected);
        EXPECT_NEAR(f.meshColour(1).r, 0.25, 0.003) << "its own colour again";
        EXPECT_NEAR(f.meshColour(1).g, 0.5, 0.003);
        EXPECT_NEAR(f.meshColour(1).b, 0.75, 0.003);
        EXPECT_EQ(f.view(2).mesh->quality(), c.selected);
    }
}

TEST(Selection, FillsTheLabelsThePageAndTheHooks) {
    SelectionFixture f;
    f.ctx.model.peoObjects[2].matrix = rotation(30, 40, 0);
    f.ctx.model.peoObjects[2].matrix[3] = 1.5f;
    f.ctx.model.peoObjects[2].matrix[13] = 0.25f;
    f.ctx.model.peoObjects[2].sizeX = 2.5f;
    struct KeysFor : SelectionKeysHook {
        int objNo = -1;
        void getAnimations(EditingContext&, int16_t n) override { objNo = n; }
    } keys;
    f.ctx.objects.keysHook = &keys;
    f.select(2);
    const ObjectsState& s = f.ctx.objects;
    EXPECT_EQ(s.lblObjectName[0], "wing");
    EXPECT_EQ(s.lblObjectName[1], "wing");
    // Degrees at 3 decimals; the decomposition reads the matrix at 4 decimals, so 40 comes out as 40.001.
    EXPECT_NEAR(std::stod(s.rotX), 30, 0.002);
    EXPECT_NEAR(std::stod(s.rotY), 40, 0.002);
    EXPECT_EQ(s.rotZ, "0");
    EXPECT_EQ(s.rotY, doubleText(roundHalfEven(std::stod(s.rotY), 3)));
    EXPECT_EQ(s.posX, "1.5");
    EXPECT_EQ(s.ShearY, "0.25");
    EXPECT_EQ(s.ScaleXYZ, "1");
    EXPECT_EQ(s.localmatrix[3], "1.5");
    EXPECT_EQ(s.localmatrix[0], floatText(f.ctx.model.peoObjects[2].matrix[0]));
    EXPECT_EQ(s.dialogs.lblObjectSize[0], "2.5");  // the size labels of Advanced Properties
    EXPECT_EQ(keys.objNo, 2);
    EXPECT_NEAR(f.view(2).frame->getPosition(f.view(0).frame).x, 1.5, 1e-5) << "posed from the matrix";
}

TEST(Selection, AHiddenObjectIsSelectedWithoutHighlightOrAxes) {
    SelectionFixture f;
    hideObject(f.ctx, 1);
    f.view(1).mesh->setQuality(72);
    f.select(1);
    EXPECT_EQ(f.view(1).mesh->quality(), 72);
    EXPECT_EQ(f.ctx.view.selectionMarker.mesh, nullptr);
    EXPECT_EQ(f.ctx.objects.lblObjectName[0], "hull");
}

TEST(Selection, TheMarkerBelongsToTheSelectedObject) {
    SelectionFixture f;
    f.select(1);
    ASSERT_EQ(f.markersOn(1), 1u);
    ASSERT_EQ(f.ctx.view.selectionMarker.frame->getParent(), f.view(1).frame);
    const auto& faces = f.ctx.view.selectionMarker.mesh->faces();
    ASSERT_EQ(faces.size(), 6u);
    EXPECT_EQ(faces[0]->vertices()[1].x, 2.0) << "twice the object's size";
    EXPECT_EQ(faces[2]->vertices()[1].y, 4.0);
    EXPECT_EQ(faces[4]->vertices()[1].z, 6.0);
    EXPECT_EQ(faces[0]->color() & 0xFFFFFF, 0x0000FFu) << "x blue";
    EXPECT_EQ(faces[2]->color() & 0xFFFFFF, 0x00FF00u) << "y green";
    EXPECT_EQ(faces[4]->color() & 0xFFFFFF, 0xFF0000u) << "z red";
    EXPECT_EQ(f.ctx.view.selectionMarker.mesh->quality(), 64);

    getObjectDetails(f.ctx, 1);  // again: still one marker
    EXPECT_EQ(f.markersOn(1), 1u);
    EXPECT_EQ(f.view(1).frame->children().size(), 2u) << "gun's frame and one marker frame";

    f.select(-1);  // deselected: the marker name stays, but the marker goes with the selection
    EXPECT_EQ(f.markersOn(1), 0u);
    EXPECT_EQ(f.ctx.view.selectionMarker.name, "hull");
    hideObject(f.ctx, 1);
    showObject(f.ctx, 1);
    EXPECT_EQ(f.markersOn(1), 0u) << "no axes for an object that is not selected";

    f.select(2);
    hideObject(f.ctx, 1);  // no marker there: nothing else is touched
    EXPECT_EQ(f.markersOn(2), 1u);
    hideObject(f.ctx, 2);
    EXPECT_EQ(f.markersOn(2), 0u);
    EXPECT_TRUE(f.ctx.view.selectionMarker.frame->getParent() == nullptr);
    showObject(f.ctx, 2);
    EXPECT_EQ(f.markersOn(2), 1u) << "the selected object gets its axes back";
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(Selection, ShowAndHideOnlyTickWhenNothingChanges) {
    SelectionFixture f;
    f.ctx.shell.treeHeirachy.setChecked("o1", false);
    showObject(f.ctx, 1);
    EXPECT_TRUE(f.ctx.shell.treeHeirachy.at("o1").checked);
    EXPECT_EQ(f.view(1).frame->visuals().size(), 1u);
    hideObject(f.ctx, 1);
    f.ctx.shell.treeHeirachy.setChecked("o1", true);
    hideObject(f.ctx, 1);
    EXPECT_FALSE(f.ctx.shell.treeHeirachy.at("o1").checked);
    EXPECT_TRUE(f.view(1).frame->visuals().empty());
}

TEST(Selection, AnObjectWithoutANodeIsShownAndHiddenWithoutAReport) {
    SelectionFixture f;
    f.ctx.shell.treeHeirachy.remove("o3");
    hideObject(f.ctx, 3);
    EXPECT_EQ(f.view(3).shown, 0);
    showObject(f.ctx, 3);
    EXPECT_EQ(f.view(3).shown, -1);
    EXPECT_TRUE(f.t.errors.reports.empty());
}

TEST(Selection, TheRecoilBoxFollowsTheGunsRecoilJoints) {
    struct Case {
        const char* joint;
        int gunCount;
        bool enabled;
    } cases[] = {{"wing", 1, true}, {"Wing", 1, false}, {"wing", 0, false}, {"hull", 1, false}};
    for (const Case& c : cases) {
        SelectionFixture f;
        f.ctx.shp.shpGuns = {ShpGun{}, ShpGun{}};
        f.ctx.shp.shpGuns[0].recoilJoint = c.joint;
        f.ctx.shp.shpGunCount = int16_t(c.gunCount);
        f.ctx.objects.chkShowRecoilEnabled = true;
        f.select(2);
        EXPECT_EQ(f.ctx.objects.chkShowRecoilEnabled, c.enabled) << c.joint << " " << c.gunCount;
    }
}

TEST(Selection, FindsTheNodeOfAnObjectByItsKey) {
    TempDir dir;
    TestContext t(dir.path());
    std::vector<ObjectRow> rows;
    for (int i = 0; i < 14; ++i) rows.push_back({"obj" + std::to_string(i), i == 0 ? 0 : 1});
    makeObjects(t.ctx, rows);
    createObjectTree(t.ctx);
    t.ctx.shell.treeHeirachy.remove("o5");
    EXPECT_EQ(getNodeFromPeoObject(t.ctx, 12), 12) << "node 12 in creation order after o5 went";
    EXPECT_EQ(t.ctx.shell.treeHeirachy.nodeAt(12).key, "o12");
    EXPECT_EQ(getNodeFromPeoObject(t.ctx, 5), 0);
    EXPECT_EQ(getNodeFromPeoObject(t.ctx, 99), 0);
}

TEST(Selection, AScaledMatrixShowsTheTwoReportsOfItsAnglesAndTheAxesStayUnposed) {
    SelectionFixture f;
    Matrix4 m = rotation(0, 30, 0);
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) m[i] *= 3;  // a sine of 1.5: the arc sine fails
    f.ctx.model.peoObjects[2].matrix = m;
    f.select(2);
    // The pose of the object's frame and the reset of the object each take the angles once; the local
    // axes take none.
    ASSERT_EQ(f.t.errors.reports.size(), 2u);
    for (const auto& report : f.t.errors.reports) EXPECT_EQ(report.procedure, "getObjectEulersFromMatrix");
    EXPECT_EQ(f.markersOn(2), 1u);
    const scene::Transform marker = f.ctx.view.selectionMarker.frame->localTransform();
    EXPECT_EQ(marker.t.x, 0);
    EXPECT_EQ(marker.m[0][0], 1);
    EXPECT_EQ(marker.m[0][2], 0);
}

TEST(Selection, AFailingSceneIsReportedWithTheObjectNumber) {
    SelectionFixture f;
    f.view(3).shown = 0;
    f.view(3).frame.reset();
    f.select(3);
    ASSERT_EQ(f.t.errors.reports.size(), 1u);
    EXPECT_EQ(f.t.errors.reports[0].module, "modPeo");
    EXPECT_EQ(f.t.errors.reports[0].procedure, "getObjectDetails");
    EXPECT_EQ(f.t.errors.reports[0].arguments, "3");
}

TEST(Selection, PickingSelectsTheNodeWithTheObjectsName) {
    SelectionFixture f;
    selectPickedObject(f.ctx, 2);
    EXPECT_EQ(f.ctx.objects.selectedObject, 2);
    EXPECT_EQ(f.ctx.objects.lblKey, "o2");
    EXPECT_EQ(f.ctx.shell.treeHeirachy.selectedKey(), "o2");
    EXPECT_EQ(f.markersOn(2), 1u);
    clearPickedSelection(f.ctx);
    EXPECT_EQ(f.ctx.objects.selectedObject, -1);
    EXPECT_EQ(f.ctx.objects.lblKey, "");
    EXPECT_EQ(f.ctx.objects.Dx_Label1, "Nothing selected");
    EXPECT_FALSE(f.ctx.objects.cmdApplyMatrixEnabled);
    EXPECT_EQ(f.markersOn(2), 0u);
}

// A selection left over from a model that is gone (a reload whose read failed empties the model and its view
// records but not the selection): the pick on empty space and the pick of a new object clear or replace it
// without an error report.
TEST(Selection, ASelectionWithoutItsViewObjectIsReplacedWithoutAReport) {
    struct Case {
        const char* what;
        bool keepModel;  // the records stay, only the view records went
        int16_t pick;    // -1: a pick on empty space
    } cases[] = {{"nothing loaded, empty pick", false, -1},
                 {"model records without view records, empty pick", true, -1},
                 {"nothing loaded, then a new model's object", false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelectionFixture f;
        f.select(2);
        if (!c.keepModel) f.ctx.model.peoObjects.clear();
        f.ctx.view.viewObjects.clear();
        if (c.pick < 0) {
            clearPickedSelection(f.ctx);
            EXPECT_EQ(f.ctx.objects.selectedObject, -1);
            EXPECT_EQ(f.ctx.objects.Dx_Label1, "Nothing selected");
            EXPECT_FALSE(f.ctx.objects.cmdAdvancedObjPropsEnabled);
        } else {
            makeObjects(f.ctx, {{"base", 0}, {"hull", 1}});
            selectPickedObject(f.ctx, c.pick);
            EXPECT_EQ(f.ctx.objects.selectedObject, c.pick);
            EXPECT_EQ(f.ctx.objects.lblKey, "o1");
        }
        EXPECT_TRUE(f.t.errors.reports.empty());
    }
}

// ----- Apply -----

namespace {
void fillBoxes(ObjectsState& s, std::array<std::string, 10> texts) {
    std::string* boxes[] = {&s.rotX, &s.rotY,   &s.rotZ,   &s.posX,   &s.posY,
                            &s.posZ, &s.ShearX, &s.ShearY, &s.ShearZ, &s.ScaleXYZ};
    for (size_t i = 0; i < 10; ++i) *boxes[i] = texts[i];
}
}  // namespace

TEST(ApplyMatrix, RefusesBoxesThatAreNotNumbersAndChangesNothing) {
    struct Case {
        const char* what;
        int16_t selected;
        std::array<std::string, 10> boxes;
        std::string problem;
    } cases[] = {
        {"nothing selected", -1, {"0", "0", "0", "1", "2", "3", "0", "0", "0", "1"}, "True"},
        {"the last failing box", 1, {"abc", "0", "0", "1", "2", "3", "0", "0", "0", ""}, "scale "},
        {"a comma", 1, {"0", "0", "0", "1,5", "2", "3", "0", "0", "0", "1"}, "pos. X 1,5"},
        {"beyond a float", 1, {"0", "0", "0", "1", "2", "3", "0", "1e39", "0", "1"}, "shear Y 1e39"},
        {"rotation", 1, {"0", "0", "9x", "1", "2", "3", "0", "0", "0", "1"}, "rot. Z 9x"},
    };
    for (const Case& c : cases) {
        SelectionFixture f;
        f.select(c.selected);
        fillBoxes(f.ctx.objects, c.boxes);
        f.t.prompts.expectMessage("Error in numeric input (" + c.problem + "), please re-enter.");
        const Matrix4 before = f.ctx.model.peoObjects[1].matrix;
        const auto grid = f.ctx.objects.localmatrix;
        cmdApplyMatrix_Click(f.ctx);
        EXPECT_EQ(f.t.prompts.pending(), 0u) << c.what;
        EXPECT_EQ(f.ctx.model.peoObjects[1].matrix, before) << c.what;
        EXPECT_EQ(f.ctx.objects.localmatrix, grid) << c.what;
    }
}

TEST(ApplyMatrix, WritesTheRotationPositionShearAndScale) {
    SelectionFixture f;
    f.select(1);
    fillBoxes(f.ctx.objects, {"90", "0", "0", "1", "2", "3", "0", "0", "0", "1"});
    cmdApplyMatrix_Click(f.ctx);
    const Matrix4 want{{1, 0, 0, 1, 0, 0, -1, 2, 0, 1, 0, 3, 0, 0, 0, 1}};
    EXPECT_EQ(f.ctx.model.peoObjects[1].matrix, want);
    EXPECT_EQ(f.ctx.objects.localmatrix[6], "-1");
    EXPECT_EQ(f.ctx.objects.localmatrix[11], "3");
    EXPECT_EQ(f.ctx.objects.rotX, "90") << "the boxes keep the user's text";
    EXPECT_NEAR(f.view(1).frame->getPosition(f.view(0).frame).y, 2, 1e-5);
    EXPECT_EQ(f.view(1).matrix[7], 2.0f);

    fillBoxes(f.ctx.objects, {" 0", "0", "0", "1.50", "0", "0", "0.5", "0", "0", "2"});
    cmdApplyMatrix_Click(f.ctx);
    EXPECT_EQ(f.ctx.objects.posX, "1.50");
    EXPECT_EQ(f.ctx.objects.localmatrix[3], "1.5");
    EXPECT_EQ(f.ctx.objects.localmatrix[12], "0.5");
    EXPECT_EQ(f.ctx.model.peoObjects[1].matrix[15], 2.0f);
}

TEST(ApplyMatrix, UnchangedBoxesKeepTheRotation) {
    const double angles[][3] = {{30, 40, 0},     {0, 25, -70}, {10, 0, 80}, {30, 40, 50},
                                {-120, 35, 170}, {0, 0, 45},   {0, 60, 10}};
    for (const auto& a : angles) {
        SelectionFixture f;
        Matrix4 m = rotation(a[0], a[1], a[2]);
        m[3] = 4;
        f.ctx.model.peoObjects[1].matrix = m;
        f.select(1);
        cmdApplyMatrix_Click(f.ctx);
        const Matrix4& after = f.ctx.model.peoObjects[1].matrix;
        for (int i = 0; i < 16; ++i) {
            const bool snapped = after[i] == 0 && std::fabs(m[i]) < 0.001f;
            EXPECT_TRUE(snapped || std::fabs(after[i] - m[i]) < 1e-4)
                << a[0] << " " << a[1] << " " << a[2] << " element " << i << ": " << m[i] << " became " << after[i];
        }
    }
}

TEST(CalcMembers, GiveTheirDegrees) {
    TempDir dir;
    TestContext t(dir.path());
    EXPECT_DOUBLE_EQ(calcX(t.ctx, 0, 0, 0, 0, 1), 0);
    EXPECT_DOUBLE_EQ(calcX(t.ctx, 0, 0, 0, 0, -1), 180);
    EXPECT_DOUBLE_EQ(calcX(t.ctx, 0, 0, 0, 0, 0.5f), -60);
    EXPECT_DOUBLE_EQ(calcY(t.ctx, 0.5f, 1, 0), -30);
    EXPECT_DOUBLE_EQ(calcY(t.ctx, 0.5f, -1, -1), 210);
    EXPECT_DOUBLE_EQ(calcY(t.ctx, 1, 1, 0), -90);
    EXPECT_NEAR(calcZ(t.ctx, 3, 4), -5.0347, 1e-4);
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(t.ctx.err.errArgs, "3|4");
    EXPECT_EQ(calcX(t.ctx, 0, 0, 0, 0, 2), 0) << "no angle has that cosine: reported";
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].procedure, "calcX");
    EXPECT_EQ(t.errors.reports[0].arguments, "0|0|0|0|2");
}
