// The edit cycle of the headcount screen: the commands and what they do, the filter locked
// under an edit, the keys the grids refuse, and the date a new row is offered.
#include "BusyIndicator.h"
#include "EfetFaturData.h"
#include "HeadcountFixture.h"
#include "Help.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>

using namespace fai;
using namespace fai::testing;

namespace {

// Types into whatever has the focus, as the keyboard does: the grid, then its cell editor.
// "\x01" opens the cell's editor (F2) and goes to the start of its text (Home).
void TypeKeysOrOpenEditor(const QString& keys) {
    for (QChar key : keys) {
        if (key == QChar(1)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        } else {
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        }
    }
}

// A shift row of the current headcount row, as the shift tab holds them.
DataPacket ShiftRows(ClientDataSet& shifts) {
    DataPacket packet;
    for (const Field* field : shifts.Fields()) packet.fields.push_back(field->Definition());
    packet.rows.push_back(
        {RowChange::Unchanged, {"1", "MANHA", kBranch, kLunch, kClient, kTenth, Value(60.0)}, {}});
    return packet;
}

}  // namespace

Q_DECLARE_METATYPE(fai::DataSetState)

class EditingTest : public QObject {
    Q_OBJECT

  private slots:
    void whileARowIsEditedTheFilterCannotChange_data() {
        QTest::addColumn<bool>("fixed");
        QTest::newRow("branch free") << false;
        QTest::newRow("branch fixed by the working context") << true;
    }

    void whileARowIsEditedTheFilterCannotChange() {
        QFETCH(bool, fixed);
        ContextOptions options;
        options.branchFixed = fixed;
        HeadcountFixture f(options);
        f.SeedClientWithServices().Seed().Headcount({kBranch, kClient, kLunch, kTenth}, 120, 120);
        f.Open();
        f.FilterByService(kLunch);

        f.Find<TButtonFlat>("sbtAlterar")->click();
        QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Edit);
        for (const char* name : kFilterControls)
            QVERIFY2(!f.Find<QWidget>(name)->isEnabled(), name);
        QCOMPARE(f.EnabledCommands(), QStringLiteral("sbtConfirmar, sbtCancelar"));
        QVERIFY(f.Find<QAction>("mnuConfirmar")->isEnabled());
        QVERIFY(!f.Find<QAction>("mnuVerificar")->isEnabled());
        // The shifts of the stored row being changed stay in reach, to be changed with it.
        auto* pages = f.Find<QTabWidget>("pgcPadrao");
        QVERIFY(pages->isTabEnabled(pages->indexOf(f.Find<QWidget>("tshTurno"))));
        QVERIFY(f.Find<QAction>("mnuTurno")->isEnabled());

        f.Find<TButtonFlat>("sbtCancelar")->click();
        QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Browse);
        for (const char* name : kFilterControls) {
            const bool expected = !(fixed && IsBranchControl(QLatin1String(name)));
            QVERIFY2(f.Find<QWidget>(name)->isEnabled() == expected, name);
        }
        QVERIFY(pages->isTabEnabled(pages->indexOf(f.Find<QWidget>("tshTurno"))));
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void byDateNoRowCanBeAdded_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Insert") << int(Qt::Key_Insert);
        QTest::newRow("down arrow past the last row") << int(Qt::Key_Down);
    }

    void byDateNoRowCanBeAdded() {
        QFETCH(int, key);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.FilterByDate(kTenth);
        TDBGrid* grid = f.Find<TDBGrid>("dbgData");
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(f.Screen().cdsEfetFatu.RecNo(), 2);

        QTest::keyClick(grid, Qt::Key(key));
        QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(grid->model()->rowCount(), 2);
        QVERIFY(!f.Find<TButtonFlat>("sbtIncluir")->isEnabled());
        QVERIFY(!f.Find<QAction>("mnuIncluir")->isEnabled());
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void keysThatCannotChangeTheRowAreRefused_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("valuePerDate");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("typed");  // the cell editor's text; none: no edit began
        QTest::newRow("service code of a row by date") << 0 << "CDSERVFILI"
                                                       << "S"
                                                       << "X"
                                                       << "";
        QTest::newRow("service name of a row by date") << 0 << "NMSERVICO"
                                                       << "S"
                                                       << "1"
                                                       << "";
        QTest::newRow("weekday of a row by service") << 1 << "DIASEMANA"
                                                     << "S"
                                                     << "a"
                                                     << "";
        QTest::newRow("sale value of a service priced by month") << 1 << "VRSERVFATUDT"
                                                                 << "N"
                                                                 << "5"
                                                                 << "";
        QTest::newRow("sale value of a service priced by day") << 1 << "VRSERVFATUDT"
                                                               << "S"
                                                               << "5"
                                                               << "5";
        QTest::newRow("billed count up to nine digits") << 1 << "QTCOMEFATU"
                                                        << "S"
                                                        << "1234567890"
                                                        << "123456789";
        QTest::newRow("billed count up to three decimals") << 1 << "QTCOMEFATU"
                                                           << "S"
                                                           << "1,2345"
                                                           << "1,234";
        QTest::newRow("forecast count up to nine digits") << 1 << "QTCOMEPREV"
                                                          << "S"
                                                          << "9876543210"
                                                          << "987654321";
        // Typed into a count over a thousand, after opening the cell (F2) and going Home.
        QTest::newRow("forecast count over a thousand edited in place") << 1 << "QTCOMEPREV"
                                                                        << "S"
                                                                        << "\x01"
                                                                           "9"
                                                                        << "91500,000";
        QTest::newRow("sale value up to seven digits") << 1 << "VRSERVFATUDT"
                                                       << "S"
                                                       << "12345678"
                                                       << "1234567";
    }

    void keysThatCannotChangeTheRowAreRefused() {
        QFETCH(int, mode);
        QFETCH(QString, field);
        QFETCH(QString, valuePerDate);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        HeadcountFixture f;
        f.Seed()
            .Branch(kBranch, kBranchName)
            .Client(QStringLiteral("J"), kNumber, kClientName)
            .ClientAt(kBranch, kClient)
            .Service(kBranch, kLunch, QStringLiteral("ALMOCO"))
            .ClientService(kBranch, kClient, kLunch, QVariant(), QStringLiteral("N"), valuePerDate)
            .Headcount({kBranch, kClient, kLunch, kTenth}, 120, 1500, 7.5);
        f.Open();
        f.FilterByMode(mode);
        TDBGrid* grid = f.VisibleGrid();
        grid->SetSelectedIndex(IndiceCol(grid, field));
        const QString before = f.Cell(grid, 0, qPrintable(field));
        TypeKeysOrOpenEditor(keys);
        QCOMPARE(grid->EditorMode(), !typed.isEmpty());
        if (typed.isEmpty()) {
            QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Browse);
            QCOMPARE(f.Cell(grid, 0, qPrintable(field)), before);
        } else {
            QCOMPARE(grid->InplaceText(), typed);
        }
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void includingByServiceOffersTheNextOpenDay_data() {
        QTest::addColumn<QDate>("last");
        QTest::addColumn<double>("openDays");  // negative: no parameters
        QTest::addColumn<QDate>("offered");
        QTest::newRow("no day yet: the processing date") << QDate() << -1.0 << kTenth;
        QTest::newRow("the day after the last") << QDate(2026, 3, 5) << -1.0 << QDate(2026, 3, 6);
        QTest::newRow("never a closed day") << QDate(2026, 3, 5) << 3.0 << QDate(2026, 3, 7);
        QTest::newRow("the day after, already open")
            << QDate(2026, 3, 8) << 3.0 << QDate(2026, 3, 9);
        QTest::newRow("the first whole open day") << QDate(2026, 3, 5) << 2.5 << QDate(2026, 3, 8);
    }

    void includingByServiceOffersTheNextOpenDay() {
        QFETCH(QDate, last);
        QFETCH(double, openDays);
        QFETCH(QDate, offered);
        HeadcountFixture f;
        f.SeedClientWithServices();
        if (last.isValid()) f.Seed().Headcount({kBranch, kClient, kLunch, last}, 100, 100);
        if (openDays >= 0) f.Seed().Params(kBranch, kTenth, "S", openDays, "S");
        f.Open();
        f.FilterByService(kLunch);

        f.Find<TButtonFlat>("sbtIncluir")->click();
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Insert);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), offered);
        QVERIFY(screen.dbgServico->hasFocus());
        QCOMPARE(screen.dbgServico->SelectedField()->FieldName(), QStringLiteral("DTFATURAM"));
        // On an empty grid the edit begins as an insert, which offers the day once more.
        QCOMPARE(f.Calls("GetVerifData"), last.isValid() ? 1 : 2);
        QCOMPARE(ShowAviDepth(), 0);
    }

    // By service the grid opens on the latest days; F4 puts the new day after them, and its
    // counts are typed in the order of the columns, Tab going past the weekday.
    void aNewDayGoesAfterTheLatestAndIsTypedInColumnOrder() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        const QDate first(2026, 1, 1);
        for (int day = 0; day < 60; ++day)
            f.Seed().Headcount({kBranch, kClient, kLunch, first.addDays(day)}, 100, 100);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        TDBGrid* grid = screen.dbgServico;
        QCOMPARE(screen.cdsEfetFatu.RecNo(), 60);
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex())));

        QTest::keyClick(grid, Qt::Key_F4);
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Insert);
        QCOMPARE(screen.cdsEfetFatu.RecNo(), 61);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), first.addDays(60));
        // A new row has no shifts until it is saved.
        QVERIFY(!screen.pgcPadrao->isTabEnabled(1));
        QVERIFY(!screen.mnuTurno->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        TypeKeys(QStringLiteral("420"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        TypeKeys(QStringLiteral("425"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QCOMPARE(f.TakeMessages(), QStringList());
        const auto stored = f.Seed().Headcount({kBranch, kClient, kLunch, first.addDays(60)});
        QVERIFY(stored);
        QCOMPARE(stored->billed, 420.0);
        QCOMPARE(stored->forecast, 425.0);
        QCOMPARE(f.Cell(grid, 60, "DTFATURAM"), QStringLiteral("02/03/2026"));
    }

    // Closed days, and days of an assessed period, show muted with the reason as tool tip;
    // typing there or F6 says why.
    void aDayThatCannotChangeShowsMutedAndSaysWhy_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("said");
        const QString closed = QStringLiteral(
            "Data bloqueada para alteração de efetivos para faturamento para dias fechados.\n"
            "Primeiro dia aberto: 10/03/2026.");
        const QString assessed = QStringLiteral(
            "Efetivos do cliente já apurados na data selecionada.\nApuração 0000000007, de "
            "11/03/2026 a 11/03/2026.");
        QTest::newRow("by service, a closed day") << 1 << QDate(2026, 3, 9) << closed << closed;
        QTest::newRow("by date, a closed day") << 0 << QDate(2026, 3, 9) << closed << closed;
        QTest::newRow("by service, an assessed day")
            << 1 << kEleventh << assessed << "Efetivos do cliente já apurados na data selecionada.";
        QTest::newRow("by service, an open day") << 1 << kTenth << QString() << QString();
    }

    void aDayThatCannotChangeShowsMutedAndSaysWhy() {
        QFETCH(int, mode);
        QFETCH(QDate, day);
        QFETCH(QString, reason);
        QFETCH(QString, said);
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Params(kBranch, kTenth, QStringLiteral("S"), 0, QStringLiteral("S"))
            .Period(kBranch, kClient, QStringLiteral("0000000007"), kEleventh, kEleventh);
        for (const QDate& stored : {QDate(2026, 3, 9), kTenth, kEleventh})
            f.Seed().Headcount({kBranch, kClient, kLunch, stored}, 100, 100);
        f.Open();
        f.FilterByMode(mode, day);
        TfrmEfetFatur& screen = f.Screen();
        if (mode == 1) QVERIFY(screen.cdsEfetFatu.Locate("DTFATURAM", Value(day)));
        TDBGrid* grid = f.VisibleGrid();
        const QModelIndex cell = grid->model()->index(screen.cdsEfetFatu.RecNo() - 1, 0);
        QCOMPARE(cell.data(Qt::ToolTipRole).toString(), reason);
        QCOMPARE(cell.data(Qt::ForegroundRole).isValid(), !reason.isEmpty());

        const QStringList expected = said.isEmpty() ? QStringList() : QStringList{said};
        grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
        grid->setFocus();
        TypeKeys(QStringLiteral("5"));
        QCOMPARE(f.TakeMessages(), expected);
        if (said.isEmpty()) return;
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QTest::keyClick(grid, Qt::Key_F6);
        QCOMPARE(f.TakeMessages(), expected);
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
    }

    void editingOnAQuantityKeepsItsColumnForTheFocus_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QList<int>>("indexes");  // inComen, inComen1, inComen2, inComen3
        QTest::addColumn<int>("selected");
        QTest::newRow("billed") << "QTCOMEFATU" << QList<int>{3, 2, -1, -1} << 3;
        QTest::newRow("forecast") << "QTCOMEPREV" << QList<int>{-1, -1, 4, 3} << 4;
        QTest::newRow("elsewhere") << "NMSERVICO" << QList<int>{-1, -1, -1, -1} << 1;
    }

    void editingOnAQuantityKeepsItsColumnForTheFocus() {
        QFETCH(QString, field);
        QFETCH(QList<int>, indexes);
        QFETCH(int, selected);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.FilterByDate(kTenth);
        inComen = inComen1 = inComen2 = inComen3 = -1;
        TDBGrid* grid = f.Find<TDBGrid>("dbgData");
        grid->SetSelectedIndex(IndiceCol(grid, field));

        f.Find<TButtonFlat>("sbtAlterar")->click();
        QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Edit);
        QCOMPARE((QList<int>{inComen, inComen1, inComen2, inComen3}), indexes);
        QCOMPARE(grid->SelectedIndex(), selected);
        QVERIFY(grid->hasFocus());
    }

    void cancellingOnTheShiftTabAsksOnlyWhileAShiftRowIsEdited_data() {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<DataSetState>("after");
        QTest::newRow("shift row browsed") << false << int(mrYes) << false << DataSetState::Browse;
        QTest::newRow("edited, the user keeps it")
            << true << int(mrNo) << true << DataSetState::Edit;
        QTest::newRow("edited, the user cancels")
            << true << int(mrYes) << true << DataSetState::Browse;
    }

    void cancellingOnTheShiftTabAsksOnlyWhileAShiftRowIsEdited() {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(DataSetState, after);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount({kBranch, kClient, kLunch, kTenth}, 120, 120);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        f.Find<QTabWidget>("pgcPadrao")->setCurrentWidget(f.Find<QWidget>("tshTurno"));
        screen.cdsTurno.SetData(ShiftRows(screen.cdsTurno));
        if (edited) screen.cdsTurno.Edit();
        screen.ControlaBotoes();
        QCOMPARE(f.Find<TButtonFlat>("sbtCancelar")->isEnabled(), edited);
        f.AnswerQuestionsWith(answer);

        screen.sbtCancelarClick();
        QCOMPARE(f.TakeMessages(),
                 asked ? QStringList{"Confirma o cancelamento das alterações?"} : QStringList());
        QCOMPARE(screen.cdsTurno.State(), after);
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
    }

    void f12TakesTheFocusToTheClientBox_data() {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("focus");
        QTest::newRow("F12") << int(Qt::NoModifier) << "medCdCliente";
        QTest::newRow("Ctrl+F12") << int(Qt::ControlModifier) << "dbgData";
        QTest::newRow("Shift+F12") << int(Qt::ShiftModifier) << "dbgData";
    }

    void f12TakesTheFocusToTheClientBox() {
        QFETCH(int, modifiers);
        QFETCH(QString, focus);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.FilterByDate(kTenth);
        QTest::keyClick(f.Find<TDBGrid>("dbgData"), Qt::Key_F12, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // Every command of the screen has its key, shown in its button's tool tip and listed in
    // the screen's help page.
    void everyCommandHasItsKeyInItsTipAndInTheHelp() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        TfrmEfetFatur& screen = f.Open();
        QFile page(HelpPagePath(screen.HelpFile(), screen.HelpContext()));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString help = QString::fromUtf8(page.readAll());
        int keys = 0;
        for (const QAction* entry : screen.findChildren<QAction*>()) {
            if (entry->shortcut().isEmpty()) continue;
            const QString key = entry->shortcut().toString(QKeySequence::NativeText);
            QVERIFY2(help.contains(QStringLiteral("<td>%1</td>").arg(key)), qPrintable(key));
            ++keys;
        }
        QCOMPARE(keys, 14);
        for (const QToolButton* button : screen.findChildren<QToolButton*>()) {
            if (button->objectName().startsWith(QLatin1String("sbt")) ||
                button->objectName().startsWith(QLatin1String("btp")))
                QVERIFY2(
                    button->toolTip().contains(QRegularExpression(QStringLiteral(" \\(.+\\)$"))),
                    qPrintable(button->objectName()));
        }
    }

    void printingOpensTheListingReport_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("button") << false;
        QTest::newRow("menu entry") << true;
    }

    void printingOpensTheListingReport() {
        QFETCH(bool, fromMenu);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        QStringList opened;
        f.RunModalsWith([&opened](QDialog& dialog) {
            opened << dialog.objectName();
            dialog.close();
            return int(mrCancel);
        });
        if (fromMenu) {
            f.Find<QAction>("mnuListagem")->trigger();
        } else {
            f.Find<TButtonFlat>("sbtImprimir")->click();
        }
        QCOMPARE(opened, QStringList{"frmRelListComen"});
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void anInsertCancelledOnAnEmptyGridLeavesTheCommandsOfAnEmptyScreen() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.FilterByService(kLunch);
        f.Find<TButtonFlat>("sbtIncluir")->click();
        QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Insert);
        f.Find<TButtonFlat>("sbtCancelar")->click();
        QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(f.Screen().cdsEfetFatu.RecordCount(), 0);
        QCOMPARE(f.EnabledCommands(), QStringLiteral("sbtIncluir, sbtCadastro, sbtImpEfetTrans"));
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void verifyingReloadsTheRowsOfTheFilter() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.FilterByDate(kTenth);
        TDBGrid* grid = f.Find<TDBGrid>("dbgData");
        QCOMPARE(f.Cell(grid, 1, "QTCOMEFATU"), QString());
        f.Seed().Headcount({kBranch, kClient, kDinner, kTenth}, 45, 50);

        f.Find<TButtonFlat>("sbtVerificar")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("GetEfetFatu"), 2);
        QCOMPARE(f.Cell(grid, 1, "QTCOMEFATU"), QStringLiteral("45,000"));
        QCOMPARE(f.Screen().dtsPadrao.State(), DataSetState::Browse);
    }
};

FAI_UI_TEST_MAIN(EditingTest)
#include "test_editing.moc"
