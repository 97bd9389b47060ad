// Frames: transforms in the row-vector convention, positions and orientations relative to a reference,
// rotations combined before, and the tree's ownership rules.
#include <gtest/gtest.h>

#include <cmath>

#include "base/RunTimeError.h"
#include "scene/Scene.h"

using namespace tarv;
using namespace tarv::scene;

namespace {

constexpr double kTol = 1e-6;

void expectVec(const Vec3& got, const Vec3& want, double tol = kTol) {
    EXPECT_NEAR(got.x, want.x, tol);
    EXPECT_NEAR(got.y, want.y, tol);
    EXPECT_NEAR(got.z, want.z, tol);
}

void expectVec(const Vector3& got, const Vec3& want, double tol = 1e-4) {
    expectVec(Vec3{got.x, got.y, got.z}, want, tol);
}

void expectSameTransform(const Transform& a, const Transform& b) {
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], kTol) << i << "," << j;
    expectVec(a.t, b.t);
}

// Where a frame sends a point of its own into world coordinates.
Vec3 toWorld(const FramePtr& f, const Vec3& p) { return f->worldTransform().applyToPoint(p); }

}  // namespace

TEST(Frames, QuaternionOneAndAllZeroGiveNoRotation) {
    for (const Quaternion q : {Quaternion{1, 0, 0, 0}, Quaternion{0, 0, 0, 0}}) {
        auto root = createSceneRoot();
        auto f = createFrame(root);
        f->setPosition(root, 5, 6, 7);
        f->addRotation(kCombineBefore, 1, 1, 0, 0.7);  // something to undo
        f->setQuaternion(root, q);
        Transform want;
        want.t = {5, 6, 7};
        expectSameTransform(f->localTransform(), want);
    }
}

TEST(Frames, NonUnitQuaternionIsUsedAsGiven) {
    auto root = createSceneRoot();
    auto f = createFrame(root);
    f->setQuaternion(root, {2, 0, 0, 0});  // a scaled identity: still no rotation by the formula
    expectVec(toWorld(f, {1, 2, 3}), {1, 2, 3});
    f->setQuaternion(root, {0, 0, 0, 2});  // 1 - 2 z^2 = -7 on x and y
    expectVec(toWorld(f, {1, 0, 0}), {-7, 0, 0});
}

TEST(Frames, ObjectQuaternionOfZQuarterTurnSendsLocalXToParentY) {
    // The object-frame quaternion of the angles (0, 0, pi/2): the conjugate of a quarter turn about z.
    const double h = std::sqrt(0.5);
    auto root = createSceneRoot();
    auto parent = createFrame(root);
    parent->setPosition(root, 10, 0, 0);
    auto f = createFrame(parent);
    f->setQuaternion(parent, {float(h), 0, 0, float(-h)});
    const Transform& local = f->localTransform();
    expectVec(local.applyToVector({1, 0, 0}), {0, 1, 0});
    expectVec(local.applyToVector({0, 1, 0}), {-1, 0, 0});
    // As the object's matrix Rz(90) does to its column vectors.
    expectVec(toWorld(f, {1, 0, 0}), {10, 1, 0});
}

TEST(Frames, RotationsCombinedBeforeActInReverseOrder) {
    const double ax = 0.3, ay = -0.8, az = 1.1;
    auto root = createSceneRoot();
    auto f = createFrame(root);
    f->setPosition(root, 4, -2, 9);
    f->addRotation(kCombineBefore, 1, 0, 0, ax);
    f->addRotation(kCombineBefore, 0, 1, 0, ay);
    f->addRotation(kCombineBefore, 0, 0, 1, az);
    // Rz first on the points, then Ry, then Rx, then the translation.
    Transform want = rotationAbout({0, 0, 1}, az).then(rotationAbout({0, 1, 0}, ay)).then(rotationAbout({1, 0, 0}, ax));
    want.t = {4, -2, 9};
    expectSameTransform(f->localTransform(), want);

    // A turn about z carries +x towards +y; the axis is normalised.
    auto g = createFrame(root);
    g->addRotation(kCombineBefore, 0, 0, 5, M_PI / 2);
    expectVec(toWorld(g, {1, 0, 0}), {0, 1, 0});
    EXPECT_THROW(g->addRotation(kCombineBefore, 0, 0, 0, 1), RunTimeError);
}

TEST(Frames, ResetViewOrientationPutsWorldXUpAndYRight) {
    auto root = createSceneRoot();
    auto camera = createFrame(root);
    camera->setOrientation(nullptr, {0, 0, -1}, {1, 0, 0});
    camera->setPosition(nullptr, 0, 0, 600);
    // Camera axes in the world: z (view) along -z, y (screen up) along +x, x (screen right) along +y.
    const Transform& t = camera->localTransform();
    expectVec(t.applyToVector({0, 0, 1}), {0, 0, -1});
    expectVec(t.applyToVector({0, 1, 0}), {1, 0, 0});
    expectVec(t.applyToVector({1, 0, 0}), {0, 1, 0});
    EXPECT_GT(t.determinant(), 0);  // a turn, never a mirror
    // Up not perpendicular to the direction is made so; a parallel one cannot be.
    camera->setOrientation(nullptr, {0, 0, 2}, {1, 0, 3});
    expectVec(camera->localTransform().applyToVector({0, 1, 0}), {1, 0, 0});
    EXPECT_THROW(camera->setOrientation(nullptr, {0, 0, 1}, {0, 0, 4}), RunTimeError);
    EXPECT_THROW(camera->setOrientation(nullptr, {0, 0, 0}, {0, 1, 0}), RunTimeError);
}

TEST(Frames, PositionsRelativeToRootAndToOtherFrames) {
    auto root = createSceneRoot();
    auto parent = createFrame(root);
    parent->setPosition(nullptr, 100, 0, 0);
    parent->addRotation(kCombineBefore, 0, 0, 1, M_PI / 2);  // parent's x along world y
    auto child = createFrame(parent);

    child->setPosition(parent, 1, 2, 3);  // local
    expectVec(child->localTransform().t, {1, 2, 3});
    expectVec(child->getPosition(nullptr), {98, 1, 3});
    expectVec(child->getPosition(parent), {1, 2, 3});

    child->setPosition(nullptr, 100, 5, 0);  // world, converted into the parent's coordinates
    expectVec(child->localTransform().t, {5, 0, 0});
    expectVec(child->getPosition(root), {100, 5, 0});

    auto other = createFrame(root);
    other->setPosition(nullptr, 0, 0, 50);
    child->setPosition(other, 0, 0, 0);
    expectVec(child->getPosition(nullptr), {0, 0, 50});
    expectVec(child->getPosition(other), {0, 0, 0});
}

TEST(Frames, OrientationRelativeToAReferenceKeepsThePosition) {
    auto root = createSceneRoot();
    auto turned = createFrame(root);
    turned->addRotation(kCombineBefore, 0, 0, 1, M_PI / 2);
    auto f = createFrame(turned);
    f->setPosition(turned, 7, 0, 0);
    f->setQuaternion(nullptr, {1, 0, 0, 0});  // no rotation relative to the world
    expectVec(f->worldTransform().applyToVector({1, 0, 0}), {1, 0, 0});
    expectVec(f->localTransform().t, {7, 0, 0});
}

TEST(Frames, AddChildKeepsLocalTransformAndRefusesCycles) {
    auto root = createSceneRoot();
    auto a = createFrame(root);
    auto b = createFrame(a);
    auto c = createFrame(b);
    a->setPosition(nullptr, 10, 0, 0);
    c->setPosition(b, 1, 2, 3);

    root->addChild(c);  // moves, keeping its local transform
    EXPECT_EQ(c->getParent(), root);
    EXPECT_TRUE(b->children().empty());
    expectVec(c->getPosition(nullptr), {1, 2, 3});

    EXPECT_THROW(a->addChild(a), RunTimeError);
    EXPECT_THROW(b->addChild(a), RunTimeError);     // a is b's parent
    EXPECT_THROW(b->addChild(root), RunTimeError);  // root is b's ancestor
    EXPECT_EQ(b->getParent(), a);

    b->deleteChild(c);  // not its child: harmless
    EXPECT_EQ(c->getParent(), root);
    root->deleteChild(c);
    EXPECT_EQ(c->getParent(), nullptr);
    EXPECT_EQ(root->children().size(), 1u);
}

TEST(Frames, DetachFramesTakesManyChildrenOffTheirParentsInOnePass) {
    auto root = createSceneRoot();
    std::vector<FramePtr> kids;
    for (int i = 0; i < 6; ++i) {
        kids.push_back(createFrame(root));
        kids.back()->setName("k" + std::to_string(i));
    }
    auto other = createFrame(root);
    auto x = createFrame(other), y = createFrame(other);
    auto grandchild = createFrame(kids[3]);
    auto loose = createFrame(nullptr);
    const auto names = [](const FramePtr& parent) {
        std::vector<std::string> out;
        for (const FramePtr& c : parent->children()) out.push_back(c->getName());
        return out;
    };
    other->setName("other");

    const uint64_t before = sceneChangeCount();
    const std::vector<FramePtr> gone{kids[4], nullptr, kids[1], y, kids[1], loose, kids[3]};
    Frame::detachFrames(gone);
    EXPECT_EQ(sceneChangeCount(), before + 1);
    EXPECT_EQ(names(root), (std::vector<std::string>{"k0", "k2", "k5", "other"}));
    EXPECT_EQ(other->children(), std::vector<FramePtr>{x});
    for (const FramePtr& f : gone) {
        if (f) {
            EXPECT_EQ(f->getParent(), nullptr);
        }
    }
    EXPECT_EQ(x->getParent(), other);
    EXPECT_EQ(grandchild->getParent(), kids[3]);  // a detached frame keeps its own children

    Frame::detachFrames(gone);  // nothing left to detach
    Frame::detachFrames({});
    EXPECT_EQ(sceneChangeCount(), before + 1);

    root->addChild(kids[1]);  // a detached frame can hang anywhere again
    EXPECT_EQ(names(root), (std::vector<std::string>{"k0", "k2", "k5", "other", "k1"}));
    EXPECT_EQ(kids[1]->getParent(), root);
}

TEST(Frames, AParentKeepsItsChildrenAliveAndAChildItsParentOnlyWeakly) {
    std::weak_ptr<Frame> child;
    FramePtr orphan;
    {
        auto root = createSceneRoot();
        child = createFrame(root);
        orphan = createFrame(root);
        EXPECT_FALSE(child.expired());
    }
    EXPECT_TRUE(child.expired());
    EXPECT_EQ(orphan->getParent(), nullptr);
}

TEST(Frames, VisualsLightsNamesAndBackground) {
    auto root = createSceneRoot();
    auto f = createFrame(root);
    auto mesh = createMeshBuilder();
    f->addVisual(mesh);
    f->addVisual(mesh);
    EXPECT_EQ(f->visuals().size(), 1u);
    f->deleteVisual(createMeshBuilder());
    f->deleteVisual(mesh);
    f->deleteVisual(mesh);
    EXPECT_TRUE(f->visuals().empty());

    auto light = createLightRGB(200 / 255.0, 200 / 255.0, 200 / 255.0);
    f->addLight(light);
    f->deleteLight(createLightRGB(1, 1, 1));
    EXPECT_EQ(f->lights().size(), 1u);
    f->deleteLight(light);
    EXPECT_TRUE(f->lights().empty());

    f->setName("peo_hull");
    createFrame(root)->setName("peo_hull");  // names need not be unique
    EXPECT_EQ(f->getName(), "peo_hull");

    EXPECT_FALSE(root->sceneBackground().has_value());
    root->setSceneBackground(127 + 256 * 127 + 65536 * 127);
    EXPECT_EQ(colorFromRgbLong(*root->sceneBackground()), createColorRGB(127 / 255.0, 127 / 255.0, 127 / 255.0));
    EXPECT_EQ(colorFromRgbLong(255), 0xFFFF0000u);  // red is the low byte of the long
}
