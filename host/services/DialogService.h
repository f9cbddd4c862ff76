#pragma once

#include <QString>

#include <functional>
#include <vector>

class QDialog;
class QWidget;

namespace fai {

enum class DialogKind { Information, Warning, Error, Confirmation };

// Buttons offered by a message box; combine with |.
enum MsgButton : int { mbOk = 1, mbYes = 2, mbNo = 4, mbCancel = 8 };

// What a message box or modal screen answered; the numbers are the ones callers test for.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct ShownMessage {
    DialogKind kind;
    QString text;
    int buttons;
    int helpContext;
    int answer;
};

// Every message box, question and modal screen of the application goes through here, so
// that a script (a test, an automated run) can answer them and read what was shown.
class DialogService {
  public:
    using MessageScript = std::function<int(const ShownMessage&)>;
    using ModalScript = std::function<int(QDialog&)>;

    static DialogService& Instance();

    // Shows the text modally and returns the button pressed.
    int Message(DialogKind kind, const QString& text, int buttons, int helpContext = 0);
    void Error(const QString& text) { Message(DialogKind::Error, text, mbOk); }

    // Runs a modal screen, at least as wide as its title needs, and returns its result.
    int ExecModal(QDialog& dialog);

    // While a script is set it answers instead of the user.
    void SetMessageScript(MessageScript script) { messageScript_ = std::move(script); }
    void SetModalScript(ModalScript script) { modalScript_ = std::move(script); }
    void ClearScripts();

    const std::vector<ShownMessage>& Shown() const { return shown_; }
    void ClearShown() { shown_.clear(); }

  private:
    DialogService() = default;
    int ShowBox(const ShownMessage& message) const;

    MessageScript messageScript_;
    ModalScript modalScript_;
    std::vector<ShownMessage> shown_;
};

}  // namespace fai
