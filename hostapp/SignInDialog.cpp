#include "SignInDialog.h"

#include "DialogService.h"
#include "Errors.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fai {

SignInDialog::SignInDialog(Attempt attempt, const QString& login, const QString& notice,
                           QWidget* parent)
    : QDialog(parent),
      attempt_(std::move(attempt)),
      edtUsuario_(new QLineEdit(login, this)),
      edtSenha_(new QLineEdit(this)),
      lblErro_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmEntrar"));
    setWindowTitle(QStringLiteral("Entrar - Faturamento"));
    auto* lblAviso = new QLabel(notice, this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setWordWrap(true);
    lblAviso->setVisible(!notice.isEmpty());
    edtUsuario_->setObjectName(QStringLiteral("edtUsuario"));
    edtUsuario_->setMaxLength(30);
    edtUsuario_->setReadOnly(!login.isEmpty());
    edtSenha_->setObjectName(QStringLiteral("edtSenha"));
    edtSenha_->setEchoMode(QLineEdit::Password);
    lblErro_->setObjectName(QStringLiteral("lblErro"));
    lblErro_->setWordWrap(true);
    lblErro_->setStyleSheet(QStringLiteral("color: #b00020;"));
    auto* btnEntrar = new QPushButton(QStringLiteral("&Entrar"), this);
    btnEntrar->setObjectName(QStringLiteral("btnEntrar"));
    btnEntrar->setDefault(true);
    auto* btnCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Usuário:"), edtUsuario_);
    fields->addRow(QStringLiteral("&Senha:"), edtSenha_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnEntrar);
    buttons->addWidget(btnCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblAviso);
    layout->addLayout(fields);
    layout->addWidget(lblErro_);
    layout->addLayout(buttons);

    connect(btnEntrar, &QPushButton::clicked, this, &SignInDialog::Enter);
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    (login.isEmpty() ? edtUsuario_ : edtSenha_)->setFocus();
}

void SignInDialog::Enter() {
    QLineEdit* missing = edtUsuario_->text().trimmed().isEmpty() ? edtUsuario_
                         : edtSenha_->text().isEmpty()           ? edtSenha_
                                                                 : nullptr;
    if (missing) {
        lblErro_->setText(missing == edtUsuario_ ? QStringLiteral("Informe o usuário.")
                                                 : QStringLiteral("Informe a senha."));
        missing->setFocus();
        return;
    }
    try {
        attempt_(edtUsuario_->text(), edtSenha_->text());
    } catch (const EError& e) {
        lblErro_->setText(e.Message());
        edtSenha_->clear();
        edtSenha_->setFocus();
        return;
    }
    accept();
}

bool SignInDialog::SignIn(const Attempt& attempt, const QString& login, const QString& notice) {
    SignInDialog dialog(attempt, login, notice, QApplication::activeWindow());
    return DialogService::Instance().ExecModal(dialog) == QDialog::Accepted;
}

}  // namespace fai
