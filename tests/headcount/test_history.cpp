// The history command of the headcount screen: the changes of the row under the cursor, by
// whom and when, in the screen's formats, read only; a row never changed says so.
#include "DialogService.h"
#include "HeadcountFixture.h"
#include "SessionMetadata.h"
#include "SqlSession.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"

#include <QDateTime>
#include <QLabel>
#include <QTableWidget>

using namespace fai;
using namespace fai::testing;

namespace {

// What the history screen showed: its caption, then one line per change, cells between "|".
QStringList ShownHistory(HeadcountFixture& f) {
    QStringList shown;
    f.RunModalsWith([&shown](QDialog& dialog) {
        shown << dialog.findChild<QLabel*>(QStringLiteral("lblHistorico"))->text();
        auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("dbgHistorico"));
        if (grid->editTriggers() != QAbstractItemView::NoEditTriggers) shown << "editable";
        for (int row = 0; row < grid->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < grid->columnCount(); ++column)
                cells << grid->item(row, column)->text();
            shown << cells.join(u'|');
        }
        return int(mrCancel);
    });
    f.Find<TButtonFlat>("sbtHistorico")->click();
    return shown;
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT

  private slots:
    void theCommandHasAShortcutOfItsOwn() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        TfrmEfetFatur& screen = f.Open();
        QCOMPARE(screen.mnuHistorico->text(), QStringLiteral("&Histórico"));
        QCOMPARE(screen.mnuHistorico->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        QStringList shortcuts;
        for (const QAction* action : screen.findChildren<QAction*>())
            if (!action->shortcut().isEmpty()) shortcuts << action->shortcut().toString();
        QCOMPARE(QSet<QString>(shortcuts.begin(), shortcuts.end()).size(), shortcuts.size());
        QVERIFY(!screen.sbtHistorico->isEnabled());
    }

    void showsEveryChangeOfTheRowByWhomAndWhenNewestFirst() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 1234.5, 130);
        f.Open();
        f.FilterByDate(kTenth);
        QVERIFY(f.Find<TButtonFlat>("sbtHistorico")->isEnabled());

        QCOMPARE(ShownHistory(f),
                 QStringList{"Serviço 00001, data 10/03/2026: nenhuma alteração registrada."});

        // Another clerk's change, a day ago at another machine, as the server records it.
        const QDateTime before = QDateTime::currentDateTime().addDays(-1);
        f.Seed().Session().Run(
            QStringLiteral("INSERT INTO HISTEFETFATUR (DTHRALTERACAO, NMUSUARIO, NMMAQUINA, "
                           "NMMETODO, IDOPERACAO, CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, "
                           "NMCAMPO, VLANTERIOR, VLNOVO) VALUES (?, 'maria', 'caixa-2', "
                           "'UpDateServData', 'A', ?, ?, ?, ?, 'QTCOMEPREV', '120', '130')"),
            {before.toMSecsSinceEpoch(), kBranch, kClient, kLunch, kTenth.toString(Qt::ISODate)});
        TDBGrid* grid = f.VisibleGrid();
        grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
        TypeKeys(QStringLiteral("1300"));
        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), QStringList());

        const QString here =
            Workstation::Here().user + QStringLiteral(" (%1)").arg(Workstation::Here().machine);
        const QStringList shown = ShownHistory(f);
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[0], QStringLiteral("Serviço 00001, data 10/03/2026"));
        QCOMPARE(shown[1].section(u'|', 1),
                 here + QStringLiteral("|Nº Comensais Faturados|1.234,500|1.300,000"));
        QVERIFY(qAbs(QDateTime::fromString(shown[1].section(u'|', 0, 0),
                                           QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                         .secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(shown[2],
                 before.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) +
                     QStringLiteral("|maria (caixa-2)|N° Comensais Previstos (duplicação)|"
                                    "120,000|130,000"));

        f.AnswerQuestionsWith(mrYes);
        f.Find<TButtonFlat>("sbtExcluir")->click();
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral(
                     "Confirma exclusão?\nServiço 00001 - ALMOCO, data 10/03/2026 (Terça)")});
        // Reloaded, the day shows the service again, with nothing stored.
        f.Find<TButtonFlat>("sbtVerificar")->click();
        const QStringList afterDeletion = ShownHistory(f);
        QCOMPARE(afterDeletion.size(), 5);
        QCOMPARE(afterDeletion[1].section(u'|', 2),
                 QStringLiteral("Nº Comensais Faturados|1.300,000|(excluído)"));
        QCOMPARE(afterDeletion[2].section(u'|', 2),
                 QStringLiteral("N° Comensais Previstos|130,000|(excluído)"));
        QCOMPARE(afterDeletion.mid(3), shown.mid(1));
    }
};

QTEST_MAIN(HistoryTest)
#include "test_history.moc"
