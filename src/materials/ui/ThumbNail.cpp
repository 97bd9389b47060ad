#include "materials/ui/ThumbNail.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QVariant>
#include <cstring>

#include "materials/LifReader.h"

namespace tarv {

QPixmap pixmapOf(const Image& image) {
    if (image.empty()) return {};
    QImage q(image.width, image.height, QImage::Format_RGBA8888);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(q.scanLine(y), &image.pixels[size_t(y) * size_t(image.width)], size_t(image.width) * 4);
    return QPixmap::fromImage(q);
}

namespace {

int px(int twips) { return twips / kTwipsPerPixel; }

QRect pxRect(const TwipRect& r) { return {px(r.left), px(r.top), px(r.width), px(r.height)}; }

// A caption's colours: button face and text, or highlight and highlighted text when selected.
void paint(QLabel* label, bool selected) {
    QPalette p = label->palette();
    const QPalette& system = QApplication::palette();
    p.setColor(QPalette::Window, system.color(selected ? QPalette::Highlight : QPalette::Button));
    p.setColor(QPalette::WindowText, system.color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
    label->setPalette(p);
}

}  // namespace

ThumbNail::ThumbNail(PictureLoader* loader, QWidget* parent) : QWidget(parent), loader_(loader) {
    setObjectName("ctlThumbs");
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Frame1->setTitle(QString::fromStdString(grid_.Caption));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName("VScroll1");
    VScroll1->setEnabled(false);
    VScroll1->setRange(0, 0);
    VScroll1->setPageStep(1);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        grid_.setScrollPosition(value);
        Redraw();
    });
    createElement(0);
}

void ThumbNail::createElement(int i) {
    const QString suffix = "_" + QString::number(i);
    auto* pic = new QLabel(this);
    pic->setObjectName("picThumbs" + suffix);
    pic->setScaledContents(true);
    pic->setFixedSize(px(kThumbPictureSide), px(kThumbPictureSide));
    pic->installEventFilter(this);
    pic->hide();
    auto* caption = new QLabel(this);
    caption->setObjectName("lblThumbs" + suffix);
    caption->setAlignment(Qt::AlignCenter);
    caption->setAutoFillBackground(true);
    paint(caption, false);
    caption->setFixedSize(px(kThumbCaptionWidth), px(kThumbCaptionHeight));
    caption->installEventFilter(this);
    caption->hide();
    auto* edit = new QLineEdit(this);
    edit->setObjectName("txtThumbEdit" + suffix);
    edit->setFixedSize(px(kThumbEditWidth), px(kThumbEditHeight));
    edit->installEventFilter(this);
    edit->hide();
    connect(edit, &QLineEdit::textEdited, this,
            [this, i](const QString& text) { grid_.setEditText(i, text.toStdString()); });
    picThumbs.push_back(pic);
    lblThumbs.push_back(caption);
    txtThumbEdit.push_back(edit);
}

QSize ThumbNail::sizeHint() const { return {px(3855), px(4455)}; }

QString ThumbNail::Caption() const { return Frame1->title(); }

void ThumbNail::setCaption(const QVariant& newText) {
    grid_.Caption = newText.toString().toStdString();
    Frame1->setTitle(newText.toString());
}

void ThumbNail::Add(std::string& filename, bool isLifFile, const Image* picture) {
    const int n = grid_.Count();
    Image shown;
    if (picture) {
        shown = *picture;
    } else if (loader_) {
        if (auto loaded = loadThumbImage(filename, *loader_)) shown = std::move(*loaded);
    }
    grid_.Add(filename, isLifFile);
    if (n > 0) createElement(n);
    const ThumbElement& e = grid_.elements()[size_t(n)];
    lblThumbs[size_t(n)]->setText(QString::fromStdString(e.caption));
    txtThumbEdit[size_t(n)]->setText(QString::fromStdString(e.editText));
    picThumbs[size_t(n)]->setPixmap(pixmapOf(shown));
    picThumbs[size_t(n)]->setToolTip(QString::fromStdString(e.path));
    VScroll1->setMaximum(grid_.scrollMaximum());
    VScroll1->setEnabled(grid_.scrollEnabled());
    if (pumpEvents)
        pumpEvents();
    else
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Redraw();
}

void ThumbNail::setThumbCaption(int i, const std::string& text) {
    grid_.setCaptionText(i, text);
    lblThumbs.at(size_t(i))->setText(QString::fromStdString(text));
    txtThumbEdit.at(size_t(i))->setText(QString::fromStdString(text));
}

void ThumbNail::Redraw() {
    // Only what changes is touched: an element already in its place and state stays as it is, so filling the
    // grid does not hide and show every element at each Add.
    const std::vector<ThumbPlacement> places = grid_.redraw();
    const auto place = [](QWidget* w, const QPoint& at) {
        if (w->pos() != at) w->move(at);
    };
    const auto show = [](QWidget* w, bool shown) {
        if (w->isHidden() == shown) w->setVisible(shown);
    };
    for (size_t i = 0; i < places.size(); ++i) {
        const bool shown = places[i].placed && places[i].visible;
        if (places[i].placed) {
            place(picThumbs[i], pxRect(places[i].picture).topLeft());
            place(lblThumbs[i], pxRect(places[i].caption).topLeft());
            place(txtThumbEdit[i], pxRect(places[i].editor).topLeft());
        }
        show(picThumbs[i], shown);
        show(lblThumbs[i], shown);
    }
}

void ThumbNail::Clear() {
    for (size_t i = picThumbs.size(); i-- > 1;) {
        delete picThumbs[i];
        delete lblThumbs[i];
        delete txtThumbEdit[i];
    }
    picThumbs.resize(1);
    lblThumbs.resize(1);
    txtThumbEdit.resize(1);
    picThumbs[0]->hide();
    lblThumbs[0]->hide();
    txtThumbEdit[0]->hide();
    grid_.Clear();
    VScroll1->setEnabled(false);
    showColours();
}

void ThumbNail::showColours() {
    // Only the caption that was selected and the one that is now change colours.
    const int selected = grid_.selectedThumb();
    if (colouredThumb_ != selected && colouredThumb_ >= 0 && colouredThumb_ < int(lblThumbs.size()))
        paint(lblThumbs[size_t(colouredThumb_)], false);
    if (selected >= 0 && selected < int(lblThumbs.size())) paint(lblThumbs[size_t(selected)], true);
    colouredThumb_ = selected;
}

void ThumbNail::showEditors() {
    for (size_t i = 0; i < txtThumbEdit.size(); ++i) {
        const ThumbElement& e = grid_.elements()[i];
        txtThumbEdit[i]->setVisible(e.editorVisible);
        lblThumbs[i]->setText(QString::fromStdString(e.caption));
    }
}

void ThumbNail::resizeEvent(QResizeEvent*) {
    grid_.resize(width() * kTwipsPerPixel, height() * kTwipsPerPixel);
    const ThumbLayout& l = grid_.layout();
    Frame1->setGeometry(pxRect(l.frame));
    Frame1->setEnabled(l.frameEnabled);
    VScroll1->setGeometry(pxRect(l.scrollBar));
    Frame1->lower();
    Redraw();
}

bool ThumbNail::eventFilter(QObject* watched, QEvent* event) {
    const auto indexIn = [watched](const auto& list) {
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i] == watched) return int(i);
        return -1;
    };
    if (int i = indexIn(picThumbs); i >= 0) {
        if (event->type() == QEvent::MouseButtonPress) {
            grid_.pictureClick(i);
            showEditors();
            showColours();
            emit Click();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            emit DblClick();
            return true;
        }
    } else if (int i = indexIn(lblThumbs); i >= 0) {
        if (event->type() == QEvent::MouseButtonPress) {
            grid_.captionClick(i);
            showEditors();
            showColours();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (grid_.captionDoubleClick(i)) {
                showEditors();
                txtThumbEdit[size_t(i)]->setFocus();
            }
            return true;
        }
    } else if (int i = indexIn(txtThumbEdit); i >= 0) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                grid_.setEditText(i, txtThumbEdit[size_t(i)]->text().toStdString());
                grid_.editorEnter(i);
                showEditors();
                emit CaptionEdited();
                return true;
            }
            if (key == Qt::Key_Escape) {
                grid_.editorClose(i);
                showEditors();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && txtThumbEdit[size_t(i)]->isVisible()) {
            grid_.editorClose(i);
            showEditors();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tarv
