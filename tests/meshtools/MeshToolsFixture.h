#pragma once
// Small models for the mesh tools' tests, built from tables, and prompts that answer Yes/No from a list
// and record every box.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "Fakes.h"
#include "TempDir.h"
#include "editor/context/EditingContext.h"
#include "model/state/ShipModel.h"
#include "objects/ObjectLinks.h"

namespace tarv::test {

struct ShownBox {
    std::string kind, text, caption;
    PromptIcon icon = PromptIcon::None;
    friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

class AnsweringPrompts : public DecliningPrompts {
public:
    void messageBox(const std::string& text, const std::string& caption, PromptIcon icon) override {
        shown.push_back({"message", text, caption, icon});
    }
    bool yesNo(const std::string& text, const std::string& caption, PromptIcon icon) override {
        shown.push_back({"yesNo", text, caption, icon});
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const ShownBox& box : shown)
            if (box.kind == "message") texts.push_back(box.text);
        return texts;
    }
    std::deque<bool> answers;
    std::vector<ShownBox> shown;
};

struct V {
    float x, y, z;
};
struct P {
    int32_t a, b, c, material = 0;
};

inline PeoObject makeObject(const std::string& name, const std::vector<V>& vertices, const std::vector<P>& polygons) {
    PeoObject o;
    o.name = name;
    o.matrix = Matrix4::identity();
    for (size_t i = 0; i < vertices.size(); ++i)
        o.vertices.push_back(PeoVertex{vertices[i].x, vertices[i].y, vertices[i].z, int32_t(i), 0});
    for (const P& p : polygons) {
        PeoPolygon polygon;
        polygon.v0 = p.a, polygon.v1 = p.b, polygon.v2 = p.c, polygon.material = p.material;
        polygon.faceNormal = 7;
        polygon.flags = 0x1000;
        polygon.reserved = 0x1234;
        polygon.s0 = 0.25f, polygon.t2 = 0.75f;
        o.polygons.push_back(polygon);
    }
    o.nVertices = int32_t(o.vertices.size());
    o.nPolygons = int32_t(o.polygons.size());
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    for (size_t i = 0; i < vertices.size(); ++i) {
        const float c[3] = {vertices[i].x, vertices[i].y, vertices[i].z};
        for (int a = 0; a < 3; ++a) {
            if (i == 0 || c[a] < lo[a]) lo[a] = c[a];
            if (i == 0 || c[a] > hi[a]) hi[a] = c[a];
        }
    }
    o.minX = lo[0], o.minY = lo[1], o.minZ = lo[2], o.maxX = hi[0], o.maxY = hi[1], o.maxZ = hi[2];
    return o;
}

struct MeshToolsFixture : ::testing::Test {
    TempDir dir;
    TestContext t{dir.path()};
    AnsweringPrompts prompts;
    EditingContext& ctx = t.ctx;
    ShipModel& model = t.ctx.model;

    MeshToolsFixture() {
        ctx.services.prompts = &prompts;
        ctx.version.appTitle = "TARV";
        ctx.prefs.logLevel = 0;
    }
    // An empty model and tree.
    void fresh() {
        model = ShipModel{};
        ctx.shell.treeHeirachy.clear();
    }
    // n materials, material m on texture "tex" & m; twoSided as listed.
    void materials(int n, std::vector<int> twoSided = {}) {
        model.materials.assign(size_t(n), PeoMaterial{});
        model.textures.clear();
        for (int m = 0; m < n; ++m) {
            model.materials[size_t(m)].texture = int16_t(m);
            model.textures.push_back(PeoTexture{"tex" + std::to_string(m), false});
        }
        for (int m : twoSided) model.materials[size_t(m)].twoSided = true;
    }
    // Adds an object with a tree node "o" & index under parentKey (top level when empty).
    int add(PeoObject object, const std::string& parentKey = "") {
        const int index = model.objectCount();
        if (parentKey.empty())
            ctx.shell.treeHeirachy.addTopLevel(objectKey(index), object.name);
        else
            ctx.shell.treeHeirachy.addChild(parentKey, objectKey(index), object.name);
        model.peoObjects.push_back(std::move(object));
        return index;
    }
};

}  // namespace tarv::test
