#pragma once

#include <QKeySequence>
#include <QToolButton>

#include <functional>

namespace fai {

// A flat tool button: takes no focus (the focus stays in the box or grid being edited), shows
// its hint as tool tip, with the key that does the same beside it when it has one, runs
// OnClick through the event guard.
class TButtonFlat : public QToolButton {
    Q_OBJECT
  public:
    explicit TButtonFlat(QWidget* parent = nullptr);

    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);
    // The key of the menu entry that does what the button does, shown in the tool tip.
    void SetShortcut(const QKeySequence& key);

    // Runs OnClick when the button is enabled, as a click of the user does; the handler's
    // failure is shown and stops there. Returns true when the handler completed.
    bool Click();

    std::function<void()> OnClick;

  private:
    void ShowHint();

    QString hint_;
    QKeySequence key_;
};

}  // namespace fai
