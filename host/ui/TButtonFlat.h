#pragma once

#include <QKeySequence>
#include <QToolButton>

#include <functional>

namespace fai {

// A flat tool button: takes no focus (the focus stays in the box or grid being edited), shows
// its hint as tool tip, with the key that presses it from the keyboard when it has one, runs
// OnClick through the event guard.
class TButtonFlat : public QToolButton {
    Q_OBJECT
  public:
    explicit TButtonFlat(QWidget* parent = nullptr);

    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);
    // The key that does what the button does, shown beside the hint. Its shortcut is the
    // screen's (TBaseForm::MakeToolButton, a menu entry), since the screens of the document
    // area share one window.
    QKeySequence Key() const { return key_; }
    void SetKey(const QKeySequence& key);

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
