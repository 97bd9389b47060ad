#include "shell/KeyedTreeWidget.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace tarv {

namespace {
constexpr const char* kMime = "application/x-tarv-tree-key";
constexpr int kKeyRole = Qt::UserRole + 1;
}  // namespace

KeyedTreeWidget::KeyedTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);  // lines and plus/minus boxes to the root nodes, text without pictures
    setIconSize(QSize(0, 0));
    setIndentation(16);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Drags are ours: a drop reports the keys and moves nothing.
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);

    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (syncing_) return;
        emit nodeChecked(QString::fromStdString(keyOf(item)), item->checkState(0) == Qt::Checked);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        if (item) emit nodeClicked(QString::fromStdString(keyOf(item)));
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (auto* node = !syncing_ && model_ ? model_->find(keyOf(item)) : nullptr) node->expanded = true;
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (auto* node = !syncing_ && model_ ? model_->find(keyOf(item)) : nullptr) node->expanded = false;
    });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (syncing_ || !model_) return;
        std::string key = keyOf(current);
        // The view shows the new selection already; changes of the model it has not shown yet stay for the
        // next sync.
        const bool inStep = shownRevision_ == model_->revision();
        model_->setSelected(model_->find(key) ? key : std::string());
        if (inStep) shownRevision_ = model_->revision();
    });
}

void KeyedTreeWidget::bind(KeyedTree* model) {
    model_ = model;
    sync(true);
}

std::string KeyedTreeWidget::keyOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kKeyRole).toString().toStdString() : std::string();
}

QTreeWidgetItem* KeyedTreeWidget::itemForKey(const std::string& key) const {
    QString wanted = QString::fromStdString(key);
    for (QTreeWidgetItemIterator it(const_cast<KeyedTreeWidget*>(this)); *it; ++it)
        if ((*it)->data(0, kKeyRole).toString() == wanted) return *it;
    return nullptr;
}

void KeyedTreeWidget::sync(bool force) {
    if (!model_) {
        clear();
        shownShape_.clear();
        return;
    }
    if (!force && shownRevision_ == model_->revision()) return;
    QSignalBlocker blocker(this);
    syncing_ = true;
    // The nodes parents first, children in their order, with their parents' keys.
    std::vector<const KeyedTree::Node*> order;
    std::vector<std::string> shape;
    std::vector<const KeyedTree::Node*> stack;
    const std::vector<std::string> top = model_->topLevel();
    for (auto it = top.rbegin(); it != top.rend(); ++it) stack.push_back(model_->find(*it));
    while (!stack.empty()) {
        const KeyedTree::Node* node = stack.back();
        stack.pop_back();
        order.push_back(node);
        shape.push_back(node->key);
        shape.push_back(node->parent ? node->parent->key : std::string());
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) stack.push_back(*it);
    }
    // The same nodes under the same parents keep their items (an open editor or a click in progress stays
    // on its item); another shape builds the items again.
    std::unordered_map<std::string, QTreeWidgetItem*> items;
    if (shape == shownShape_) {
        for (QTreeWidgetItemIterator it(this); *it; ++it) items[keyOf(*it)] = *it;
    } else {
        clear();
        for (const KeyedTree::Node* node : order) {
            auto* item = new QTreeWidgetItem;
            item->setData(0, kKeyRole, QString::fromStdString(node->key));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled |
                           Qt::ItemIsDropEnabled | Qt::ItemIsEditable);
            item->setData(0, Qt::CheckStateRole, Qt::Unchecked);  // every node shows its check box
            if (node->parent)
                items.at(node->parent->key)->addChild(item);
            else
                addTopLevelItem(item);
            items[node->key] = item;
        }
        shownShape_ = shape;
    }
    QTreeWidgetItem* selected = nullptr;
    for (const KeyedTree::Node* node : order) {
        QTreeWidgetItem* item = items.at(node->key);
        const QString text = QString::fromStdString(node->text);
        if (item->text(0) != text) item->setText(0, text);
        const Qt::CheckState check = node->checked ? Qt::Checked : Qt::Unchecked;
        // A new item has no check state yet: an unticked one needs it set too, or it shows no box.
        if (!item->data(0, Qt::CheckStateRole).isValid() || item->checkState(0) != check) item->setCheckState(0, check);
        if (node->key == model_->dropHighlightKey())
            item->setBackground(0, palette().highlight().color().lighter(160));
        else if (item->background(0).style() != Qt::NoBrush)
            item->setBackground(0, QBrush());
        if (node->key == model_->selectedKey()) selected = item;
    }
    for (const KeyedTree::Node* node : order)
        if (items.at(node->key)->isExpanded() != node->expanded) items.at(node->key)->setExpanded(node->expanded);
    if (currentItem() != selected) {
        setCurrentItem(selected);
        if (selected) scrollToItem(selected);
    }
    syncing_ = false;
    shownRevision_ = model_->revision();
}

bool KeyedTreeWidget::isOnCheckBox(const QPoint& pos) const {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || !(index.flags() & Qt::ItemIsUserCheckable)) return false;
    // The box where the item's delegate draws it and takes its clicks.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.index = index;
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.checkState = index.data(Qt::CheckStateRole).value<Qt::CheckState>();
    option.text = index.data(Qt::DisplayRole).toString();
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this).contains(pos);
}

QString KeyedTreeWidget::keyAt(const QPoint& pos) const { return QString::fromStdString(keyOf(itemAt(pos))); }

void KeyedTreeWidget::mousePressEvent(QMouseEvent* event) {
    emit nodeMousePressed(keyAt(event->position().toPoint()), event->button(), event->position().toPoint());
    QTreeWidget::mousePressEvent(event);
}

void KeyedTreeWidget::mouseMoveEvent(QMouseEvent* event) {
    emit nodeMouseMoved(keyAt(event->position().toPoint()), event->buttons(), event->position().toPoint());
    QTreeWidget::mouseMoveEvent(event);
}

void KeyedTreeWidget::mouseReleaseEvent(QMouseEvent* event) {
    emit nodeMouseReleased(keyAt(event->position().toPoint()), event->button(), event->position().toPoint());
    QTreeWidget::mouseReleaseEvent(event);
}

void KeyedTreeWidget::startDrag(Qt::DropActions) { beginDrag(QPixmap()); }

void KeyedTreeWidget::beginDrag(const QPixmap& image) {
    QTreeWidgetItem* item = currentItem();
    if (!item) return;
    auto* mime = new QMimeData;
    mime->setData(kMime, QByteArray::fromStdString(keyOf(item)));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    if (!image.isNull()) drag->setPixmap(image);
    drag->exec(Qt::MoveAction);  // the items stay where they are whatever the drop did
}

void KeyedTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(kMime))
        event->acceptProposedAction();
    else
        event->ignore();
}

void KeyedTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(kMime)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit nodeDragOver(QString::fromUtf8(event->mimeData()->data(kMime)), keyAt(event->position().toPoint()));
}

void KeyedTreeWidget::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(kMime)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    emit nodeDropped(QString::fromUtf8(event->mimeData()->data(kMime)), keyAt(event->position().toPoint()));
}

void KeyedTreeWidget::startEditing(const std::string& key) {
    QTreeWidgetItem* item = itemForKey(key);
    if (!item) return;
    editingKey_ = QString::fromStdString(key);
    editCommitted_ = false;
    editItem(item, 0);
}

void KeyedTreeWidget::commitData(QWidget* editor) {
    // The new text goes to the handler; the item keeps the model's text until the model changes.
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line || editCommitted_) return;
    editCommitted_ = true;
    emit editCommitted(editingKey_, line->text());
}

void KeyedTreeWidget::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (hint == QAbstractItemDelegate::RevertModelCache && !editCommitted_) emit editCancelled(editingKey_);
    editCommitted_ = true;
    QTreeWidget::closeEditor(editor, hint);
}

}  // namespace tarv
