#include "DialogService.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace fai {
namespace {

QString TitleOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Information:
            return QStringLiteral("Informação");
        case DialogKind::Warning:
            return QStringLiteral("Atenção");
        case DialogKind::Error:
            return QStringLiteral("Erro");
        case DialogKind::Confirmation:
            return QStringLiteral("Confirmação");
    }
    return {};
}

QMessageBox::Icon IconOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Information:
            return QMessageBox::Information;
        case DialogKind::Warning:
            return QMessageBox::Warning;
        case DialogKind::Error:
            return QMessageBox::Critical;
        case DialogKind::Confirmation:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Off screen nobody can answer a box: waiting for an answer would hang the program (a test
// that forgot its script, an automated run). The cautious answer is taken and the text goes
// to the log, where it can be read.
bool NobodyToAnswer() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

int CautiousAnswer(int buttons) {
    return (buttons & mbNo) ? mrNo : (buttons & mbCancel) ? mrCancel : mrOk;
}

// A window manager cuts a title its window is too narrow for ("Entrar …mento"). The title
// bar's font is the window manager's: the program's bold font stands for it, with room for
// the icon and the three buttons of the bar and its margins.
void WideEnoughForTitle(QDialog& dialog) {
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int needed = metrics.horizontalAdvance(dialog.windowTitle()) + 8 * metrics.height();
    // Its own size or the one it would open at: a layout may bound its minimum.
    const QSize size = dialog.testAttribute(Qt::WA_Resized) ? dialog.size() : dialog.sizeHint();
    if (size.width() < needed) dialog.resize(needed, size.height());
}

}  // namespace

DialogService& DialogService::Instance() {
    static DialogService instance;
    return instance;
}

int DialogService::Message(DialogKind kind, const QString& text, int buttons, int helpContext) {
    ShownMessage message{kind, text, buttons == 0 ? int(mbOk) : buttons, helpContext, mrNone};
    message.answer = messageScript_ ? messageScript_(message) : ShowBox(message);
    shown_.push_back(message);
    return message.answer;
}

int DialogService::ShowBox(const ShownMessage& message) const {
    if (NobodyToAnswer()) {
        qWarning("Mensagem sem resposta possível fora da tela: %s", qPrintable(message.text));
        return CautiousAnswer(message.buttons);
    }
    QMessageBox box(IconOf(message.kind), TitleOf(message.kind), message.text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    // The button texts are the user's language, whatever the machine's.
    struct Choice {
        int button;
        const char* text;
        QMessageBox::ButtonRole role;
        int result;
    };
    const Choice choices[] = {
        {mbYes, "&Sim", QMessageBox::YesRole, mrYes},
        {mbNo, "&Não", QMessageBox::NoRole, mrNo},
        {mbOk, "OK", QMessageBox::AcceptRole, mrOk},
        {mbCancel, "&Cancelar", QMessageBox::RejectRole, mrCancel},
    };
    std::vector<std::pair<QAbstractButton*, int>> added;
    for (const Choice& c : choices) {
        if (message.buttons & c.button)
            added.emplace_back(box.addButton(QString::fromUtf8(c.text), c.role), c.result);
    }
    box.exec();
    for (const auto& [button, result] : added) {
        if (box.clickedButton() == button) return result;
    }
    // Closed with Escape or the window's close box: the cautious answer.
    return CautiousAnswer(message.buttons);
}

int DialogService::ExecModal(QDialog& dialog) {
    WideEnoughForTitle(dialog);
    if (modalScript_) return modalScript_(dialog);
    if (NobodyToAnswer()) {
        qWarning("Tela modal sem resposta possível fora da tela: %s",
                 qPrintable(dialog.windowTitle()));
        return mrCancel;
    }
    return dialog.exec();
}

void DialogService::ClearScripts() {
    messageScript_ = nullptr;
    modalScript_ = nullptr;
}

}  // namespace fai
