#pragma once

#include <QToolButton>

#include <functional>

namespace fai {

// A flat tool button: takes no focus (the focus stays in the box or grid being edited), shows
// its hint as tool tip, runs OnClick through the event guard.
class TButtonFlat : public QToolButton {
    Q_OBJECT
  public:
    explicit TButtonFlat(QWidget* parent = nullptr);

    QString Hint() const { return toolTip(); }
    void SetHint(const QString& hint);

    // Runs OnClick when the button is enabled, as a click of the user does; the handler's
    // failure is shown and stops there. Returns true when the handler completed.
    bool Click();

    std::function<void()> OnClick;
};

}  // namespace fai
