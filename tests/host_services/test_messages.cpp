#include "DialogService.h"
#include "Errors.h"
#include "EventGuard.h"
#include "TMessages.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QInputDialog>

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <stdexcept>

namespace fai {

TEST(TMessages, KeysMatchRegardlessOfCaseAndTheFirstEntryWins) {
    TMessages table(
        {QStringLiteral("SomaTurno_inf|A soma difere de %s."),
         QStringLiteral("Faturados<0|Número Comensais Faturados deve ver maior que zero."),
         QStringLiteral("TRANS|Transferência de Movimentação originada do Cliente "),
         QStringLiteral("Excl|Confirma exclusão?"), QStringLiteral("EXCL|segunda"),
         QStringLiteral("Vazio|"), QStringLiteral("Pipe|a|b")});
    EXPECT_EQ(table.Msg("SomaTurno_Inf"), QStringLiteral("A soma difere de %s."));
    EXPECT_EQ(table.Msg("faturados<0"),
              QStringLiteral("Número Comensais Faturados deve ver maior que zero."));
    EXPECT_EQ(table.Msg("trans"),
              QStringLiteral("Transferência de Movimentação originada do Cliente "));
    EXPECT_EQ(table.Msg("excl"), QStringLiteral("Confirma exclusão?"));
    EXPECT_EQ(table.Msg("Vazio"), QString());
    EXPECT_EQ(table.Msg("Pipe"), QStringLiteral("a|b"));
    EXPECT_EQ(table.Msg("Nenhuma"), QStringLiteral("Nenhuma"));
    EXPECT_TRUE(table.Contains("VAZIO"));
    EXPECT_FALSE(table.Contains("Nenhuma"));
    EXPECT_EQ(table.Count(), 7);
    EXPECT_EQ(table.Entries().at(1),
              QStringLiteral("Faturados<0|Número Comensais Faturados deve ver maior que zero."));
}

TEST(TMessages, ShowMsgAsksThroughTheDialogServiceAndReturnsTheAnswer) {
    TMessages table({QStringLiteral("Canc|Confirma cancelamento?")});
    auto& dialogs = DialogService::Instance();
    dialogs.ClearShown();
    for (int answer : {int(mrYes), int(mrNo)}) {
        dialogs.SetMessageScript([answer](const ShownMessage&) { return answer; });
        EXPECT_EQ(table.ShowMsg("canc", DialogKind::Confirmation, mbYes | mbNo, 0), answer);
    }
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_EQ(dialogs.Shown()[1].text, QStringLiteral("Confirma cancelamento?"));
    EXPECT_EQ(dialogs.Shown()[1].buttons, mbYes | mbNo);
    EXPECT_EQ(dialogs.Shown()[1].answer, int(mrNo));
    dialogs.ClearScripts();
}

// A screen's check fails with its message shown as an error; its question goes on at Yes
// and abandons the operation silently at No.
TEST(TMessages, FailShowsTheErrorAndConfirmGoesOnOnlyAtYes) {
    TMessages table({QStringLiteral("Serv_Emp|Serviço deve ser informado."),
                     QStringLiteral("Conf_Periodo|Confirma operação?")});
    auto& dialogs = DialogService::Instance();
    dialogs.ClearShown();
    dialogs.SetMessageScript([](const ShownMessage& shown) {
        return shown.kind == DialogKind::Confirmation ? int(mrNo) : int(mrOk);
    });
    EXPECT_THROW(table.Fail("serv_emp"), EAbort);
    EXPECT_THROW(table.Confirm("conf_periodo"), EAbort);
    dialogs.SetMessageScript([](const ShownMessage&) { return int(mrYes); });
    EXPECT_NO_THROW(table.Confirm("conf_periodo"));
    ASSERT_EQ(dialogs.Shown().size(), 3u);
    EXPECT_EQ(dialogs.Shown()[0].kind, DialogKind::Error);
    EXPECT_EQ(dialogs.Shown()[0].text, QStringLiteral("Serviço deve ser informado."));
    EXPECT_EQ(dialogs.Shown()[1].kind, DialogKind::Confirmation);
    EXPECT_EQ(dialogs.Shown()[1].buttons, mbYes | mbNo);
    dialogs.ClearScripts();
}

TEST(EventGuard, StopsEveryExceptionAndShowsOnlyThoseWithAMessage) {
    auto& dialogs = DialogService::Instance();
    dialogs.SetMessageScript([](const ShownMessage&) { return int(mrOk); });
    const struct {
        const char* what;
        std::function<void()> handler;
        bool completed;
        const char* shown;  // nullptr: nothing shown
    } cases[] = {
        {"completes", [] {}, true, nullptr},
        {"silent abort", [] { throw EAbort(); }, false, nullptr},
        {"error", [] { throw EError(QStringLiteral("Filial não cadastrada.")); }, false,
         "Filial não cadastrada."},
        {"unexpected", [] { throw std::runtime_error("disco cheio"); }, false,
         "Erro inesperado: disco cheio"},
        {"anything", [] { throw 42; }, false, "Erro inesperado."},
    };
    for (const auto& c : cases) {
        dialogs.ClearShown();
        EXPECT_EQ(GuardEvent(c.handler), c.completed) << c.what;
        if (c.shown) {
            ASSERT_EQ(dialogs.Shown().size(), 1u) << c.what;
            EXPECT_EQ(dialogs.Shown()[0].text, QString::fromUtf8(c.shown));
            EXPECT_EQ(dialogs.Shown()[0].kind, DialogKind::Error);
        } else {
            EXPECT_TRUE(dialogs.Shown().empty()) << c.what;
        }
    }
    dialogs.ClearScripts();
}

}  // namespace fai

namespace fai {

TEST(DialogService, OffScreenWithoutAScriptTakesTheCautiousAnswerInsteadOfWaiting) {
    auto& dialogs = DialogService::Instance();
    dialogs.ClearScripts();
    dialogs.ClearShown();
    EXPECT_EQ(dialogs.Message(DialogKind::Confirmation, QStringLiteral("Confirma exclusão?"),
                              mbYes | mbNo),
              int(mrNo));
    EXPECT_EQ(dialogs.Message(DialogKind::Error, QStringLiteral("Filial não cadastrada."), mbOk),
              int(mrOk));
    QDialog screen;
    EXPECT_EQ(dialogs.ExecModal(screen), int(mrCancel));
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_EQ(dialogs.Shown()[0].answer, int(mrNo));
}

}  // namespace fai

namespace fai {

// A window manager cuts a title its window is too narrow for ("Entrar …mento"): a modal
// window opens with room for its title, in bold, beside a title bar's icon and buttons.
TEST(DialogService, AModalWindowOpensWideEnoughForItsTitle) {
    auto& dialogs = DialogService::Instance();
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (const QString& title :
         {QStringLiteral("Entrar - Faturamento"), QStringLiteral("Título do relatório")}) {
        QInputDialog dialog;
        dialog.setWindowTitle(title);
        int opened = 0;
        dialogs.SetModalScript([&opened](QDialog& shown) {
            shown.show();
            opened = shown.width();
            return int(mrCancel);
        });
        dialogs.ExecModal(dialog);
        EXPECT_GE(opened, metrics.horizontalAdvance(title) + 6 * metrics.height())
            << title.toStdString();
    }
    dialogs.ClearScripts();
}

}  // namespace fai
