// The headcount screen of a clerk who signed in: only the clerk's branches are offered, and a
// session that expires while a row is being typed is renewed with the password, the row then
// saved as typed.
#include "HeadcountFixture.h"
#include "HostSession.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"
#include "UserAdministration.h"

#include <QLabel>
#include <QPushButton>

using namespace fai;
using namespace fai::testing;

namespace {

const QString kPassword = QStringLiteral("senha-da-maria");

// Answers the sign-in dialog with each password in turn until one is taken, noting why the
// dialog asked and what it said of each refusal.
struct SignInScript {
    QStringList passwords;
    QStringList notices, refusals;

    int operator()(QDialog& dialog) {
        notices << dialog.findChild<QLabel*>(QStringLiteral("lblAviso"))->text();
        for (const QString& password : passwords) {
            dialog.findChild<QLineEdit*>(QStringLiteral("edtSenha"))->setText(password);
            dialog.findChild<QPushButton*>(QStringLiteral("btnEntrar"))->click();
            if (dialog.result() == QDialog::Accepted) break;
            refusals << dialog.findChild<QLabel*>(QStringLiteral("lblErro"))->text();
        }
        return dialog.result();
    }
};

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

  private slots:
    void anExpiredSessionIsRenewedAndTheTypedRowSaved() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Branch(QStringLiteral("0002"), QStringLiteral("Outra"));
        f.Seed().Headcount(kLunchOnTheTenth, 120, 130);
        appserver::UserAdministration(f.Seed().Session())
            .Add(QStringLiteral("maria"), QStringLiteral("Maria Souza"), kPassword, {kBranch},
                 false);
        auto script = std::make_shared<SignInScript>();
        f.RunModalsWith([script](QDialog& dialog) { return (*script)(dialog); });

        HostSettings settings;
        settings.serverPort = WebPort();
        settings.user = QStringLiteral("maria");
        HostSession session(settings);
        script->passwords = {QStringLiteral("senha-errada"), kPassword};
        const std::optional<SignedInUser> maria = session.Start();
        QVERIFY(maria.has_value());
        QCOMPARE(script->refusals, QStringList{QStringLiteral("Usuário ou senha incorretos.")});
        WorkingContextData context = WorkingContext();
        context.userBranches = maria->branches;
        SetWorkingContext(context);

        // Her branch only: the lookup offers no other, and another typed is refused.
        TfrmEfetFatur& screen = f.Open();
        bool show = true;
        screen.btpFilialBeforePesq(show);
        QCOMPARE(screen.qryFilial.DataSet().RecordCount(), 1);
        f.Type(f.Find<TMaskEdit>("medCdFilial"), QStringLiteral("0002"));
        f.Find<TMaskEdit>("medCdCliente")->setFocus();
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral("Este usuário não tem acesso à filial 0002.")});

        f.FilterByService(kLunch);
        TDBGrid* grid = f.VisibleGrid();
        grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
        TypeKeys(QStringLiteral("150"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        f.Seed().Session().Run(
            QStringLiteral("UPDATE SESSAOUSUARIO SET DTULTIMOUSO = DTULTIMOUSO - 7200"));
        script->passwords = {kPassword};
        script->notices.clear();
        f.Find<TButtonFlat>("sbtConfirmar")->click();

        QCOMPARE(script->notices,
                 QStringList{QStringLiteral("Sua sessão expirou ou foi encerrada: entre novamente "
                                            "para continuar.")});
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.ChangeCount(), 0);
        const auto saved = f.Seed().Headcount(kLunchOnTheTenth);
        QVERIFY(saved.has_value());
        QCOMPARE(saved->billed, 150.0);
    }
};

QTEST_MAIN(SessionTest)
#include "test_session.moc"
