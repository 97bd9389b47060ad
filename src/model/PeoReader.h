#pragma once
// Reading a .peo file (both variants) into the model of the context, in two steps. parsePeoFile decodes the
// bytes into a PeoFileContents and checks every count, offset and name against the file, so a damaged file
// ends in a RunTimeError, never in a crash or a huge allocation; it touches no context. readPeoFile reads
// the file whole, parses it and applies the contents to the model with their log lines, status texts and
// the shared-object questions.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/BinaryReader.h"
#include "base/RunTimeError.h"
#include "model/state/PeoLayout.h"

namespace tarv {

class EditingContext;

// The material list the header chooses (the public one, or the local one when there are no public
// materials). A fault of the list does not refuse the file: the entries before it stay, the objects are
// read on, and the reader reports the fault as the material list's own.
struct PeoMaterialList {
    int32_t count = 0;  // as the header gives it
    int32_t offset = 0;
    std::vector<peo::PeoMaterialEntry> entries;
    // One per entry; one fewer when the texture name of the last entry is the fault.
    std::vector<std::string> textureNames;
    std::optional<RunTimeError> fault;
};

// One object record with its name and its lists. A list is absent when the parse stopped at it (and so are
// the lists after it).
struct PeoObjectContents {
    peo::PeoObjectRecord record;
    std::string name;
    std::optional<std::vector<peo::PeoVertexEntry>> vertices;
    std::optional<std::vector<peo::PeoNormalEntry>> faceNormals;
    std::optional<std::vector<peo::PeoNormalEntry>> vertexNormals;  // they follow the face normals
    std::optional<std::vector<peo::PeoPolygonEntry>> polygons;
};

struct PeoFileContents {
    std::optional<peo::PeoHeader> header;  // absent when the file is shorter than its header
    bool cataclysm = false;                // the record layout the objects are read with
    // The counts fit 16 bits, the file holds objects, and their records lie inside it.
    bool objectsFit = false;
    int16_t objectCount = 0;
    int16_t publicMaterialCount = 0;
    int16_t localMaterialCount = 0;
    PeoMaterialList materials;
    std::vector<PeoObjectContents> objects;  // in file order; fewer than objectCount after a fault
    // The first name the end of the file cut before its terminating zero, as read ("object name \"Hu\""); empty
    // when every name read is whole.
    std::string cutName;
};

// Parses the whole file into contents. A file of an unknown version is read with the record layout of
// previousVersion. A file without objects or a damaged one throws a RunTimeError; contents then holds all
// that was read before the fault.
void parsePeoFile(const BinaryReader& reader, int32_t previousVersion, PeoFileContents& contents);
PeoFileContents parsePeoFile(const BinaryReader& reader, int32_t previousVersion = 0);

// Replaces the model's objects, materials, textures and counts with the file's contents. A missing file,
// a file without objects and a damaged file throw after the log lines and questions of what came before
// the fault (the model is then left empty); the material list traps its own errors.
void readPeoFile(EditingContext& ctx, const std::string& path);

// The material list of count entries at offset. Traps its own errors (error report, then the materials
// read so far stay). Always returns 0.
int16_t getMaterials(EditingContext& ctx, const BinaryReader& reader, int32_t count, int32_t offset);

// The lists of one object record, parsed as the file reader parses them (k names the object in messages):
// throws a RunTimeError for a list outside the file, a negative polygon count or more than 32768 vertices.
void parseObjectLists(const BinaryReader& reader, int k, PeoObjectContents& object);
// The parsed lists of one object into model object objectIndex through the reader's own list loaders, with
// their log lines and progress (the counts must be set on the object before).
void applyObjectLists(EditingContext& ctx, const PeoObjectContents& contents, int objectIndex);

// Widens the object's minimum and maximum on each axis to include the vertex.
void updateBoundingBox(EditingContext& ctx, int objectIndex, int vertexIndex);
// The object's minimum and maximum on each axis from its vertex list as it stands: the first vertex sets
// both, each further one widens them; no vertices gives 0 on every axis. For objects whose vertices were
// made or changed in memory (copies, the object dialogs) before calcObjectDimensions.
void recomputeExtents(PeoObject& object);
// Sets the object's sizes (1000 on all axes when one axis is flat), raises modelExtent and logs the sizes.
void calcObjectDimensions(EditingContext& ctx, int objectIndex);

}  // namespace tarv
