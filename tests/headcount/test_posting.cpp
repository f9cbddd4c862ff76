// Posting a headcount row: its checks in their order, the counts it zero-fills, the checks
// made when a grid column is left, and the confirm that reloads and comes back to the row.
#include "BusyIndicator.h"
#include "HeadcountFixture.h"
#include "SqlSession.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"

#include <QTabBar>
#include <QTabWidget>

using namespace fai;
using namespace fai::testing;

namespace {

const QDate kNinth(2026, 3, 9);

const QString kDataBloq = QStringLiteral(
    "Data bloqueada para alteração de efetivos para faturamento para dias fechados.");
const QString kEfetApur = QStringLiteral("Efetivos do cliente já apurados na data selecionada.");
const QString kDataEmp = QStringLiteral("Data faturamento deve ser informada.");
const QString kDataJaCad = QStringLiteral("Data faturamento já cadastrada.");
const QString kNComeFatu = QStringLiteral("N° comensais faturados deve ser maior ou igual a zero.");
const QString kNComePrev = QStringLiteral("N° comensais previstos deve ser maior ou igual a zero.");
const QString kValoVend = QStringLiteral("Valor Venda deve ser maior ou igual a zero.");
const QString kEfetDifere =
    QStringLiteral("Lançamento de comensais faturados difere do lançamento do Planejamento.");

// The planning's refusal, the figures after its own text.
QString PlanningMessage(const char* planned, const char* billed) {
    return kEfetDifere + QStringLiteral("\nPlanejamento: %1; faturados: %2.")
                             .arg(QLatin1String(planned), QLatin1String(billed));
}

// The shifts' refusal of a row being typed, with the way to change both.
QString ShiftSumMessage(const char* difference, const char* billed, const char* stored) {
    return QStringLiteral(
               "A soma das quantidades informada nos Turnos difere de %1 da "
               "quantidade do serviço que é %2.\nOs turnos gravados somam %3. Para gravar o "
               "efetivo com %2, corrija os turnos para somarem %2: Ctrl+T abre os turnos deste "
               "efetivo sem perder o que foi digitado, e Ctrl+E volta para confirmar a linha "
               "(F10).")
        .arg(QLatin1String(difference), QLatin1String(billed), QLatin1String(stored));
}

Key LunchOn(const QDate& date) { return {kBranch, kClient, kLunch, date}; }

// The client with lunch only, compared with the catering planning, and two shifts.
void SeedComparedLunch(HeadcountFixture& f) {
    f.Seed()
        .Branch(kBranch, kBranchName)
        .Client(QStringLiteral("J"), kNumber, kClientName)
        .ClientAt(kBranch, kClient)
        .Service(kBranch, kLunch, QStringLiteral("ALMOCO"))
        .ClientService(kBranch, kClient, kLunch, QVariant(), QStringLiteral("S"))
        .Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"))
        .Shift(kBranch, QStringLiteral("2"), QStringLiteral("TARDE"))
        .Shift(kBranch, QStringLiteral("3"), QStringLiteral("NOITE"));
}

// The quantities stored for the shifts "1", "2"... of the row's key.
void SeedShifts(HeadcountFixture& f, const Key& key, const QList<double>& quantities) {
    for (int shift = 0; shift < quantities.size(); ++shift)
        f.Seed().ShiftQuantity(key, QString::number(shift + 1), quantities[shift]);
}

void SetOrClear(Field& field, const QVariant& value) {
    if (value.isNull()) {
        field.Clear();
    } else {
        field.SetAsFloat(value.toDouble());
    }
}

void ClickTab(TfrmEfetFatur& screen, QWidget* page) {
    QTabBar* bar = screen.pgcPadrao->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->tabRect(screen.pgcPadrao->indexOf(page)).center());
    QCoreApplication::processEvents();
}

QString SelectedField(const TDBGrid* grid) {
    const Field* field = grid->SelectedField();
    return field ? field->FieldName() : QString();
}

// What a new row of the by-service grid holds when it is confirmed.
struct NewRow {
    QDate date;  // invalid: the date cleared
    QVariant billed, forecast, value;
};

// What the database holds besides the row.
struct Around {
    bool closedBefore10th = false;
    bool assessed = false;
    QList<double> shifts = {};  // stored for the row's date, which then has a stored row too
    bool stored = false;        // the row's date already has a row
    double planned = 0;
};

// A client's service: compared with the catering planning, and whether a sale value may be
// typed for each date ("S" or "N").
struct ServiceFlags {
    QString compared, valuePerDate;
};

// Counts or sale values typed down one column of the by-date grid: into lunch's cell, then,
// after the down arrow, into dinner's below it.
struct DownTheColumn {
    ServiceFlags lunch, dinner;
    QString column;
    QStringList typed;
};

struct Refusal {
    QString message;
    // The grid's selected column afterwards; it was the sale value's before the confirm.
    QString selected;
    bool boComen = false;
};

}  // namespace

Q_DECLARE_METATYPE(NewRow)
Q_DECLARE_METATYPE(Around)
Q_DECLARE_METATYPE(Refusal)
Q_DECLARE_METATYPE(DownTheColumn)

class PostingTest : public QObject {
    Q_OBJECT

  private slots:
    void aPostStopsAtTheFirstFailingCheck_data() {
        QTest::addColumn<NewRow>("row");
        QTest::addColumn<Around>("around");
        QTest::addColumn<Refusal>("refusal");
        const QVariant none;
        QTest::newRow("a closed day before a negative count")
            << NewRow{kNinth, -1, 0, 0} << Around{.closedBefore10th = true}
            << Refusal{kDataBloq, "DTFATURAM"};
        QTest::newRow("an assessed day before a negative count")
            << NewRow{kTenth, -1, 0, 0} << Around{.assessed = true}
            << Refusal{kEfetApur, "VRSERVFATUDT"};
        QTest::newRow("shifts that disagree before the date already taken")
            << NewRow{kTenth, 100, -1, 0} << Around{.shifts = {60, 60}, .stored = true}
            << Refusal{ShiftSumMessage("20", "100", "120"), "VRSERVFATUDT"};
        // The shifts are checked before the empty count becomes 0.
        QTest::newRow("an empty count against stored shifts")
            << NewRow{kTenth, none, none, none} << Around{.shifts = {60, 60}, .stored = true}
            << Refusal{ShiftSumMessage("120", "0", "120"), "VRSERVFATUDT"};
        QTest::newRow("no date before a negative count")
            << NewRow{QDate(), -1, 0, 0} << Around{} << Refusal{kDataEmp, "DTFATURAM"};
        QTest::newRow("a date already taken before a negative count")
            << NewRow{kTenth, -1, 0, 0} << Around{.stored = true}
            << Refusal{kDataJaCad, "DTFATURAM"};
        QTest::newRow("a negative billed count")
            << NewRow{kTenth, -0.001, -1, 0} << Around{} << Refusal{kNComeFatu, "QTCOMEFATU", true};
        QTest::newRow("a negative forecast count")
            << NewRow{kTenth, none, -1, 0} << Around{} << Refusal{kNComePrev, "QTCOMEPREV"};
        QTest::newRow("a negative sale value after both counts")
            << NewRow{kTenth, none, none, -1} << Around{} << Refusal{kValoVend, "VRSERVFATUDT"};
        QTest::newRow("a billed count the planning does not have")
            << NewRow{kTenth, 100, 0, 0} << Around{.planned = 150}
            << Refusal{PlanningMessage("150", "100"), "VRSERVFATUDT"};
    }

    void aPostStopsAtTheFirstFailingCheck() {
        QFETCH(NewRow, row);
        QFETCH(Around, around);
        QFETCH(Refusal, refusal);
        HeadcountFixture f;
        SeedComparedLunch(f);
        if (around.closedBefore10th) f.Seed().Params(kBranch, kTenth, "S", 0, "S");
        if (around.assessed)
            f.Seed().Period(kBranch, kClient, QStringLiteral("0000000001"), QDate(2026, 3, 1),
                            QDate(2026, 3, 15));
        if (around.stored || !around.shifts.isEmpty())
            f.Seed().Headcount(LunchOn(row.date), 50, 50);
        SeedShifts(f, LunchOn(row.date), around.shifts);
        if (around.planned != 0) f.Seed().Planning(LunchOn(row.date), around.planned);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        f.Find<TButtonFlat>("sbtIncluir")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        ClientDataSet& rows = screen.cdsEfetFatu;
        QCOMPARE(rows.State(), DataSetState::Insert);
        if (row.date.isValid()) {
            rows.FieldByName("DTFATURAM").SetAsDateTime(row.date);
        } else {
            rows.FieldByName("DTFATURAM").Clear();
        }
        SetOrClear(rows.FieldByName("QTCOMEFATU"), row.billed);
        SetOrClear(rows.FieldByName("QTCOMEPREV"), row.forecast);
        SetOrClear(rows.FieldByName("VRSERVFATUDT"), row.value);
        boComen = !refusal.boComen;
        screen.dbgServico->SetSelectedIndex(IndiceCol(screen.dbgServico, "VRSERVFATUDT"));

        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), QStringList{refusal.message});
        QCOMPARE(rows.State(), DataSetState::Insert);
        QCOMPARE(boComen, refusal.boComen);
        QCOMPARE(SelectedField(screen.dbgServico), refusal.selected);
        QVERIFY(screen.dbgServico->hasFocus());
        QCOMPARE(ShowAviDepth(), 0);
        // Counts are zero-filled only once the checks before them passed.
        const bool reachedCounts = refusal.message == kNComePrev || refusal.message == kValoVend ||
                                   refusal.message.startsWith(kEfetDifere);
        if (row.billed.isNull())
            QCOMPARE(rows.FieldByName("QTCOMEFATU").AsString().isEmpty(), !reachedCounts);
        if (refusal.message == kValoVend) QCOMPARE(rows.FieldByName("QTCOMEPREV").AsFloat(), 0.0);
        QCOMPARE(f.Seed().Count("EFETFATUR"), around.stored || !around.shifts.isEmpty() ? 1 : 0);
    }

    void emptyCountsAreStoredAsZeroAndNotNamedAsEmpty() {
        HeadcountFixture f;
        SeedComparedLunch(f);
        f.Open();
        f.FilterByService(kLunch);
        f.Find<TButtonFlat>("sbtIncluir")->click();
        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(screen.NullFields,
                 QStringLiteral("NMSERVICO|CDFILIFATU|NRAPURACFAT|DSEMISSERCLI|"));
        const auto stored = f.Seed().Headcount(LunchOn(kTenth));
        QVERIFY(stored.has_value());
        QCOMPARE(stored->billed, 0.0);
        QCOMPARE(stored->forecast, 0.0);
        QCOMPARE(stored->value, 0.0);
    }

    // A stored row keeps its own date: only a new one asks the server whether it is taken.
    void onlyANewRowHasItsDateCheckedOnTheServer_data() {
        QTest::addColumn<bool>("insert");
        QTest::newRow("a new row") << true;
        QTest::newRow("a stored row edited") << false;
    }

    void onlyANewRowHasItsDateCheckedOnTheServer() {
        QFETCH(bool, insert);
        HeadcountFixture f;
        SeedComparedLunch(f);
        f.Seed().Headcount(LunchOn(kTenth), 50, 50);
        f.Open();
        f.FilterByService(kLunch);
        ClientDataSet& rows = f.Screen().cdsEfetFatu;
        if (insert) {
            f.Find<TButtonFlat>("sbtIncluir")->click();
            rows.FieldByName("DTFATURAM").SetAsDateTime(kTenth);
        } else {
            f.Find<TButtonFlat>("sbtAlterar")->click();
        }
        rows.FieldByName("QTCOMEFATU").SetAsFloat(70);
        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), insert ? QStringList{kDataJaCad} : QStringList());
        QCOMPARE(f.Calls("GetValidaData"), insert ? 1 : 0);
        QCOMPARE(f.Seed().Headcount(LunchOn(kTenth))->billed, insert ? 50.0 : 70.0);
    }

    void theShiftsMustAddUpToTheBilledCount_data() {
        QTest::addColumn<QList<double>>("shifts");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("billed");
        QTest::addColumn<QString>("message");
        QTest::newRow("60 and 60 against 100")
            << QList<double>{60, 60} << "100" << 100.0 << ShiftSumMessage("20", "100", "120");
        QTest::newRow("60 and 60 against 120")
            << QList<double>{60, 60} << "120" << 120.0 << QString();
        QTest::newRow("100 against 100,5")
            << QList<double>{100} << "100,5" << 100.5 << ShiftSumMessage("0,5", "100,5", "100");
        QTest::newRow("no shifts stored") << QList<double>{} << "77" << 77.0 << QString();
        // Their sum in binary floating point is not exactly 100.
        QTest::newRow("33,3 and 33,3 and 33,4 against 100")
            << QList<double>{33.3, 33.3, 33.4} << "100" << 100.0 << QString();
    }

    void theShiftsMustAddUpToTheBilledCount() {
        QFETCH(QList<double>, shifts);
        QFETCH(QString, typed);
        QFETCH(double, billed);
        QFETCH(QString, message);
        HeadcountFixture f;
        SeedComparedLunch(f);
        f.Seed().Headcount(LunchOn(kTenth), 50, 50);
        SeedShifts(f, LunchOn(kTenth), shifts);
        f.Open();
        f.FilterByDate(kTenth);
        TDBGrid* grid = f.Find<TDBGrid>("dbgData");
        grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
        TypeKeys(typed);
        f.Find<TButtonFlat>("sbtConfirmar")->click();

        const bool refused = !message.isEmpty();
        QCOMPARE(f.TakeMessages(), refused ? QStringList{message} : QStringList());
        QCOMPARE(f.Screen().cdsEfetFatu.State(),
                 refused ? DataSetState::Edit : DataSetState::Browse);
        QCOMPARE(ShowAviDepth(), 0);
        if (refused) QVERIFY(grid->hasFocus());
        QCOMPARE(f.Seed().Headcount(LunchOn(kTenth))->billed, refused ? 50 : billed);
    }

    // Leaving a count's column with a negative count refuses it there, before the post.
    void leavingACountColumnChecksTheCount_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("billed");
        QTest::newRow("by date, billed") << 0 << "QTCOMEFATU" << kNComeFatu << true;
        QTest::newRow("by date, forecast") << 0 << "QTCOMEPREV" << kNComePrev << false;
        QTest::newRow("by service, billed") << 1 << "QTCOMEFATU" << kNComeFatu << true;
        QTest::newRow("by service, forecast") << 1 << "QTCOMEPREV" << kNComePrev << false;
    }

    void leavingACountColumnChecksTheCount() {
        QFETCH(int, mode);
        QFETCH(QString, column);
        QFETCH(QString, message);
        QFETCH(bool, billed);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(LunchOn(kTenth), 50, 50);
        f.Open();
        f.FilterByMode(mode);
        TDBGrid* grid = f.VisibleGrid();
        grid->SetSelectedIndex(IndiceCol(grid, column));
        f.Screen().cdsEfetFatu.Edit();
        f.Screen().cdsEfetFatu.FieldByName(column).SetAsFloat(-1);
        boComen = !billed;
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(f.TakeMessages(), QStringList{message});
        QCOMPARE(SelectedField(grid), column);
        QVERIFY(grid->hasFocus());
        QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Edit);
        // Only the by-date grid tells which count failed.
        QCOMPARE(boComen, mode == 0 ? billed : !billed);

        f.Screen().cdsEfetFatu.FieldByName(column).SetAsFloat(0);
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(f.TakeMessages(), QStringList());
        QVERIFY(SelectedField(grid) != column);
    }

    // The service record follows the row under the cursor, asked for once per row.
    void byDateTheServiceRecordIsFetchedOncePerRow() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.FilterByDate(kTenth);
        TfrmEfetFatur& screen = f.Screen();
        TDBGrid* grid = screen.dbgData;
        grid->SetSelectedIndex(0);
        boTestaPas = true;
        const int before = f.Calls("GetServico");
        for (int column = 0; column < 3; ++column) QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(f.Calls("GetServico"), before + 1);
        QCOMPARE(screen.cdsServico.FieldByName("CDSERVFILI").AsString(), kLunch);

        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("CDSERVFILI").AsString(), kDinner);
        for (int column = 0; column < 2; ++column) QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(f.Calls("GetServico"), before + 2);
        QCOMPARE(screen.cdsServico.FieldByName("CDSERVFILI").AsString(), kDinner);
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    // By date each row is checked and typed into with its own service's flags, however the
    // cursor came to it: going down a column leaves no column behind that would fetch them.
    void byDateEachRowFollowsItsOwnService_data() {
        QTest::addColumn<DownTheColumn>("down");
        QTest::addColumn<QString>("refusal");
        // What lunch and dinner store in the column afterwards; null when no row is stored.
        QTest::addColumn<QVariantList>("stored");
        const QVariant none;
        QTest::newRow("compared with the planning, then not")
            << DownTheColumn{{"S", "N"}, {"N", "N"}, "QTCOMEFATU", {"100", "90"}} << QString()
            << QVariantList{100.0, 90.0};
        QTest::newRow("not compared with the planning, then compared")
            << DownTheColumn{{"N", "N"}, {"S", "N"}, "QTCOMEFATU", {"90", "90"}}
            << PlanningMessage("100", "90") << QVariantList{90.0, none};
        QTest::newRow("a sale value per date, then none")
            << DownTheColumn{{"N", "S"}, {"N", "N"}, "VRSERVFATUDT", {"5", "5"}} << QString()
            << QVariantList{5.0, none};
        QTest::newRow("no sale value per date, then one")
            << DownTheColumn{{"N", "N"}, {"N", "S"}, "VRSERVFATUDT", {"5", "5"}} << QString()
            << QVariantList{none, 5.0};
    }

    void byDateEachRowFollowsItsOwnService() {
        QFETCH(DownTheColumn, down);
        QFETCH(QString, refusal);
        QFETCH(QVariantList, stored);
        HeadcountFixture f;
        const Key dinner{kBranch, kClient, kDinner, kTenth};
        f.Seed()
            .Branch(kBranch, kBranchName)
            .Client(QStringLiteral("J"), kNumber, kClientName)
            .ClientAt(kBranch, kClient)
            .Service(kBranch, kLunch, QStringLiteral("ALMOCO"))
            .Service(kBranch, kDinner, QStringLiteral("JANTAR"))
            .ClientService(kBranch, kClient, kLunch, QVariant(), down.lunch.compared,
                           down.lunch.valuePerDate)
            .ClientService(kBranch, kClient, kDinner, QVariant(), down.dinner.compared,
                           down.dinner.valuePerDate)
            .Planning(LunchOn(kTenth), 100)
            .Planning(dinner, 100);
        f.Open();
        f.FilterByDate(kTenth);
        TfrmEfetFatur& screen = f.Screen();
        TDBGrid* grid = screen.dbgData;
        // On lunch's row the clerk tabs from the service's code to the column...
        grid->SetSelectedIndex(0);
        for (int tabs = 0; tabs < grid->ColumnCount() && SelectedField(grid) != down.column; ++tabs)
            QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(SelectedField(grid), down.column);
        // ...and types down it.
        TypeKeys(down.typed[0]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.FieldByName("CDSERVFILI").AsString(), kDinner);
        TypeKeys(down.typed[1]);
        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
        const auto storedIn = [&](const Key& key) {
            const auto row = f.Seed().Headcount(key);
            if (!row) return QVariant();
            return QVariant(down.column == QLatin1String("QTCOMEFATU") ? row->billed : row->value);
        };
        QCOMPARE((QVariantList{storedIn(LunchOn(kTenth)), storedIn(dinner)}), stored);
    }

    // A date refused as its cell is left stays in the open cell, selected, for the clerk to
    // type over: the next key goes into the cell, not to the grid.
    void aRefusedDateStaysSelectedInItsCell_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("a day already entered") << "10032026" << kDataJaCad;
        QTest::newRow("a closed day") << "02032026" << kDataBloq;
    }

    void aRefusedDateStaysSelectedInItsCell() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(LunchOn(kTenth), 50, 50);
        f.Seed().Params(kBranch, kTenth, "S", 3, "S");
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        TDBGrid* grid = screen.dbgServico;
        f.Find<TButtonFlat>("sbtIncluir")->click();
        QCOMPARE(SelectedField(grid), QStringLiteral("DTFATURAM"));
        TypeKeys(typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(f.TakeMessages(), QStringList{message});
        TMaskEdit* cell = grid->InplaceEditor();
        QVERIFY(cell);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(cell));
        QVERIFY(!cell->text().isEmpty());
        QCOMPARE(cell->selectedText(), cell->text());

        TypeKeys(QStringLiteral("11032026"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), kEleventh);
        // Past the weekday, which takes no typing, to the billed count.
        QCOMPARE(SelectedField(grid), QStringLiteral("QTCOMEFATU"));
    }

    // A stored day keeps its date: clearing it is refused on the screen, in the date's cell,
    // with the row still as typed, and nothing goes to the server.
    void aStoredDayCannotLoseItsDate() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(LunchOn(kTenth), 50, 50);
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        f.Find<TButtonFlat>("sbtAlterar")->click();
        ClientDataSet& rows = screen.cdsEfetFatu;
        QCOMPARE(rows.State(), DataSetState::Edit);
        rows.FieldByName("QTCOMEFATU").SetAsFloat(60);
        rows.FieldByName("DTFATURAM").Clear();
        screen.dbgServico->SetSelectedIndex(IndiceCol(screen.dbgServico, "QTCOMEFATU"));

        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), QStringList{kDataEmp});
        QCOMPARE(rows.State(), DataSetState::Edit);
        QCOMPARE(SelectedField(screen.dbgServico), QStringLiteral("DTFATURAM"));
        QVERIFY(screen.dbgServico->hasFocus());
        QCOMPARE(rows.FieldByName("QTCOMEFATU").AsFloat(), 60.0);
        QCOMPARE(f.Calls("UpdEfetFatu"), 0);
        QCOMPARE(f.Seed().Headcount(LunchOn(kTenth))->billed, 50.0);
    }

    void leavingTheDateOfANewRowChecksIt_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("validations");
        QTest::newRow("a free open day") << QDate(2026, 3, 11) << QString() << 1;
        QTest::newRow("a day already entered") << kTenth << kDataJaCad << 1;
        QTest::newRow("a closed day") << QDate(2026, 3, 2) << kDataBloq << 1;
        QTest::newRow("no day") << QDate() << QString() << 0;
    }

    void leavingTheDateOfANewRowChecksIt() {
        QFETCH(QDate, date);
        QFETCH(QString, message);
        QFETCH(int, validations);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(LunchOn(kTenth), 50, 50);
        f.Seed().Params(kBranch, kTenth, "S", 3, "S");
        f.Open();
        f.FilterByService(kLunch);
        TfrmEfetFatur& screen = f.Screen();
        f.Find<TButtonFlat>("sbtIncluir")->click();
        Field& billingDate = screen.cdsEfetFatu.FieldByName("DTFATURAM");
        if (date.isValid()) {
            billingDate.SetAsDateTime(date);
        } else {
            billingDate.Clear();
        }
        QCOMPARE(SelectedField(screen.dbgServico), QStringLiteral("DTFATURAM"));
        QTest::keyClick(screen.dbgServico, Qt::Key_Tab);
        QCOMPARE(f.TakeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(f.Calls("GetValidaData"), validations);
        QCOMPARE(SelectedField(screen.dbgServico) == QLatin1String("DTFATURAM"),
                 !message.isEmpty());
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Insert);
        QCOMPARE(ShowAviDepth(), 0);
    }

    // Confirming reloads only once the shift tab was shown, so that what others saved
    // meanwhile appears; either way the cursor comes back to the row confirmed.
    void confirmingReloadsAndComesBackToTheRow_data() {
        QTest::addColumn<bool>("shiftTabShown");
        QTest::newRow("shift tab shown") << true;
        QTest::newRow("shift tab not shown") << false;
    }

    void confirmingReloadsAndComesBackToTheRow() {
        QFETCH(bool, shiftTabShown);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(LunchOn(kTenth), 50, 50);
        f.Seed().Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"));
        f.Open();
        f.FilterByDate(kTenth);
        TfrmEfetFatur& screen = f.Screen();
        QTest::keyClick(screen.dbgData, Qt::Key_Down);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("CDSERVFILI").AsString(), kDinner);
        if (shiftTabShown) {
            // Clicked with the mouse while the grid holds the focus: the tab bar takes none,
            // so the focus goes from page to page without the filter being entered or left.
            ClickTab(screen, screen.tshTurno);
            QCOMPARE(f.Calls("GetTurno"), 1);
            ClickTab(screen, screen.tshEfetivo);
            QVERIFY(screen.dbgData->hasFocus());
            QVERIFY(screen.cdsTurno.Active());
            QCOMPARE(screen.cdsEfetFatu.FieldByName("CDSERVFILI").AsString(), kDinner);
        }
        f.Seed().Session().Run(QStringLiteral("UPDATE EFETFATUR SET QTCOMEFATU = 125"));
        QCOMPARE(f.Calls("GetEfetFatu"), 1);
        const int loads = f.Calls("GetEfetFatu");

        screen.dbgData->SetSelectedIndex(IndiceCol(screen.dbgData, "QTCOMEFATU"));
        TypeKeys(QStringLiteral("80"));
        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages().join("; "), QString());
        QCOMPARE(f.Calls("GetEfetFatu"), loads + (shiftTabShown ? 1 : 0));
        QCOMPARE(screen.cdsEfetFatu.FieldByName("CDSERVFILI").AsString(), kDinner);
        QCOMPARE(f.Cell(screen.dbgData, 0, "QTCOMEFATU"),
                 shiftTabShown ? QStringLiteral("125,000") : QStringLiteral("50,000"));
        QCOMPARE(f.Cell(screen.dbgData, 1, "QTCOMEFATU"), QStringLiteral("80,000"));
    }

    // A shift quantity still in edit is saved by the confirm, and the rows are not reloaded
    // under it.
    void confirmingOnTheShiftTabSavesTheShift() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(LunchOn(kTenth), 50, 50);
        f.Seed().Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"));
        f.Open();
        f.FilterByDate(kTenth);
        TfrmEfetFatur& screen = f.Screen();
        screen.pgcPadrao->setCurrentWidget(screen.tshTurno);
        QCOMPARE(screen.cdsTurno.RecordCount(), 1);
        const int loads = f.Calls("GetEfetFatu");
        screen.cdsTurno.Edit();
        screen.cdsTurno.FieldByName("QTCOMFATUTUR").SetAsFloat(50);
        f.Find<TButtonFlat>("sbtConfirmar")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsTurno.State(), DataSetState::Browse);
        QCOMPARE(f.Seed().ShiftQuantity(LunchOn(kTenth), QStringLiteral("1")),
                 std::optional<double>(50));
        QCOMPARE(f.Calls("GetEfetFatu"), loads);
    }
};

FAI_UI_TEST_MAIN(PostingTest)
#include "test_posting.moc"
