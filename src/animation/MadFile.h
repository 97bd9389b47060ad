#pragma once
// The .mad animation file, read and written in the games' own form: a 40-byte header, 16-byte animation
// entries, 48-byte object entries, the key arrays of each track (Time, TCB, X, Y, Z, H, P, B) and the string
// block last. Little-endian; offsets count from the start of the file.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>
#include <unordered_map>

namespace tarv {

class EditingContext;

// Reads the .mad at path into the context's animations and tracks and links every model object (deleted
// ones included) whose name equals a track's name exactly. The log box is emptied first; a missing file
// then changes nothing else. The whole file is checked before anything is applied: a damaged file shows
// the error report and leaves the model as it was. With clearLinksFirst every object's link is cleared once
// the file was accepted, so afterwards only the objects the file names are animated.
void getMadInfo(EditingContext& ctx, const std::filesystem::path& path, bool clearLinksFirst = false);

// Writes the animations and the key tracks to path, whole or not at all. Nothing is written (and that counts
// as success) when no live model object is linked to a track or the linked tracks hold no keys. Writing
// rewrites every written track's opening and closing key in memory. Returns false when the error report
// was shown (the limits: 32767 keys over the linked objects, 682 tracks, 32 animations; or a failed write); the old file
// then keeps its content.
bool exportMad(EditingContext& ctx, const std::filesystem::path& path);
// The bytes exportMad would write to path, with its log lines; nullopt when there is nothing to write.
// Throws a RunTimeError at the limits.
std::optional<std::vector<uint8_t>> buildMadFile(EditingContext& ctx, const std::filesystem::path& path);

// The .mad's header identifier: the games' own.
inline constexpr char kMadIdentifier[8] = {'M', 'e', 'l', 'l', 'o', 'n', 'n', '\0'};
inline constexpr int kMadHeaderSize = 40;
inline constexpr int kMadAnimationEntrySize = 16;
inline constexpr int kMadObjectEntrySize = 48;
inline constexpr int kMadBytesPerKey = 40;
// The writer's limits.
inline constexpr int kMadMaxKeyTotal = 32767;
inline constexpr int kMadMaxTracks = 682;

// The string block of a .mad: names, each followed by one zero byte. A name's offset is that of the first
// entry whose whole text equals it (found through a map, so building a block stays linear).
class MadStringBlock {
public:
    void add(const std::string& name);
    bool contains(const std::string& name) const { return firstOffset_.count(name) != 0; }
    // The offset of the first entry equal to name, or -1 when none is.
    int64_t offsetOf(const std::string& name) const;
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
    std::unordered_map<std::string, int64_t> firstOffset_;
};

// The literal scan of a block for the first entry whose whole text equals name; -1 when none.
int64_t firstWholeNameOffset(const std::string& block, const std::string& name);

}  // namespace tarv
