#pragma once
// The thumbnail grid control ("TARV.ThumbNail"): a titled frame of small pictures with captions under
// them, a vertical scroll bar of one row per step, click selection, double-click and in-place caption
// editing. Its behaviour is ThumbGrid's; the widget places and shows its elements from it.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollBar>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "base/Image.h"
#include "materials/ThumbGrid.h"

namespace tarv {

class PictureLoader;

// The picture of an RGBA image (an empty image gives an empty pixmap).
QPixmap pixmapOf(const Image& image);

class ThumbNail : public QWidget {
    Q_OBJECT
public:
    // Without a loader, a thumbnail without a picture handed in is blank.
    explicit ThumbNail(PictureLoader* loader = nullptr, QWidget* parent = nullptr);

    int Count() const { return grid_.Count(); }
    QString Caption() const;
    void setCaption(const QVariant& newText);
    bool Locked() const { return grid_.Locked; }
    void setLocked(bool newLock) { grid_.Locked = newLock; }

    // Appends a thumbnail of filename; with isLifFile, filename becomes the texture's .lif name. A picture
    // handed in is shown as is; otherwise the file is drawn, and a file that cannot be drawn is blank.
    void Add(std::string& filename, bool isLifFile = false, const Image* picture = nullptr);
    // Lets pending events run after each Add: the window's spaced event pump when its owner sets one, the
    // application's event loop otherwise.
    std::function<void()> pumpEvents;
    void Redraw();
    // Accepted and does nothing.
    void Remove(int) {}
    void Clear();
    // Gives thumbnail i another caption than its file name gives (a texture named as the model names it).
    void setThumbCaption(int i, const std::string& text);

    const ThumbGrid& grid() const { return grid_; }
    // The grid's design size: 3855 x 4455 twips, three columns of three rows.
    QSize sizeHint() const override;

    QGroupBox* Frame1;
    QScrollBar* VScroll1;
    std::vector<QLabel*> picThumbs;
    std::vector<QLabel*> lblThumbs;
    std::vector<QLineEdit*> txtThumbEdit;

signals:
    void Click();
    void DblClick();
    void CaptionEdited();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createElement(int i);
    void showColours();
    void showEditors();

    ThumbGrid grid_;
    PictureLoader* loader_;
    int colouredThumb_ = -1;  // the caption showing the selected colours
};

}  // namespace tarv
