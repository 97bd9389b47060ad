#pragma once
// Small helpers the pages share to show plain state in their controls without firing their own handlers
// more than needed: a list's items are set only where they differ.
#include <QBoxLayout>
#include <QAnyStringView>
#include <QComboBox>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <string>
#include <vector>

#include "base/FixedList.h"

namespace tarv {

// The page's layout, a vertical one made when it has none.
inline QLayout* pageLayout(QWidget* page) {
    if (!page->layout()) new QVBoxLayout(page);
    return page->layout();
}

// Adds w to the page's layout at position (the end when the layout is not a box).
inline void insertIntoPage(QWidget* page, int position, QWidget* w) {
    QLayout* layout = pageLayout(page);
    if (auto* box = qobject_cast<QBoxLayout*>(layout))
        box->insertWidget(position, w);
    else
        layout->addWidget(w);
}

// A new control of that object name, added to layout when one is given.
template <class W>
W* namedControl(const QString& name, QLayout* layout = nullptr) {
    auto* w = new W;
    w->setObjectName(name);
    if (layout) layout->addWidget(w);
    return w;
}

// True when the control shows exactly the string (names are bytes read as UTF-8, as fromStdString reads them).
inline bool showsText(const QString& shown, const std::string& text) {
    return QAnyStringView::equal(shown, QUtf8StringView(text.data(), qsizetype(text.size())));
}

namespace detail {
// The items showItems last gave a combo box, kept by a child of the box: a sync that changes nothing compares
// plain strings only, not the box's items one by one through its model.
struct ShownItems : QObject {
    std::vector<std::string> items;
};
inline std::vector<std::string>& lastShownItems(QComboBox* box) {
    static const QString kName = QStringLiteral("tarvShownItems");
    for (QObject* child : box->children())
        if (child->objectName() == kName) return static_cast<ShownItems*>(child)->items;
    auto* shown = new ShownItems;
    shown->setObjectName(kName);
    shown->setParent(box);
    return shown->items;
}
}  // namespace detail

// True when the box shows exactly these items. Only showItems changes a box's items.
inline bool showsItems(QComboBox* box, const std::vector<std::string>& items) {
    if (box->count() != int(items.size())) return false;
    if (detail::lastShownItems(box) == items) return true;
    for (int i = 0; i < box->count(); ++i)
        if (!showsText(box->itemText(i), items[size_t(i)])) return false;
    return true;
}

// The box shows the items with the one at index chosen (none when index is outside them).
inline void showItems(QComboBox* box, const std::vector<std::string>& items, int index) {
    std::vector<std::string>& shown = detail::lastShownItems(box);
    if (box->count() != int(items.size()) || shown != items) {
        // The items are compared in place: those already shown stay, only those that differ are set, the
        // rest added or removed.
        const int wanted = int(items.size());
        while (box->count() > wanted) box->removeItem(box->count() - 1);
        for (int i = 0; i < box->count(); ++i)
            if (!showsText(box->itemText(i), items[size_t(i)]))
                box->setItemText(i, QString::fromStdString(items[size_t(i)]));
        for (int i = box->count(); i < wanted; ++i) box->addItem(QString::fromStdString(items[size_t(i)]));
        shown = items;
    }
    if (index >= box->count()) index = -1;
    if (box->currentIndex() != index) box->setCurrentIndex(index);
}

inline void showItems(QComboBox* box, const FixedList& list) { showItems(box, list.items, list.listIndex); }

inline void showItems(QComboBox* box, const std::vector<std::string>& list) {
    showItems(box, list, box->currentIndex() < int(list.size()) ? box->currentIndex() : -1);
}

// A list widget's items are replaced as a whole when they differ, which also ends its selection: the
// rows chosen before belong to the items that went.
inline void showItems(QListWidget* box, const std::vector<std::string>& list) {
    bool same = box->count() == int(list.size());
    for (int i = 0; same && i < box->count(); ++i) same = showsText(box->item(i)->text(), list[size_t(i)]);
    if (same) return;
    box->clear();
    for (const std::string& s : list) box->addItem(QString::fromStdString(s));
}

}  // namespace tarv
