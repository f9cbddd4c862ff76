#include "SearchBox.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace fai {
namespace {

class ListKeys : public QObject {
  public:
    ListKeys(QAbstractItemView* list, QObject* parent) : QObject(parent), list_(list) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QCoreApplication::sendEvent(list_, event);
                return true;
            default:
                return false;
        }
    }

  private:
    QAbstractItemView* list_;
};

}  // namespace

void MoveListFromSearchBox(QLineEdit* box, QAbstractItemView* list) {
    box->installEventFilter(new ListKeys(list, box));
}

}  // namespace fai
