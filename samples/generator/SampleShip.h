#pragma once
// The sample ship "Tarvlet": every file of a small Homeworld ship set, written byte by byte by its own
// little-endian writer (not the editor's), so the files double as independent fixtures.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarv::samples {

// The files of the set: file name -> bytes. Names are in mixed letter case as games ship them.
std::map<std::string, std::vector<unsigned char>> sampleShipFiles();
// Writes every file of the set into folder (created when missing).
void writeSampleShip(const std::filesystem::path& folder);

// The name of the set's ship definition, the file the editor opens.
inline constexpr const char* kSampleShpName = "Tarvlet.shp";
inline constexpr const char* kSamplePeoName = "Tarvlet.peo";

}  // namespace tarv::samples
