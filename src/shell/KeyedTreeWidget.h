#pragma once
// A tree control that shows a KeyedTree and forwards what the user does, by node key. It never changes
// the model's structure or texts itself and never moves items: handlers decide, change the model and
// call sync(). Only the view state it owns (expanded nodes, the user's selection) goes back to the model.
#include <QTreeWidget>

#include <string>
#include <vector>

#include "base/KeyedTree.h"

namespace tarv {

class KeyedTreeWidget : public QTreeWidget {
    Q_OBJECT
public:
    explicit KeyedTreeWidget(QWidget* parent = nullptr);

    void bind(KeyedTree* model);
    KeyedTree* model() const { return model_; }
    // Shows the model as it is now (nothing happens when it has not changed). Raises no signals.
    void sync(bool force = false);

    QTreeWidgetItem* itemForKey(const std::string& key) const;
    static std::string keyOf(const QTreeWidgetItem* item);
    // Starts editing a node's text; the outcome comes as editCommitted or editCancelled.
    void startEditing(const std::string& key);
    // Starts a drag of the current node now, with image as the drag picture (none when it is null); for
    // trees whose handlers decide when a drag begins (setDragEnabled(false) stops the view's own start).
    // The view's own start uses it too, without a picture.
    void beginDrag(const QPixmap& image);
    // Whether pos (in the viewport) lies on a node's check box.
    bool isOnCheckBox(const QPoint& pos) const;

signals:
    void nodeMousePressed(const QString& key, Qt::MouseButton button, const QPoint& pos);
    void nodeMouseMoved(const QString& key, Qt::MouseButtons buttons, const QPoint& pos);
    void nodeMouseReleased(const QString& key, Qt::MouseButton button, const QPoint& pos);
    void nodeClicked(const QString& key);
    // The user ticked or unticked a node's check box.
    void nodeChecked(const QString& key, bool checked);
    void nodeDragOver(const QString& draggedKey, const QString& targetKey);
    void nodeDropped(const QString& draggedKey, const QString& targetKey);
    void editCommitted(const QString& key, const QString& newText);
    void editCancelled(const QString& key);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QString keyAt(const QPoint& pos) const;
    KeyedTree* model_ = nullptr;
    uint64_t shownRevision_ = ~uint64_t(0);
    std::vector<std::string> shownShape_;  // the shown nodes' keys, each followed by its parent's key
    bool syncing_ = false;
    QString editingKey_;
    bool editCommitted_ = false;
};

}  // namespace tarv
