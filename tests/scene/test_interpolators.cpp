// Interpolators: keys at indices, linear and closed play, shorter-arc orientation, replaced keys.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/Scene.h"

using namespace tarv;
using namespace tarv::scene;

namespace {

void expectQuat(const Quaternion& got, const Quaternion& want, double tol = 1e-5) {
    EXPECT_NEAR(got.w, want.w, tol);
    EXPECT_NEAR(got.x, want.x, tol);
    EXPECT_NEAR(got.y, want.y, tol);
    EXPECT_NEAR(got.z, want.z, tol);
}

void expectSameLocal(const FramePtr& a, const FramePtr& b) {
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) EXPECT_NEAR(a->localTransform().m[i][j], b->localTransform().m[i][j], 1e-5);
    EXPECT_NEAR(a->localTransform().t.x, b->localTransform().t.x, 1e-5);
}

// The spin: half turns about x and back, one key a second from 0 to 8.
std::shared_ptr<Interpolator> spin(const FramePtr& reference) {
    const Quaternion q0{0, 1, 0, 0}, q1{1, 0, 0, 0}, q2{0, -1, 0, 0};
    auto in = createInterpolator();
    const Quaternion keys[] = {q0, q1, q2, q1, q0, q1, q2, q1, q0};
    for (int t = 0; t <= 8; ++t) {
        in->setIndex(t);
        in->setQuaternion(reference, keys[t]);
    }
    in->setIndex(0);
    return in;
}

}  // namespace

TEST(Interpolators, ClosedLinearSpinWrapsOverTheKeys) {
    auto root = createSceneRoot();
    auto parent = createFrame(root);
    parent->addRotation(kCombineBefore, 0, 0, 1, 0.4);
    auto a = createFrame(parent), b = createFrame(parent);
    auto in = spin(parent);
    in->attachObject(a);
    in->attachObject(a);
    in->attachObject(b);
    EXPECT_EQ(in->attachedObjects().size(), 2u);

    in->interpolate(8.5, kInterpolationClosed | kInterpolationLinear);
    auto atHalf = createFrame(parent);
    auto other = spin(parent);
    other->attachObject(atHalf);
    other->interpolate(0.5, 6);
    expectSameLocal(a, atHalf);
    expectSameLocal(b, atHalf);

    // Half-way from (0, 1, 0, 0) to (1, 0, 0, 0): a quarter turn about x (the dot product is 0: no flip).
    Quaternion q;
    Interpolator::Sample s;
    ASSERT_TRUE(in->orientationAt(0.5, 6, q, s));
    const float h = float(std::sqrt(0.5));
    expectQuat(q, {h, h, 0, 0});
    EXPECT_EQ(s.reference, parent);
    ASSERT_TRUE(in->orientationAt(17.25, 6, q, s));  // 17.25 wraps to 1.25
    Quaternion q125;
    in->orientationAt(1.25, 6, q125, s);
    expectQuat(q, q125);
}

TEST(Interpolators, OpenPlayClampsToTheKeys) {
    auto in = createInterpolator();
    in->setIndex(2);
    in->setPosition(nullptr, 10, 0, 0);
    in->setIndex(4);
    in->setPosition(nullptr, 20, 40, 0);
    struct Case {
        double time;
        Vector3 want;
    };
    for (const Case c : {Case{-5, {10, 0, 0}}, Case{2, {10, 0, 0}}, Case{3, {15, 20, 0}}, Case{4, {20, 40, 0}},
                         Case{99, {20, 40, 0}}}) {
        Vector3 p;
        Interpolator::Sample s;
        ASSERT_TRUE(in->positionAt(c.time, kInterpolationLinear, p, s));
        EXPECT_EQ(p, c.want) << c.time;
    }
    Quaternion q;
    Interpolator::Sample s;
    EXPECT_FALSE(in->orientationAt(3, 4, q, s));  // no orientation keys: that channel leaves frames alone

    auto root = createSceneRoot();
    auto f = createFrame(root);
    f->addRotation(kCombineBefore, 1, 0, 0, 0.5);
    const auto rotation = f->localTransform().m;
    in->attachObject(f);
    in->interpolate(3, kInterpolationLinear);
    EXPECT_FLOAT_EQ(f->getPosition(nullptr).y, 20);
    EXPECT_EQ(f->localTransform().m, rotation);
}

TEST(Interpolators, SlerpTakesTheShorterArc) {
    const float h = float(std::sqrt(0.5));
    // (-h, 0, 0, -h) is the quarter turn about z written negated; its dot product with no turn is negative, so
    // it is negated and half-way is an eighth turn, not the long way round.
    const double c = std::cos(M_PI / 8), s = std::sin(M_PI / 8);
    expectQuat(slerp({1, 0, 0, 0}, {-h, 0, 0, -h}, 0.5), {float(c), 0, 0, float(s)});
    // A positive dot product: straight on.
    const Quaternion mid = slerp({1, 0, 0, 0}, {0, 0, 0, 1}, 0.5);
    expectQuat(mid, {h, 0, 0, h});
}

TEST(Interpolators, AKeyAtAnIndexAlreadyPresentReplacesIt) {
    auto in = createInterpolator();
    in->setIndex(1);
    in->setPosition(nullptr, 1, 1, 1);
    in->setQuaternion(nullptr, {1, 0, 0, 0});
    in->setPosition(nullptr, 2, 2, 2);
    in->setIndex(3);
    in->setQuaternion(nullptr, {0, 1, 0, 0});
    EXPECT_EQ(in->positionKeyCount(), 1u);
    EXPECT_EQ(in->orientationKeyCount(), 2u);
    Vector3 p;
    Interpolator::Sample s;
    in->positionAt(1, 4, p, s);
    EXPECT_EQ(p, (Vector3{2, 2, 2}));
}

TEST(Interpolators, WithoutLinearAFrameTakesTheKeyAtOrBefore) {
    auto in = createInterpolator();
    in->setIndex(0);
    in->setPosition(nullptr, 0, 0, 0);
    in->setIndex(1);
    in->setPosition(nullptr, 10, 0, 0);
    Vector3 p;
    Interpolator::Sample s;
    in->positionAt(0.9, 0, p, s);
    EXPECT_EQ(p.x, 0);
}
