#include "platform/qt/QtPictureLoader.h"

#include <QImage>
#include <QImageReader>
#include <QString>

namespace tarv {

std::optional<Image> QtPictureLoader::load(const std::filesystem::path& path) {
    QImageReader reader(QString::fromStdString(path.string()));
    reader.setDecideFormatFromContent(true);
    const QImage read = reader.read();
    if (read.isNull()) return std::nullopt;
    const QImage rgb = read.convertToFormat(QImage::Format_RGBX8888);
    Image image(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* row = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) image.at(x, y) = Rgba{row[4 * x], row[4 * x + 1], row[4 * x + 2], 255};
    }
    return image;
}

}  // namespace tarv
