#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace fai {

// Enter and exit events of a control or of a whole area (a panel, a group box): the focus
// entering or leaving the widget or any of its descendants within its window. Moving between
// windows (a message box, another screen's window, another child window of the document
// area) is not an exit, so that an area is left only when the focus really goes elsewhere in
// the same screen.
//
// Handlers run through the event guard. An exit handler that fails abandons the move: the
// focus goes back to where it was, its text selected to be typed over, unless the handler put
// it somewhere itself (on the box it complains about). Nested areas are left innermost first
// and entered outermost first.
class FocusScope : public QObject {
    Q_OBJECT
  public:
    explicit FocusScope(QWidget* area);
    ~FocusScope() override;

    QWidget* Area() const { return area_; }
    bool Contains(const QWidget* widget) const;

    std::function<void()> OnEnter;
    std::function<void()> OnExit;

  private:
    QPointer<QWidget> area_;
};

}  // namespace fai
