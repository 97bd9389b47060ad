// The thumbnail grid filled as a model load fills it: 1,000 Add calls with pictures handed in, then one
// resize, on the offscreen platform. Each Add lays out the whole grid again (hiding every element and
// placing the visible ones), so the fill grows with the square of the count. Its floor in the same run:
// the same 1,000 picture and caption labels made, given their pictures and placed once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <memory>
#include <string>
#include <vector>

#include "OffscreenMain.h"
#include "base/Image.h"
#include "materials/ThumbLayout.h"
#include "materials/ui/ThumbNail.h"

namespace {

using namespace tarv;

constexpr int kThumbs = 1000;

Image picture(int i) { return Image(64, 64, Rgba{uint8_t(i), uint8_t(i * 7), uint8_t(i * 13), 255}); }

void BM_ThumbNailAddThenResize(benchmark::State& state) {
    const int count = int(state.range(0));
    std::vector<Image> pictures;
    for (int i = 0; i < count; ++i) pictures.push_back(picture(i));
    for (auto _ : state) {
        auto grid = std::make_unique<ThumbNail>();
        grid->resize(3855 / kTwipsPerPixel, 4455 / kTwipsPerPixel);
        grid->show();
        for (int i = 0; i < count; ++i) {
            std::string name = "C:\\ships\\tex" + std::to_string(i) + ".bmp";
            grid->Add(name, true, &pictures[size_t(i)]);
        }
        grid->resize(3855 / kTwipsPerPixel, 2 * 4455 / kTwipsPerPixel);
        benchmark::DoNotOptimize(grid->Count());
    }
    state.counters["thumbnails"] = count;
}
BENCHMARK(BM_ThumbNailAddThenResize)->Arg(100)->Arg(kThumbs)->Unit(benchmark::kMillisecond)->MinTime(2);

// The floor: as many picture and caption labels, each given its picture and text and placed once.
void BM_LabelsPlacedOnceFloor(benchmark::State& state) {
    const int count = int(state.range(0));
    std::vector<Image> pictures;
    for (int i = 0; i < count; ++i) pictures.push_back(picture(i));
    for (auto _ : state) {
        auto parent = std::make_unique<QWidget>();
        parent->resize(3855 / kTwipsPerPixel, 4455 / kTwipsPerPixel);
        parent->show();
        for (int i = 0; i < count; ++i) {
            const Image& p = pictures[size_t(i)];
            QImage q(reinterpret_cast<const uchar*>(p.pixels.data()), p.width, p.height, QImage::Format_RGBA8888);
            auto* pic = new QLabel(parent.get());
            pic->setScaledContents(true);
            pic->setFixedSize(66, 66);
            pic->setPixmap(QPixmap::fromImage(q));
            pic->move((i % 3) * 73 + 8, (i / 3) * 81 + 16);
            auto* caption = new QLabel(QString("tex%1").arg(i), parent.get());
            caption->move((i % 3) * 73 + 8, (i / 3) * 81 + 81);
            if (i < 9) {
                pic->show();
                caption->show();
            }
        }
        benchmark::DoNotOptimize(parent->children().size());
    }
    state.counters["thumbnails"] = count;
}
BENCHMARK(BM_LabelsPlacedOnceFloor)->Arg(100)->Arg(kThumbs)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) { return tarv::bench::runWidgetBenchmarks(argc, argv); }
