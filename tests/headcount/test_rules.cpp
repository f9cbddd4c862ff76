// The billing rules of the headcount screen: closed days, assessed periods, the planning and
// the service-client relation, and the branch parameters behind the first of them.
#include "BusyIndicator.h"
#include "EfetFaturData.h"
#include "HeadcountFixture.h"
#include "SqlSession.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"

using namespace fai;
using namespace fai::testing;

namespace {

// The commands of a loaded screen whose rows may or may not be changed.
const QString kOpenCommands =
    QStringLiteral("sbtAlterar, sbtExcluir, sbtProcurar, sbtVerificar, sbtImpEfetTrans");
const QString kClosedCommands = QStringLiteral("sbtProcurar, sbtVerificar");

struct Params {
    QDate processing;
    QString block;
    double openDays;
    QString use;
};

bool Editable(const TDBGrid* grid) { return grid->GridOptions() & TDBGrid::dgEditing; }

}  // namespace

Q_DECLARE_METATYPE(Params)

class RulesTest : public QObject {
    Q_OBJECT

  private slots:
    void theClosedDayRuleClosesTheDaysBeforeTheFirstOpenDate_data() {
        QTest::addColumn<bool>("hasParams");
        QTest::addColumn<Params>("params");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("open");
        const Params none{kTenth, "S", 0, "S"};
        const Params threeDays{kTenth, "S", 3, "S"};
        const Params halfDay{kTenth, "S", 2.5, "S"};
        QTest::newRow("the processing date is open") << true << none << kTenth << true;
        QTest::newRow("the day before is closed") << true << none << QDate(2026, 3, 9) << false;
        QTest::newRow("three days: 7 March open") << true << threeDays << QDate(2026, 3, 7) << true;
        QTest::newRow("three days: 6 March closed")
            << true << threeDays << QDate(2026, 3, 6) << false;
        // The first open date is 7 March at noon: 7 March begins before it.
        QTest::newRow("two days and a half: 7 March closed")
            << true << halfDay << QDate(2026, 3, 7) << false;
        QTest::newRow("two days and a half: 8 March open")
            << true << halfDay << QDate(2026, 3, 8) << true;
        QTest::newRow("closed days not blocked")
            << true << Params{kTenth, "N", 0, "S"} << QDate(2026, 1, 1) << true;
        QTest::newRow("processing date not in use")
            << true << Params{kTenth, "S", 0, "N"} << QDate(2026, 1, 1) << true;
        QTest::newRow("no parameters for the branch") << false << none << QDate(2026, 1, 1) << true;
    }

    void theClosedDayRuleClosesTheDaysBeforeTheFirstOpenDate() {
        QFETCH(bool, hasParams);
        QFETCH(Params, params);
        QFETCH(QDate, day);
        QFETCH(bool, open);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount({kBranch, kClient, kLunch, day}, 120, 120);
        if (hasParams)
            f.Seed().Params(kBranch, params.processing, params.block, params.openDays, params.use);
        f.Open();
        f.FilterByDate(day);
        QCOMPARE(f.TakeMessages(), QStringList());
        TDBGrid* grid = f.Find<TDBGrid>("dbgData");
        QCOMPARE(Editable(grid), open);
        QCOMPARE(Editable(f.Find<TDBGrid>("dbgServico")), open);
        QCOMPARE(f.EnabledCommands(), open ? kOpenCommands : kClosedCommands);

        // A closed day takes no typing either.
        grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
        QTest::keyClick(grid, Qt::Key_5);
        QCOMPARE(f.Screen().cdsEfetFatu.State(), open ? DataSetState::Edit : DataSetState::Browse);
    }

    void byServiceTheDayOfTheRowUnderTheCursorDecides() {
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Params(kBranch, kTenth, "S", 3, "S")
            .Headcount({kBranch, kClient, kLunch, QDate(2026, 3, 6)}, 100, 100)
            .Headcount({kBranch, kClient, kLunch, QDate(2026, 3, 7)}, 110, 110);
        f.Open();
        f.FilterByService(kLunch);
        TDBGrid* grid = f.Find<TDBGrid>("dbgServico");
        QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), QDate(2026, 3, 7));
        QVERIFY(Editable(grid));
        QCOMPARE(f.EnabledCommands(),
                 QStringLiteral("sbtIncluir, sbtAlterar, sbtExcluir, sbtProcurar, sbtVerificar, "
                                "sbtCadastro, sbtImpEfetTrans"));

        QTest::keyClick(grid, Qt::Key_Up);
        QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), QDate(2026, 3, 6));
        QVERIFY(!Editable(grid));
        QCOMPARE(f.EnabledCommands(),
                 QStringLiteral("sbtIncluir, sbtProcurar, sbtVerificar, sbtCadastro"));
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void anAssessedPeriodClosesBothItsEnds_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("assessed");
        QTest::newRow("by service, the day before") << 1 << QDate(2026, 2, 28) << false;
        QTest::newRow("by service, the first day") << 1 << QDate(2026, 3, 1) << true;
        QTest::newRow("by service, the last day") << 1 << QDate(2026, 3, 15) << true;
        QTest::newRow("by service, the day after") << 1 << QDate(2026, 3, 16) << false;
        QTest::newRow("by date, the first day") << 0 << QDate(2026, 3, 1) << true;
        QTest::newRow("by date, the day after") << 0 << QDate(2026, 3, 16) << false;
    }

    void anAssessedPeriodClosesBothItsEnds() {
        QFETCH(int, mode);
        QFETCH(QDate, day);
        QFETCH(bool, assessed);
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Period(kBranch, kClient, QStringLiteral("0000000007"), QDate(2026, 3, 1),
                    QDate(2026, 3, 15))
            .Headcount({kBranch, kClient, kLunch, day}, 120, 120);
        f.Open();
        f.FilterByMode(mode, day);
        TfrmEfetFatur& screen = f.Screen();
        const QStringList refused{"Efetivos do cliente já apurados na data selecionada."};

        f.Find<TButtonFlat>("sbtAlterar")->click();
        QCOMPARE(screen.CliFatDate, day);
        QCOMPARE(f.TakeMessages(), assessed ? refused : QStringList());
        QCOMPARE(screen.cdsEfetFatu.State(), assessed ? DataSetState::Browse : DataSetState::Edit);
        if (!assessed) return;
        // Refused before the deletion is even asked about.
        f.Find<TButtonFlat>("sbtExcluir")->click();
        QCOMPARE(f.TakeMessages(), refused);
        QCOMPARE(screen.cdsEfetFatu.RecordCount(), mode == 0 ? 2 : 1);
    }

    void aDeletionMustAgreeWithThePlanningOfAComparedService_data() {
        QTest::addColumn<QString>("compared");
        QTest::addColumn<double>("planned");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("planningCalls");
        QTest::newRow("compared, the count differs") << "S" << 100.0 << true << 1;
        QTest::newRow("compared, the count agrees") << "S" << 90.0 << false << 1;
        QTest::newRow("compared, no planning") << "S" << 0.0 << false << 1;
        QTest::newRow("not compared") << "N" << 100.0 << false << 0;
    }

    void aDeletionMustAgreeWithThePlanningOfAComparedService() {
        QFETCH(QString, compared);
        QFETCH(double, planned);
        QFETCH(bool, refused);
        QFETCH(int, planningCalls);
        HeadcountFixture f;
        const Key key{kBranch, kClient, kLunch, kTenth};
        f.Seed()
            .Branch(kBranch, kBranchName)
            .Client(QStringLiteral("J"), kNumber, kClientName)
            .ClientAt(kBranch, kClient)
            .Service(kBranch, kLunch, QStringLiteral("ALMOCO"))
            .ClientService(kBranch, kClient, kLunch, QVariant(), compared)
            .Headcount(key, 90, 95);
        if (planned > 0) f.Seed().Planning(key, planned);
        f.Open();
        f.FilterByService(kLunch);
        f.AnswerQuestionsWith(mrYes);

        f.Find<TButtonFlat>("sbtExcluir")->click();
        QStringList expected{
            QStringLiteral("Confirma exclusão?\nServiço 00001 - ALMOCO, data 10/03/2026 (Terça)")};
        if (refused)
            expected
                << QStringLiteral(
                       "Lançamento de comensais faturados difere do lançamento do Planejamento.\n"
                       "Planejamento: %1; faturados: 90.")
                       .arg(planned);
        QCOMPARE(f.TakeMessages(), expected);
        QCOMPARE(f.Calls("GetVlrFatPla"), planningCalls);
        QCOMPARE(f.Screen().cdsEfetFatu.RecordCount(), refused ? 1 : 0);
        QCOMPARE(f.Seed().Headcount(key).has_value(), refused);
    }

    void onlyByDateMustTheServiceStillBeTheClients_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("related");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("relationCalls");
        QTest::newRow("by date, related") << 0 << true << false << 1;
        QTest::newRow("by date, no longer related") << 0 << false << true << 1;
        QTest::newRow("by service, no longer related") << 1 << false << false << 0;
    }

    void onlyByDateMustTheServiceStillBeTheClients() {
        QFETCH(int, mode);
        QFETCH(bool, related);
        QFETCH(bool, refused);
        QFETCH(int, relationCalls);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount({kBranch, kClient, kLunch, kTenth}, 120, 120);
        f.Open();
        f.FilterByMode(mode);
        // Another user takes the service, and its day, away from the client after the load.
        if (!related) {
            for (const char* table : {"EFETFATUR", "SERVCLIEFILI"})
                f.Seed().Session().Run(
                    QStringLiteral("DELETE FROM %1 WHERE CDCLIENTE = ? AND CDSERVFILI = ?")
                        .arg(QLatin1String(table)),
                    {kClient, kLunch});
        }

        // What is said is said over a screen no longer busy.
        QList<int> busyWhenSaid;
        DialogService::Instance().SetMessageScript([&busyWhenSaid](const ShownMessage&) {
            busyWhenSaid << ShowAviDepth();
            return int(mrOk);
        });

        f.Find<TButtonFlat>("sbtAlterar")->click();
        QCOMPARE(busyWhenSaid, refused ? QList<int>{0} : QList<int>());
        QCOMPARE(f.Calls("GetVdServClie"), relationCalls);
        QCOMPARE(f.TakeMessages(),
                 refused ? QStringList{"Serviço não relacionado ao cliente e filial informados."}
                         : QStringList());
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(screen.cdsEfetFatu.State(), refused ? DataSetState::Browse : DataSetState::Edit);
        if (refused) {
            QCOMPARE(screen.dbgData->SelectedField()->FieldName(), QStringLiteral("QTCOMEFATU"));
            QVERIFY(screen.dbgData->hasFocus());
        }
    }

    void theBranchParametersAreReadAtEveryEntryIntoTheGrids() {
        HeadcountFixture f;
        const QString other = QStringLiteral("0002");
        f.SeedClientWithServices()
            .Seed()
            .Branch(other, QStringLiteral("Filial Sul"))
            .ClientAt(other, kClient)
            .Service(other, kLunch, QStringLiteral("ALMOCO"))
            .ClientService(other, kClient, kLunch)
            .Params(kBranch, kTenth, "S", 0, "S")
            .Params(other, QDate(2026, 3, 20), "S", 0, "S");
        f.Open();
        f.FilterByDate(kTenth);
        QCOMPARE(f.Calls("GetParams"), 1);
        QCOMPARE(f.Screen().cdsParams.FieldByName("CDFILIAL").AsString(), kBranch);
        QVERIFY(Editable(f.Find<TDBGrid>("dbgData")));

        f.EnterFilter();
        f.FilterByDate(kTenth, kNumber, other);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("GetParams"), 2);
        QCOMPARE(f.Screen().cdsParams.FieldByName("CDFILIAL").AsString(), other);
        // 10 March lies before the other branch's processing date.
        QVERIFY(!Editable(f.Find<TDBGrid>("dbgData")));
    }
};

FAI_UI_TEST_MAIN(RulesTest)
#include "test_rules.moc"
