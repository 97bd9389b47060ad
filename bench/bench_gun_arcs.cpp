// Building the firing arcs of a whole ship: every gun gets a full cut-out (360 x 180 degrees, 2,596 faces)
// and a wedge, as a load or an Apply on every gun would. Time should grow linearly with the guns.
#include <benchmark/benchmark.h>

#include <string>

#include "model/ModelHelpers.h"
#include "attachments/GunArcs.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

using namespace tarv;

namespace {

struct SyntheticShip {
    EditingContext ctx;
    scene::FramePtr objectZeroFrame = scene::createFrame(scene::createSceneRoot());

    explicit SyntheticShip(int guns) {
        ctx.model.modelExtent = 40.0;
        PeoObject root;
        root.name = "Root";
        root.maxZ = 20.0f;
        root.matrix = Matrix4::identity();
        ctx.model.peoObjects.push_back(root);
        ctx.shp.shpGuns.clear();
        for (int g = 0; g < guns; ++g) {
            PeoObject turret;
            turret.name = "Turret" + std::to_string(g);
            turret.mother = 1;
            turret.matrix = eulerToMatrix({0.01f * float(g % 7), 0.02f * float(g % 5), 0.03f * float(g % 3)});
            ctx.model.peoObjects.push_back(turret);
            ShpGun gun;
            gun.gunType = 2;
            gun.azimuthJoint = gun.declinationJoint = turret.name;
            gun.minTurnAngle = -180;
            gun.maxTurnAngle = 180;
            gun.minDeclination = -90;
            gun.maxDeclination = 90;
            ctx.shp.shpGuns.push_back(gun);
        }
        ctx.shp.shpGuns.push_back(ShpGun{});
        ctx.shp.shpGunCount = int16_t(guns);
    }

    ViewObject marker() {
        ViewObject v;
        v.mesh = scene::createMeshBuilder();
        v.frame = scene::createFrame(objectZeroFrame);
        return v;
    }
};

void BM_ShipGunArcs(benchmark::State& state) {
    const int guns = int(state.range(0));
    SyntheticShip ship(guns);
    const GunArcChunk chunk{{1, 2, 3}, "Gun"};
    size_t faces = 0;
    for (auto _ : state) {
        faces = 0;
        for (int g = 0; g < guns; ++g) {
            ViewObject cutOut = ship.marker(), wedge = ship.marker();
            createSphereCutOut(ship.ctx, int16_t(g), chunk, cutOut);
            createPieceOfCake(ship.ctx, int16_t(g), chunk, wedge);
            faces += cutOut.mesh->faceCount() + wedge.mesh->faceCount();
        }
        benchmark::DoNotOptimize(faces);
    }
    state.counters["faces"] = double(faces);
    state.SetComplexityN(int64_t(faces));
}
BENCHMARK(BM_ShipGunArcs)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The pure steps alone (angles, counts, corners, triangles), without the scene's faces: the share of the
// time above that is the builders' own.
void BM_ShipGunArcGeometryOnly(benchmark::State& state) {
    const int guns = int(state.range(0));
    const GunArcAngles angles = gunArcAngles({-180, 180, -90, 90});
    size_t faces = 0;
    for (auto _ : state) {
        faces = 0;
        for (int g = 0; g < guns; ++g) {
            faces += cutOutTriangles(angles, gunArcSteps(angles, GunArcShape::CutOut), 30.0f).size();
            faces += wedgeGeometry(angles, gunArcSteps(angles, GunArcShape::Wedge), 26.0f).triangles.size();
        }
        benchmark::DoNotOptimize(faces);
    }
    state.counters["faces"] = double(faces);
}
BENCHMARK(BM_ShipGunArcGeometryOnly)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
