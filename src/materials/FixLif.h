#pragma once
// Fix Lif: a .lif rewritten into the standard layout (48-byte header, one index byte per pixel, a palette
// of 256 entries and two team tables). A file of the standard length is copied block by block; any other
// is converted from its base picture, reduced to at most 236 colours. The work on bytes is pure; the road
// fix3dexLif adds the files, the log, the message and the texture windows' state.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Image.h"
#include "materials/state/LifState.h"

namespace tarv {

class EditingContext;
class cDIBSection;

// One log line with its level.
struct FixLifLogLine {
    std::string message;
    int level = 1;
    friend bool operator==(const FixLifLogLine&, const FixLifLogLine&) = default;
};

// Why a run stops: the run-time error number and its description.
struct FixLifFailure {
    int number = 0;
    std::string reason;
};

// The header of a source and what it asks for: n = width x height and the case its length selects.
struct FixLifSource {
    LifHeader header;
    int64_t pixelCount = 0;
    int64_t length = 0;
    bool copyCase = false;     // length = n + 1584
    bool alphaSource = false;  // conversion of a file of length 4n + 48
};

// Reads the source's header; a failure for a file shorter than 48 bytes, a negative width or height, or
// n + 1584 beyond 2,147,483,647.
struct FixLifSourceOrFailure {
    std::optional<FixLifSource> source;
    FixLifFailure failure;
};
FixLifSourceOrFailure inspectLifForFix(std::span<const uint8_t> bytes);

// The flags a fixed file gets: 0 becomes 50; a conversion also gets the palette bit and loses the alpha bit.
int32_t fixedLifFlags(int32_t flags, bool conversion);

// The pixel loop of a conversion: each pixel of the reduced picture, rows from the top, gets the first
// work-palette entry of its red, green and blue (alpha is not compared), or a new entry with the pixel's
// alpha. The alpha is 255, or with alphaSource the file byte at 48 + 4(k - 1) + 3 for pixel k. Entry 256
// is made but its pixels write 255; a 258th colour fails.
struct FixLifIndexing {
    std::vector<uint8_t> indices;
    std::array<std::array<uint8_t, 4>, 257> palette{};  // R, G, B, A
    int lastUsed = -1;
    std::vector<FixLifLogLine> log;
    std::optional<FixLifFailure> failure;
};
FixLifIndexing indexReducedPicture(const Image& reduced, std::span<const uint8_t> alphaSource);

// The picture as an 8-bit BMP with an optimal palette of 236 colours and 6 levels would hold it, decoded
// back pixel by pixel, with the DIB section it was reduced in. Nothing for a picture without pixels or a
// palette that cannot be made.
struct ReducedPicture {
    Image picture;
    std::shared_ptr<cDIBSection> dib;
};
std::optional<ReducedPicture> reduceLikeEightBitBmp(const Image& picture);

// A finished run: the new file, its header values, the log lines and, for a conversion, the reduced
// picture and its DIB section. On failure: the reason and the log lines written before it.
struct FixLifResult {
    std::vector<uint8_t> bytes;
    LifHeader header;  // the source's header with the new flags and offsets
    int64_t pixelCount = 0;
    bool conversion = false;
    std::vector<FixLifLogLine> log;
    std::optional<Image> reducedPicture;
    std::shared_ptr<cDIBSection> fixDib;
    std::optional<FixLifFailure> failure;
};

// The whole rewrite on bytes. basePicture is the source's base layer, needed only for a conversion
// (nothing there is a failure); it must be width x height.
FixLifResult fixLifBytes(std::span<const uint8_t> source, const Image* basePicture);

// Fix Lif on the file at path (traps its errors): the busy pointer, the source read whole, the rewrite,
// the source copied to path & ".old" and the new file written in its place, both atomically, the message
// "Fix Lif done!", the "Flags" column of the texture list's item for this file, the warning emptied and the
// header read again. A failure shows the error report and leaves the file as it was.
void fix3dexLif(EditingContext& ctx, const std::string& path);

}  // namespace tarv
