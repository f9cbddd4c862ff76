#include "DialogService.h"

#include <QApplication>
#include <QDialog>
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
    return (message.buttons & mbNo) ? mrNo : (message.buttons & mbCancel) ? mrCancel : mrOk;
}

int DialogService::ExecModal(QDialog& dialog) {
    return modalScript_ ? modalScript_(dialog) : dialog.exec();
}

void DialogService::ClearScripts() {
    messageScript_ = nullptr;
    modalScript_ = nullptr;
}

}  // namespace fai
