// The "Turno" tab of the headcount screen: the shifts of the row under the cursor, loaded at
// every switch to the tab; a grid that neither gains nor loses rows; the checks of a shift's
// quantity and its save at once; the filter locked while a shift is edited.
#include "BusyIndicator.h"
#include "HeadcountFixture.h"
#include "SqlSession.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"

#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

using namespace fai;
using namespace fai::testing;

namespace {

const QString kOtherBranch = QStringLiteral("0002");

enum Mode { ByDate = 0, ByService = 1 };

// The client with lunch on the 10th and 11th and dinner on the 10th, the branch's three
// shifts, and a shift of another branch that must never show.
void SeedRowsAndShifts(HeadcountFixture& f) {
    f.SeedClientWithServices()
        .Seed()
        .Headcount(kLunchOnTheTenth, 100, 100)
        .Headcount(kLunchOnTheEleventh, 80.5, 90)
        .Headcount(kDinnerOnTheTenth, 80.5, 80)
        .Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"))
        .Shift(kBranch, QStringLiteral("2"), QStringLiteral("TARDE"))
        .Shift(kBranch, QStringLiteral("3"), QStringLiteral("NOITE"))
        .Branch(kOtherBranch, QStringLiteral("Filial Sorocaba"))
        .Shift(kOtherBranch, QStringLiteral("4"), QStringLiteral("MADRUGADA"));
}

// By date on the 10th (lunch, then dinner), or by service on lunch (the 10th, then the 11th),
// the cursor on the first row: by service the grid opens on the latest day, Ctrl+Home goes
// to the first.
void Load(HeadcountFixture& f, int mode) {
    if (mode == ByDate) {
        f.FilterByDate(kTenth);
    } else {
        f.FilterByService(kLunch);
        f.GoToFirstRow();
    }
}

// The second headcount row: dinner on the 10th by date, lunch on the 11th by service.
Key SecondRowKey(int mode) { return mode == ByDate ? kDinnerOnTheTenth : kLunchOnTheEleventh; }

QTabWidget* Pages(HeadcountFixture& f) { return f.Find<QTabWidget>("pgcPadrao"); }

// The keyboard's way to another tab: onto the tab bar, then the arrow towards the tab.
void ShowTab(HeadcountFixture& f, const char* tab) {
    QTabBar* bar = Pages(f)->tabBar();
    bar->setFocus();
    const int target = Pages(f)->indexOf(f.Find<QWidget>(tab));
    QTest::keyClick(bar, target > bar->currentIndex() ? Qt::Key_Right : Qt::Key_Left);
}

// The shift tab shown and its grid in the keyboard's hands, on the quantity of the shift in
// row `row`.
TDBGrid* ShowShiftsOn(HeadcountFixture& f, int row) {
    ShowTab(f, "tshTurno");
    auto* grid = f.Find<TDBGrid>("dbgTurno");
    grid->setFocus();
    grid->SetSelectedIndex(IndiceCol(grid, "QTCOMFATUTUR"));
    for (int i = 0; i < row; ++i) QTest::keyClick(grid, Qt::Key_Down);
    return grid;
}

// Opens the cell's editor, empties it and types `text` into it.
void RetypeQuantity(const QString& text) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    TypeKeys(text);
}

void Confirm(HeadcountFixture& f) { f.Find<TButtonFlat>("sbtConfirmar")->click(); }

QStringList ShiftColumn(HeadcountFixture& f, const char* field) {
    TDBGrid* grid = f.Find<TDBGrid>("dbgTurno");
    QStringList cells;
    for (int row = 0; row < grid->model()->rowCount(); ++row) cells << f.Cell(grid, row, field);
    return cells;
}

}  // namespace

class ShiftsTest : public QObject {
    Q_OBJECT

  private slots:
    void theTabLoadsTheShiftsOfTheRowUnderTheCursor_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("clicked");
        QTest::newRow("by date") << int(ByDate) << false;
        QTest::newRow("by service") << int(ByService) << false;
        QTest::newRow("by service, the tab clicked from the grid") << int(ByService) << true;
    }

    void theTabLoadsTheShiftsOfTheRowUnderTheCursor() {
        QFETCH(int, mode);
        QFETCH(bool, clicked);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        // Quantities of the first row too, so that a load for the wrong row shows; the
        // second row's add up to its billed count.
        f.Seed()
            .ShiftQuantity(kLunchOnTheTenth, QStringLiteral("1"), 11)
            .ShiftQuantity(SecondRowKey(mode), QStringLiteral("2"), 40)
            .ShiftQuantity(SecondRowKey(mode), QStringLiteral("3"), 40.5);
        f.Open();
        Load(f, mode);
        QTest::keyClick(f.VisibleGrid(), Qt::Key_Down);
        QCOMPARE(f.Calls("GetTurno"), 0);

        if (clicked) {
            QTabBar* bar = Pages(f)->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        } else {
            ShowTab(f, "tshTurno");
        }
        TfrmEfetFatur& screen = f.Screen();
        // The headcounts stay as loaded, the cursor where it was.
        QCOMPARE(f.Calls("GetEfetFatu"), 1);
        QCOMPARE(screen.cdsEfetFatu.RecNo(), 2);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("GetTurno"), 1);
        QCOMPARE(ShowAviDepth(), 0);
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Browse);
        QCOMPARE(ShiftColumn(f, "CDTURNO"), (QStringList{"1", "2", "3"}));
        QCOMPARE(ShiftColumn(f, "NMTURNO"), (QStringList{"MANHA", "TARDE", "NOITE"}));
        QCOMPARE(ShiftColumn(f, "QTCOMFATUTUR"), (QStringList{"", "40,00000", "40,50000"}));
        QCOMPARE(screen.CurServ, SecondRowKey(mode).service);
        QCOMPARE(screen.CurDate, SecondRowKey(mode).date);

        // Every switch to the tab asks again: another clerk's change shows.
        ShowTab(f, "tshEfetivo");
        QCOMPARE(f.Calls("GetTurno"), 1);
        f.Seed().Session().Run(
            QStringLiteral("UPDATE EFETTURNO SET QTCOMFATUTUR = 41 WHERE "
                           "CDTURNO = '2'"));
        ShowTab(f, "tshTurno");
        QCOMPARE(f.Calls("GetTurno"), 2);
        QCOMPARE(ShiftColumn(f, "QTCOMFATUTUR"), (QStringList{"", "41,00000", "40,50000"}));
        QCOMPARE(ShowAviDepth(), 0);
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    // A new row cancelled leaves the cursor on another row without a move of its own.
    void theTabLoadsTheShiftsOfTheRowBackUnderTheCursorAfterACancelledInsert() {
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("3"), 5);
        f.Open();
        Load(f, ByService);
        f.AnswerQuestionsWith(mrYes);
        f.Find<TButtonFlat>("sbtIncluir")->click();
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), QDate(2026, 3, 12));
        f.Find<TButtonFlat>("sbtCancelar")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), kTenth);

        ShowTab(f, "tshTurno");
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(ShiftColumn(f, "QTCOMFATUTUR"), (QStringList{"", "", "5,00000"}));
        QCOMPARE(screen.CurDate, kTenth);
    }

    // Verifying reloads the headcounts and puts the cursor on the first row by date, on the
    // latest day by service: the shifts shown are that row's, so that a shift typed next is
    // the row's own.
    void verifyingOnTheShiftTabShowsTheShiftsOfTheRowThenUnderTheCursor_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("by date") << int(ByDate);
        QTest::newRow("by service") << int(ByService);
    }

    void verifyingOnTheShiftTabShowsTheShiftsOfTheRowThenUnderTheCursor() {
        QFETCH(int, mode);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed()
            .ShiftQuantity(kLunchOnTheTenth, QStringLiteral("1"), 100)
            .ShiftQuantity(SecondRowKey(mode), QStringLiteral("2"), 80.5);
        f.Open();
        Load(f, mode);
        // On the row the reload does not come back to.
        if (mode == ByDate) QTest::keyClick(f.VisibleGrid(), Qt::Key_Down);
        ShowTab(f, "tshTurno");
        const QStringList first{"100,00000", "", ""};
        const QStringList second{"", "80,50000", ""};
        QCOMPARE(ShiftColumn(f, "QTCOMFATUTUR"), mode == ByDate ? second : first);

        f.Find<TButtonFlat>("sbtVerificar")->click();
        TfrmEfetFatur& screen = f.Screen();
        const Key under = mode == ByDate ? kLunchOnTheTenth : SecondRowKey(mode);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.RecNo(), mode == ByDate ? 1 : 2);
        QCOMPARE(screen.CurServ, under.service);
        QCOMPARE(screen.CurDate, under.date);
        QCOMPARE(ShiftColumn(f, "QTCOMFATUTUR"), mode == ByDate ? first : second);
        QCOMPARE(ShowAviDepth(), 0);
    }

    void aFailedLoadTakesTheBusyIndicatorDown() {
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Open();
        Load(f, ByService);
        f.Screen().netEfetFatur.Disconnect();

        ShowTab(f, "tshTurno");
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral("Não há conexão com o servidor de aplicação.")});
        QCOMPARE(ShowAviDepth(), 0);
        QVERIFY(!f.Screen().cdsTurno.Active());
    }

    void theGridNeverGainsNorLosesAShift_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Insert") << 0 << int(Qt::Key_Insert) << int(Qt::NoModifier);
        QTest::newRow("down arrow on the last shift")
            << 2 << int(Qt::Key_Down) << int(Qt::NoModifier);
        QTest::newRow("Ctrl+Delete") << 1 << int(Qt::Key_Delete) << int(Qt::ControlModifier);
    }

    void theGridNeverGainsNorLosesAShift() {
        QFETCH(int, row);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2"), 40);
        f.Open();
        Load(f, ByService);
        TDBGrid* grid = ShowShiftsOn(f, row);
        // A delete that got through would be confirmed.
        f.AnswerQuestionsWith(mrYes);

        QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsTurno.ChangeCount(), 0);
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(screen.cdsTurno.RecNo(), row + 1);
        QCOMPARE(f.Calls("SetTurno"), 0);
        QCOMPARE(f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2")), 40.0);
    }

    void aShiftOfAnAssessedDayCannotBeEdited_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("headcountRow");
        QTest::addColumn<bool>("refused");
        QTest::newRow("by date, the filter's day assessed") << int(ByDate) << 1 << true;
        QTest::newRow("by service, the row's day assessed") << int(ByService) << 0 << true;
        QTest::newRow("by service, the row's day after the period") << int(ByService) << 1 << false;
    }

    void aShiftOfAnAssessedDayCannotBeEdited() {
        QFETCH(int, mode);
        QFETCH(int, headcountRow);
        QFETCH(bool, refused);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed().Period(kBranch, kClient, QStringLiteral("0000000001"), QDate(2026, 3, 1), kTenth);
        f.Open();
        Load(f, mode);
        if (headcountRow == 1) QTest::keyClick(f.VisibleGrid(), Qt::Key_Down);
        TDBGrid* grid = ShowShiftsOn(f, 0);

        TypeKeys(QStringLiteral("5"));
        QCOMPARE(f.TakeMessages(),
                 refused ? QStringList{"Efetivos do cliente já apurados na data selecionada."}
                         : QStringList());
        QCOMPARE(f.Screen().cdsTurno.State(), refused ? DataSetState::Browse : DataSetState::Edit);
        QCOMPARE(grid->EditorMode(), !refused);
    }

    void aShiftsQuantityIsCheckedBeforeItIsSaved_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString informed = QStringLiteral("Quantidade por turno deve ser informada.");
        const QString negative = QStringLiteral("Quantidade deve ser maior ou igual a zero.");
        QTest::newRow("nothing stored, left empty") << QVariant() << "" << informed;
        QTest::newRow("nothing stored, 0") << QVariant() << "0" << informed;
        QTest::newRow("nothing stored, below zero") << QVariant() << "-1" << negative;
        QTest::newRow("40 stored, below zero") << QVariant(40.0) << "-1" << negative;
        QTest::newRow("40 stored, a thousandth below zero")
            << QVariant(40.0) << "-0,001" << negative;
    }

    void aShiftsQuantityIsCheckedBeforeItIsSaved() {
        QFETCH(QVariant, stored);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        if (stored.isValid())
            f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2"), stored.toDouble());
        f.Open();
        Load(f, ByService);
        ShowShiftsOn(f, 1);

        RetypeQuantity(typed);
        Confirm(f);
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(f.TakeMessages(), QStringList{message});
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Edit);
        QCOMPARE(f.Calls("SetTurno"), 0);
        const std::optional<double> expected =
            stored.isValid() ? std::optional(stored.toDouble()) : std::nullopt;
        QCOMPARE(f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2")), expected);
        // The edit is still the clerk's to correct.
        QVERIFY(!f.Find<QWidget>("medCdCliente")->isEnabled());
        QVERIFY(f.Find<TButtonFlat>("sbtCancelar")->isEnabled());
    }

    void aValidQuantityIsSavedAtOnce_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byMoving");
        QTest::addColumn<QVariant>("saved");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("nullFields");
        QTest::newRow("a first quantity, confirmed")
            << QVariant() << "25" << false << QVariant(25.0) << "25,00000"
            << "";
        QTest::newRow("a first quantity, the grid moved on")
            << QVariant() << "12,5" << true << QVariant(12.5) << "12,50000"
            << "";
        QTest::newRow("a stored quantity down to 0")
            << QVariant(40.0) << "0" << false << QVariant(0.0) << "0,00000"
            << "";
        QTest::newRow("a stored quantity emptied")
            << QVariant(40.0) << "" << false << QVariant() << ""
            << "QTCOMFATUTUR|";
    }

    void aValidQuantityIsSavedAtOnce() {
        QFETCH(QVariant, stored);
        QFETCH(QString, typed);
        QFETCH(bool, byMoving);
        QFETCH(QVariant, saved);
        QFETCH(QString, shown);
        QFETCH(QString, nullFields);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        if (stored.isValid())
            f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2"), stored.toDouble());
        f.Open();
        Load(f, ByService);
        ShowShiftsOn(f, 1);

        RetypeQuantity(typed);
        if (byMoving) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        } else {
            Confirm(f);
        }
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsTurno.ChangeCount(), 0);
        QCOMPARE(f.Calls("SetTurno"), 1);
        QCOMPARE(ShowAviDepth(), 0);
        const std::optional<double> expected =
            saved.isValid() ? std::optional(saved.toDouble()) : std::nullopt;
        QCOMPARE(f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2")), expected);
        QCOMPARE(ShiftColumn(f, "QTCOMFATUTUR").at(1), shown);
        QCOMPARE(screen.TurnoFields, nullFields);
        // Nothing of the other shifts was sent.
        QCOMPARE(f.Seed().Count(QStringLiteral("EFETTURNO")), expected ? 1 : 0);
    }

    void aRefusedSaveShowsTheStoredQuantitiesAgain_data() {
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("storedAfter");
        QTest::newRow("a closed day")
            << "closed"
            << "Serviço 00001, data 10/03/2026: Data bloqueada para alteração de "
               "efetivos para faturamento para dias fechados."
            << 40.0;
        QTest::newRow("a period assessed after the load")
            << "assessed"
            << "Serviço 00001, data 10/03/2026: Efetivos do cliente já apurados na data "
               "selecionada."
            << 40.0;
        QTest::newRow("another clerk changed the shift")
            << "changed"
            << "Turno 2 (Serviço 00001, data 10/03/2026): a quantidade foi "
               "alterada por outro usuário depois de carregada. Recarregue os "
               "turnos e refaça a alteração."
            << 45.0;
        QTest::newRow("the connection is gone")
            << "disconnected"
            << "Não há conexão com o servidor de aplicação." << 40.0;
    }

    void aRefusedSaveShowsTheStoredQuantitiesAgain() {
        QFETCH(QString, refusal);
        QFETCH(QString, message);
        QFETCH(double, storedAfter);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2"), 40);
        // The first open day is the 11th: the grids show the 10th read-only, the shifts
        // do not know it.
        if (refusal == QLatin1String("closed"))
            f.Seed().Params(kBranch, kEleventh, QStringLiteral("S"), 0, QStringLiteral("S"));
        f.Open();
        Load(f, ByService);
        ShowShiftsOn(f, 1);
        TfrmEfetFatur& screen = f.Screen();
        if (refusal == QLatin1String("assessed"))
            f.Seed().Period(kBranch, kClient, QStringLiteral("0000000001"), kTenth, kTenth);
        if (refusal == QLatin1String("changed"))
            f.Seed().Session().Run(QStringLiteral("UPDATE EFETTURNO SET QTCOMFATUTUR = 45"));
        if (refusal == QLatin1String("disconnected")) screen.netEfetFatur.Disconnect();

        RetypeQuantity(QStringLiteral("55"));
        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList{message});
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsTurno.ChangeCount(), 0);
        QCOMPARE(ShiftColumn(f, "QTCOMFATUTUR"), (QStringList{"", "40,00000", ""}));
        QCOMPARE(ShowAviDepth(), 0);
        QCOMPARE(f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2")), storedAfter);
        QVERIFY(f.Find<QWidget>("medCdCliente")->isEnabled());
    }

    void leavingTheShiftsChecksTheirSumAgainstTheRow_data() {
        QTest::addColumn<QList<double>>("quantities");
        QTest::addColumn<bool>("byMouse");
        QTest::addColumn<QString>("message");
        const QString twentyMore = QStringLiteral(
            "A soma das quantidades informada nos Turnos difere de 20 da "
            "quantidade do serviço que é 100.\nOs turnos gravados somam 120 e o efetivo tem "
            "100. Corrija os turnos para somarem 100. Para mudar também o número do efetivo, "
            "deixe os turnos somando 100, altere a linha na aba Efetivo (F6), digite o novo "
            "número e, antes de confirmar, corrija os turnos com Ctrl+T.");
        QTest::newRow("20 more than the row, a click on the client box")
            << QList<double>{60, 60} << true << twentyMore;
        QTest::newRow("20 more than the row, F12") << QList<double>{60, 60} << false << twentyMore;
        QTest::newRow("as many as the row, F12") << QList<double>{60, 40} << false << "";
        QTest::newRow("no breakdown, a click on the client box") << QList<double>{} << true << "";
    }

    void leavingTheShiftsChecksTheirSumAgainstTheRow() {
        QFETCH(QList<double>, quantities);
        QFETCH(bool, byMouse);
        QFETCH(QString, message);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        for (qsizetype shift = 0; shift < quantities.size(); ++shift)
            f.Seed().ShiftQuantity(kLunchOnTheTenth, QString::number(shift + 1), quantities[shift]);
        f.Open();
        Load(f, ByService);
        TDBGrid* grid = ShowShiftsOn(f, 0);
        const int sums = f.Calls("GetSomaTurno");

        auto* clientBox = f.Find<QWidget>("medCdCliente");
        if (byMouse) {
            QTest::mouseClick(clientBox, Qt::LeftButton);
        } else {
            QTest::keyClick(grid, Qt::Key_F12);
        }
        QCOMPARE(f.Calls("GetSomaTurno"), sums + 1);
        QCOMPARE(ShowAviDepth(), 0);
        if (message.isEmpty()) {
            QCOMPARE(f.TakeMessages(), QStringList());
            QCOMPARE(QApplication::focusWidget(), clientBox);
        } else {
            QCOMPARE(f.TakeMessages(), QStringList{message});
            QCOMPARE(QApplication::focusWidget(), grid);
            QCOMPARE(Pages(f)->currentWidget(), f.Find<QWidget>("tshTurno"));
            QVERIFY(f.Screen().cdsTurno.Active());
        }
    }

    // A row with a breakdown changed with its shifts, from the keyboard alone: the new billed
    // count is refused while the shifts add up to the old one, with the figures and the way;
    // Ctrl+T reaches the shifts of the row being changed, Ctrl+E comes back, and F10 saves
    // the row once its shifts add up to it.
    void aRowAndItsShiftsAreChangedTogether_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("by date") << int(ByDate);
        QTest::newRow("by service") << int(ByService);
    }

    void aRowAndItsShiftsAreChangedTogether() {
        QFETCH(int, mode);
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed()
            .ShiftQuantity(kLunchOnTheTenth, QStringLiteral("1"), 60)
            .ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2"), 40);
        f.Open();
        Load(f, mode);
        TfrmEfetFatur& screen = f.Screen();
        TDBGrid* grid = f.VisibleGrid();
        grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        RetypeQuantity(QStringLiteral("120"));
        press(Qt::Key_F10);
        const QStringList refused = f.TakeMessages();
        QCOMPARE(refused.size(), 1);
        QVERIFY(refused[0].startsWith(
            QStringLiteral("A soma das quantidades informada nos Turnos difere de 20 da "
                           "quantidade do serviço que é 120.\nOs turnos gravados somam 100.")));
        QVERIFY(refused[0].contains(QStringLiteral("Ctrl+T")));
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Edit);

        press(Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(Pages(f)->currentWidget(), f.Find<QWidget>("tshTurno"));
        auto* shifts = f.Find<TDBGrid>("dbgTurno");
        QCOMPARE(QApplication::focusWidget(), shifts);
        QCOMPARE(f.Find<QLabel>("lblTurno")->text(),
                 QStringLiteral("Turnos do efetivo: Serviço 00001 - ALMOCO, data 10/03/2026 "
                                "(Terça)"));
        shifts->SetSelectedIndex(IndiceCol(shifts, "QTCOMFATUTUR"));
        // Ctrl+E saves the shift being typed on its way back.
        RetypeQuantity(QStringLiteral("80"));
        press(Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("1")), 80.0);
        QCOMPARE(Pages(f)->currentWidget(), f.Find<QWidget>("tshEfetivo"));
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Edit);
        press(Qt::Key_F10);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, 120.0);
        QCOMPARE(f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2")), 40.0);
    }

    // The shifts changed first: leaving them says how to change the row too, and Ctrl+E is
    // refused as the mouse is, the focus kept on the shifts.
    void shiftsThatNoLongerAddUpSayTheWayAndKeepTheFocus() {
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("1"), 100);
        f.Open();
        Load(f, ByDate);
        TDBGrid* shifts = ShowShiftsOn(f, 0);
        RetypeQuantity(QStringLiteral("90"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
        const QStringList refused = f.TakeMessages();
        QCOMPARE(refused.size(), 1);
        QVERIFY(refused[0].contains(
            QStringLiteral("Os turnos gravados somam 90 e o efetivo tem 100. Corrija os turnos "
                           "para somarem 100.")));
        QVERIFY(refused[0].contains(QStringLiteral("F6")));
        QCOMPARE(Pages(f)->currentWidget(), f.Find<QWidget>("tshTurno"));
        QCOMPARE(QApplication::focusWidget(), shifts);
    }

    // The edit command is offered for a shift with diners only, whichever shift the grid
    // moves to.
    void theEditCommandFollowsTheShiftUnderTheCursor() {
        HeadcountFixture f;
        SeedRowsAndShifts(f);
        f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("2"), 40);
        f.Open();
        Load(f, ByDate);
        TDBGrid* grid = ShowShiftsOn(f, 0);
        auto* edit = f.Find<TButtonFlat>("sbtAlterar");
        QVERIFY(!edit->isEnabled());
        QTest::keyClick(grid, Qt::Key_Down);
        QVERIFY(edit->isEnabled());
        QTest::keyClick(grid, Qt::Key_Down);
        QVERIFY(!edit->isEnabled());
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void whileAShiftIsEditedTheFilterCannotChange_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("fixed");
        QTest::newRow("by service, branch free") << int(ByService) << false;
        QTest::newRow("by service, branch fixed by the working context") << int(ByService) << true;
        QTest::newRow("by date, branch free") << int(ByDate) << false;
    }

    void whileAShiftIsEditedTheFilterCannotChange() {
        QFETCH(int, mode);
        QFETCH(bool, fixed);
        ContextOptions options;
        options.branchFixed = fixed;
        HeadcountFixture f(options);
        SeedRowsAndShifts(f);
        f.Open();
        Load(f, mode);
        ShowShiftsOn(f, 0);

        TypeKeys(QStringLiteral("7"));
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Edit);
        for (const char* name : kFilterControls)
            QVERIFY2(!f.Find<QWidget>(name)->isEnabled(), name);
        QCOMPARE(f.EnabledCommands(), QStringLiteral("sbtConfirmar, sbtCancelar"));
        QVERIFY(!Pages(f)->isTabEnabled(Pages(f)->indexOf(f.Find<QWidget>("tshEfetivo"))));

        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Browse);
        QCOMPARE(f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("1")), 7.0);
        for (const char* name : kFilterControls) {
            const bool expected = !(fixed && IsBranchControl(QLatin1String(name)));
            QVERIFY2(f.Find<QWidget>(name)->isEnabled() == expected, name);
        }
        QVERIFY(Pages(f)->isTabEnabled(Pages(f)->indexOf(f.Find<QWidget>("tshEfetivo"))));
        QCOMPARE(f.EnabledCommands(), QStringLiteral("sbtAlterar, sbtVerificar"));
    }
};

FAI_UI_TEST_MAIN(ShiftsTest)
#include "test_shifts.moc"
