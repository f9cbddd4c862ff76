// Saving on the headcount screen: every post and every delete goes to the server at once, a
// failed save leaves the grid as stored, a cancel discards; and the commands that act on the
// whole filter (import, duplication).
#include "BusyIndicator.h"
#include "Cli_fai00402.h"
#include "HeadcountFixture.h"
#include "SqlSession.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"

using namespace fai;
using namespace fai::testing;

namespace {

// Counts typed cell after cell from the billed count on, Tab between them, and confirmed
// with the button.
void TypeCountsAndConfirm(HeadcountFixture& f, const QStringList& counts) {
    TDBGrid* grid = f.VisibleGrid();
    grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
    for (const QString& count : counts) {
        TypeKeys(count);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    f.Find<TButtonFlat>("sbtConfirmar")->click();
}

}  // namespace

class SavingTest : public QObject {
    Q_OBJECT

  private slots:
    void aPostedRowIsSavedAtOnce_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("stored");
        QTest::newRow("by service, a stored day") << 1 << true;
        // The by-date view shows a row for every service of the client, stored or not.
        QTest::newRow("by date, nothing stored yet") << 0 << false;
    }

    void aPostedRowIsSavedAtOnce() {
        QFETCH(int, mode);
        QFETCH(bool, stored);
        HeadcountFixture f;
        f.SeedClientWithServices();
        if (stored) f.Seed().Headcount(kLunchOnTheTenth, 120, 130);
        f.Open();
        f.FilterByMode(mode);
        boDeleta = true;

        // A row never stored has no counts yet: the clerk types them all.
        TypeCountsAndConfirm(f, stored ? QStringList{"150"} : QStringList{"150", "130", "0"});
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsEfetFatu.ChangeCount(), 0);
        QVERIFY(!boDeleta);
        QCOMPARE(ShowAviDepth(), 0);
        QCOMPARE(f.Cell(f.VisibleGrid(), 0, "QTCOMEFATU"), QStringLiteral("150,000"));
        const auto saved = f.Seed().Headcount(kLunchOnTheTenth);
        QVERIFY(saved.has_value());
        QCOMPARE(saved->billed, 150.0);
        QCOMPARE(saved->forecast, 130.0);
        if (stored) {
            // The row was stamped with the filter; only what it does not carry is empty.
            QCOMPARE(screen.NullFields, QStringLiteral("CDFILIFATU|NRAPURACFAT|"));
        }
        QCOMPARE(screen.cdsEfetFatu.FieldByName("CDFILIAL").AsString(), kBranch);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("CDCLIENTE").AsString(), kClient);
    }

    void aFailedSaveLeavesTheGridAsStored_data() {
        QTest::addColumn<bool>("conflict");
        QTest::newRow("another clerk saved the row meanwhile") << true;
        // The screen read the branch's parameters when the grid was entered; the server reads
        // them as they are now.
        QTest::newRow("the day was closed meanwhile") << false;
    }

    void aFailedSaveLeavesTheGridAsStored() {
        QFETCH(bool, conflict);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 120, 130);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        if (conflict) {
            f.Seed().Session().Run(QStringLiteral("UPDATE EFETFATUR SET QTCOMEFATU = 125"));
        } else {
            f.Seed().Params(kBranch, QDate(2026, 3, 20), "S", 0, "S");
        }
        boDeleta = false;

        TypeCountsAndConfirm(f, {QStringLiteral("150")});
        const QStringList messages = f.TakeMessages();
        QCOMPARE(messages.size(), 1);
        if (!conflict)
            QVERIFY2(messages.front().contains(QStringLiteral(
                         "Data bloqueada para alteração de efetivos para faturamento")),
                     qPrintable(messages.front()));
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsEfetFatu.ChangeCount(), 0);
        QCOMPARE(f.Cell(screen.dbgServico, 0, "QTCOMEFATU"), QStringLiteral("120,000"));
        QVERIFY(boDeleta);
        QCOMPARE(ShowAviDepth(), 0);
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, conflict ? 125.0 : 120.0);
    }

    // The clerk is told the save's own outcome: a refusal as the server said it, even when the
    // items cannot be read again after it; a row saved stays saved when only its items cannot
    // be read again, and that is all the clerk is told.
    void theSavesOwnOutcomeIsWhatTheClerkIsTold_data() {
        QTest::addColumn<bool>("refused");
        QTest::newRow("refused") << true;
        QTest::newRow("saved") << false;
    }

    void theSavesOwnOutcomeIsWhatTheClerkIsTold() {
        QFETCH(bool, refused);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 120, 130);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        // From now on the server cannot read the items of any row.
        f.Seed().Session().Run(
            QStringLiteral("ALTER TABLE ITRATEFECLIFAT RENAME TO ITRATEFECLIFAT_FORA"));
        if (refused) f.Seed().Params(kBranch, QDate(2026, 3, 20), "S", 0, "S");
        boDeleta = !refused;

        TypeCountsAndConfirm(f, {QStringLiteral("150")});
        const QStringList messages = f.TakeMessages();
        QCOMPARE(messages.size(), 1);
        if (refused) {
            QVERIFY2(messages.front().contains(QStringLiteral(
                         "Data bloqueada para alteração de efetivos para faturamento")),
                     qPrintable(messages.front()));
        } else {
            QCOMPARE(messages.front(),
                     QStringLiteral("Os efetivos foram gravados, mas os itens para rateio não "
                                    "puderam ser recarregados."));
        }
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsEfetFatu.ChangeCount(), 0);
        QCOMPARE(boDeleta, refused);
        QCOMPARE(f.Cell(screen.dbgServico, 0, "QTCOMEFATU"),
                 refused ? QStringLiteral("120,000") : QStringLiteral("150,000"));
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, refused ? 120.0 : 150.0);
        QVERIFY(screen.cdsItRatEfet.IsEmpty());
        QCOMPARE(ShowAviDepth(), 0);
    }

    // A connection lost before the save is found by the checks the post asks the server
    // for: the row stays in edit with what was typed, nothing is discarded.
    void aLostConnectionKeepsTheRowBeingEdited() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 120, 130);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        screen.netEfetFatur.Disconnect();
        TypeCountsAndConfirm(f, {QStringLiteral("150")});
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral("Não há conexão com o servidor de aplicação.")});
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Edit);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 150.0);
        QVERIFY(screen.dbgServico->hasFocus());
        QCOMPARE(ShowAviDepth(), 0);
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, 120.0);
    }

    void aDeletionIsSavedAtOnceOnceConfirmed_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("confirmed") << int(mrYes);
        QTest::newRow("not confirmed") << int(mrNo);
    }

    void aDeletionIsSavedAtOnceOnceConfirmed() {
        QFETCH(int, answer);
        const bool confirmed = answer == mrYes;
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Headcount(kLunchOnTheTenth, 120, 130)
            .Headcount({kBranch, kClient, kLunch, kTenth.addDays(1)}, 90, 95);
        f.Open();
        f.FilterByService(kLunch);
        QTest::keyClick(f.VisibleGrid(), Qt::Key_Up);  // from the latest day to the 10th
        f.AnswerQuestionsWith(answer);

        f.Find<TButtonFlat>("sbtExcluir")->click();
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral(
                     "Confirma exclusão?\nServiço 00001 - ALMOCO, data 10/03/2026 (Terça)")});
        QCOMPARE(screen.cdsEfetFatu.RecordCount(), confirmed ? 1 : 2);
        QCOMPARE(screen.cdsEfetFatu.ChangeCount(), 0);
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth).has_value(), !confirmed);
        QCOMPARE(f.Calls("UpdEfetFatu"), confirmed ? 1 : 0);
        // Set when the deletion is started, cleared by a save that succeeds.
        QCOMPARE(boDeleta, !confirmed);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(),
                 confirmed ? kTenth.addDays(1) : kTenth);
    }

    void cancellingDiscardsTheEditAndTheApportionmentChanges() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 120, 130);
        const int item =
            f.Seed().Item(kClient, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
        f.Seed().Link(kLunchOnTheTenth, item, 120.0);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(screen.cdsItRatEfet.RecordCount(), 1);
        screen.cdsItRatEfet.First();
        screen.cdsItRatEfet.Edit();
        screen.cdsItRatEfet.FieldByName("QTEFETIVOS").SetAsFloat(100);
        screen.cdsItRatEfet.Post();
        const int reads = f.Calls("GetItRatEfet");

        TDBGrid* grid = screen.dbgServico;
        grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
        TypeKeys(QStringLiteral("150"));
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Edit);
        f.Find<TButtonFlat>("sbtCancelar")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsEfetFatu.ChangeCount(), 0);
        QCOMPARE(f.Cell(grid, 0, "QTCOMEFATU"), QStringLiteral("120,000"));
        QCOMPARE(f.Calls("GetItRatEfet"), reads + 1);
        QCOMPARE(screen.cdsItRatEfet.ChangeCount(), 0);
        QCOMPARE(screen.cdsItRatEfet.FieldByName("QTEFETIVOS").AsFloat(), 120.0);
        QVERIFY(grid->hasFocus());
        QCOMPARE(grid->SelectedField()->FieldName(), QStringLiteral("DTFATURAM"));
        QCOMPARE(f.Calls("UpdEfetFatu"), 0);
    }

    void apportionmentChangesAloneAreSavedWithoutAHeadcountDelta() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 120, 130);
        const int item =
            f.Seed().Item(kClient, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
        f.Seed().Link(kLunchOnTheTenth, item, 100.0);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        screen.cdsItRatEfet.First();
        screen.cdsItRatEfet.Edit();
        screen.cdsItRatEfet.FieldByName("QTEFETIVOS").SetAsFloat(120);
        screen.cdsItRatEfet.Post();

        // The row is posted as it was: only the apportionment has something to save.
        f.Find<TButtonFlat>("sbtAlterar")->click();
        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("UpdEfetFatu"), 1);
        QCOMPARE(f.Seed().Links(kLunchOnTheTenth).at(item).toDouble(), 120.0);
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, 120.0);
        QCOMPARE(screen.cdsEfetFatu.ChangeCount(), 0);
    }

    void theRowsFieldsFollowTheirDate() {
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Headcount(kLunchOnTheTenth, 120, 130)
            .Headcount({kBranch, kClient, kLunch, QDate(2026, 3, 15)}, 90, 95);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        TDBGrid* grid = screen.dbgServico;
        QCOMPARE(f.Cell(grid, 0, "DIASEMANA"), QStringLiteral("Terça"));
        QCOMPARE(f.Cell(grid, 1, "DIASEMANA"), QStringLiteral("Domingo"));
        QCOMPARE(grid->model()->headerData(IndiceCol(grid, "DIASEMANA"), Qt::Horizontal).toString(),
                 QStringLiteral("Dia da Semana"));

        f.Find<TButtonFlat>("sbtIncluir")->click();
        Field& name = screen.cdsEfetFatu.FieldByName("NMSERVICO");
        name.SetAsString(QStringLiteral("ALMOCO"));
        screen.cdsEfetFatu.FieldByName("CDSERVFILI").SetAsString(kDinner);
        QVERIFY(name.IsNull());

        // A date typed into the cell is read as the user's date, or refused as none.
        grid->SetSelectedIndex(IndiceCol(grid, "DTFATURAM"));
        TypeKeys(QStringLiteral("31022026"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(
            f.TakeMessages(),
            QStringList{"\"31/02/2026\" não é uma data válida. Informe a data como dd/mm/aaaa."});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        TypeKeys(QStringLiteral("05032026"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), QDate(2026, 3, 5));
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DIASEMANA").AsString(), QStringLiteral("Quinta"));
    }

    // What the import wrote and left out, and why, is said once its rows show.
    void importingTakesTheTransportedHeadcounts_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("transported");
        QTest::addColumn<QString>("billed");
        QTest::addColumn<QString>("said");
        const QString left = QStringLiteral(
            "\nDeixados como estavam: %1 de dias fechados, %2 de períodos já apurados e 0 que "
            "já tinham o número transportado.");
        QTest::newRow("by date") << 0 << true << "77,000"
                                 << QStringLiteral(
                                        "Efetivos transportados importados: 1 gravado(s).") +
                                        left.arg(0).arg(0);
        QTest::newRow("by service, a closed day and an assessed one left out")
            << 1 << true << "77,000"
            << QStringLiteral("Efetivos transportados importados: 1 gravado(s).") +
                   left.arg(1).arg(1);
        QTest::newRow("by service, nothing transported")
            << 1 << false << ""
            << QStringLiteral("Efetivos transportados importados: 0 gravado(s).") +
                   left.arg(0).arg(0);
    }

    void importingTakesTheTransportedHeadcounts() {
        QFETCH(int, mode);
        QFETCH(bool, transported);
        QFETCH(QString, billed);
        QFETCH(QString, said);
        HeadcountFixture f;
        f.SeedClientWithServices();
        if (transported) f.Seed().Transported(kLunchOnTheTenth, 77);
        if (transported && mode == 1) {
            // The 8th closed (the first open day is the 9th), the 12th assessed.
            f.Seed()
                .Params(kBranch, kTenth, QStringLiteral("S"), 1, QStringLiteral("S"))
                .Period(kBranch, kClient, QStringLiteral("0000000001"), QDate(2026, 3, 12),
                        QDate(2026, 3, 12))
                .Transported({kBranch, kClient, kLunch, QDate(2026, 3, 8)}, 5)
                .Transported({kBranch, kClient, kLunch, QDate(2026, 3, 12)}, 6);
        }
        f.Open();
        f.FilterByMode(mode);
        f.Find<TButtonFlat>("sbtImpEfetTrans")->click();
        QCOMPARE(f.TakeMessages(), QStringList{said});
        QCOMPARE(f.Calls("ImportaEfetTrans"), 1);
        TDBGrid* grid = f.VisibleGrid();
        if (billed.isEmpty()) {
            QCOMPARE(grid->model()->rowCount(), 0);
            QCOMPARE(f.EnabledCommands(),
                     QStringLiteral("sbtIncluir, sbtCadastro, sbtImpEfetTrans"));
        } else {
            QCOMPARE(f.Cell(grid, 0, "QTCOMEFATU"), billed);
        }
        QCOMPARE(ShowAviDepth(), 0);
    }

    void duplicationOpensWithEveryAssessedPeriodOfTheClient() {
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Headcount(kLunchOnTheTenth, 120, 130)
            .Period(kBranch, kClient, QStringLiteral("0000000001"), QDate(2026, 1, 1),
                    QDate(2026, 1, 31))
            .Period(kBranch, kClient, QStringLiteral("0000000002"), QDate(2026, 2, 1),
                    QDate(2026, 2, 28));
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        // The edit tested the row's day against the periods, leaving none in view.
        f.Find<TButtonFlat>("sbtAlterar")->click();
        f.Find<TButtonFlat>("sbtCancelar")->click();
        QCOMPARE(screen.cdsVdCliFat.RecordCount(), 0);

        QVERIFY(f.Find<TButtonFlat>("sbtCadastro")->isEnabled());
        f.Find<TButtonFlat>("sbtCadastro")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QVERIFY(frmDupCom);
        QCOMPARE(frmDupCom->cdsVdCliFat.RecordCount(), 2);
        delete frmDupCom.data();
    }
};

FAI_UI_TEST_MAIN(SavingTest)
#include "test_saving.moc"
