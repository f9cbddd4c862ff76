#pragma once

#include "TMessages.h"

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QSize>

#include <memory>
#include <utility>

class QLabel;
class QMdiArea;
class QVBoxLayout;

namespace fai {

class TButtonFlat;
class TDBGrid;

// What closing a screen does with it.
enum class TCloseAction { None, Hide, Free, Minimize };

// What every screen has: the screen-code label lblCodTela, the message tables msgPadrao (the
// screen's) and msgMensagensPadroes (the standard texts), a help file and context, and the
// classic form events:
// - FormCreate runs once the screen is built (CreateForm), FormShow on its first showing,
//   FormActivate whenever its window, or its child window of the document area, becomes
//   active;
// - FormClose decides the close action; a failure in it, or TCloseAction::None, keeps the
//   screen open. A screen shown as a child window is freed when closed; one shown modally is
//   hidden, and its creator deletes it;
// - FormKeyDown sees every key pressed anywhere in the screen first (key preview) and can
//   swallow it by setting it to 0. The base handling: F1 opens the screen's help; Enter in
//   an edit box, combo box or check box moves to the next control, as in a classic business
//   application (grids and buttons keep their own Enter). Escape that no control takes
//   closes a screen shown modally, as its close box does; a child window of the document
//   area stays open.
// Handlers run through the event guard.
class TBaseForm : public QDialog {
    Q_OBJECT
  public:
    explicit TBaseForm(QWidget* parent = nullptr);
    ~TBaseForm() override;

    const QString& HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& helpFile) { helpFile_ = helpFile; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    void SetScreenCode(const QString& code);

    // Shows the screen modally through the dialog service and returns its result.
    int ShowModal();
    bool ShownModal() const { return modal_; }
    // Shows the screen as a child window of the host's document area. The first time, it
    // opens as the user left it, or else at its design size widened to show every column of
    // its grids, as far as the area has room.
    void ShowChild();
    // Forgets the user's sizes of the screen and its grids' columns and shows the defaults.
    void RestoreDefaultLayout();

    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormActivate() {}
    virtual void FormClose(TCloseAction& action);
    virtual void FormKeyDown(int& key, Qt::KeyboardModifiers shift);

    // Whether the widget is a grid or lies inside one (its in-place editor): grids answer
    // Enter and Escape themselves.
    static bool InsideGrid(const QWidget* widget);

    TMessages msgPadrao;
    TMessages msgMensagensPadroes;
    QLabel* lblCodTela;

  protected:
    // A check of the screen fails with its message KEY of msgPadrao, shown as an error, and
    // the running operation is abandoned; FailAt first puts the focus on the control to
    // correct.
    [[noreturn]] void Fail(const QString& key) const { msgPadrao.Fail(key); }
    [[noreturn]] void FailAt(QWidget* control, const QString& key) const;
    // The screen's Yes/No question KEY; No abandons the running operation silently.
    void Confirm(const QString& key) const { msgPadrao.Confirm(key); }

    // Where the screen's own controls go, under the form's menu and tool bar.
    QVBoxLayout* FormLayout() const { return layout_; }
    // A flat tool button with its component name, text and hint; with `key`, that key
    // presses it anywhere in the screen (the button takes no focus) and its tool tip says so.
    TButtonFlat* MakeToolButton(QWidget* parent, const char* name, const QString& text,
                                const QString& hint, const QKeySequence& key = {});

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QList<TDBGrid*> Grids() const;
    QSize SizeShowingAllColumns() const;
    void OpenAsLeft();
    void RememberLayout() const;

    QString helpFile_;
    int helpContext_ = 0;
    bool modal_ = false;
    bool shown_ = false;
    bool activatedByFrame_ = false;
    QSize designSize_;
    // The size the screen opened at: a size still the same at closing is not the user's.
    QSize openedAt_;
    QVBoxLayout* layout_;
};

// Builds a screen and runs its FormCreate; a failing creation deletes the screen and
// propagates.
template <typename Form, typename... Args>
Form* CreateForm(Args&&... args) {
    auto form = std::make_unique<Form>(std::forward<Args>(args)...);
    form->FormCreate();
    return form.release();
}

// Forgets how the user left every screen, and shows the open ones in their default layout.
void RestoreDefaultLayouts(const QMdiArea& documentArea);

// The standard texts of msgMensagensPadroes.
QStringList StandardMessages();

}  // namespace fai
