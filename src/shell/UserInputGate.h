#pragma once
// Holds back the user's input to one window while an operation runs, and hands it over afterwards in its
// order: the operation's own event pumps (repaints) never run a second command on the same model.
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace tarv {

class UserInputGate : public QObject {
    Q_OBJECT
public:
    explicit UserInputGate(QWidget* window);
    ~UserInputGate() override;
    // From now on input for the window is kept, not delivered.
    void hold();
    // Stops holding and posts what was kept to its receivers again.
    void release();
    bool holding() const { return holding_; }
    size_t heldCount() const { return held_.size(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    bool holding_ = false;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

}  // namespace tarv
