#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace tarv {

bool QtClipboard::setImage(const Image& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || picture.empty()) return false;
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            const Rgba& p = picture.at(x, y);
            line[x] = qRgb(p.r, p.g, p.b);
        }
    }
    clipboard->clear();
    clipboard->setImage(image);
    return !clipboard->image().isNull();
}

}  // namespace tarv
