#pragma once
// Small helpers the pages share to show plain state in their controls without firing their own handlers
// more than needed: a list's items are replaced only when they differ.
#include <QBoxLayout>
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

inline void showItems(QComboBox* box, const FixedList& list) {
    QStringList items;
    for (const auto& s : list.items) items << QString::fromStdString(s);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(list.listIndex < box->count() ? list.listIndex : -1);
}

inline void showItems(QComboBox* box, const std::vector<std::string>& list) {
    FixedList fixed{list, box->currentIndex() < int(list.size()) ? box->currentIndex() : -1};
    showItems(box, fixed);
}

inline void showItems(QListWidget* box, const std::vector<std::string>& list) {
    QStringList items;
    for (const auto& s : list) items << QString::fromStdString(s);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown << box->item(i)->text();
    if (shown == items) return;
    box->clear();
    box->addItems(items);
}

}  // namespace tarv
