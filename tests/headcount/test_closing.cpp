// Closing the headcount screen and quitting the host: what is being typed is never thrown
// away unasked, and a server out of reach does not keep the screen open for ever.
#include "Cli_fai00402.h"
#include "HeadcountFixture.h"
#include "HostApplication.h"
#include "MainWindow.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"

#include <QMdiArea>
#include <QTabWidget>

using namespace fai;
using namespace fai::testing;

namespace {

const QString kCancelQuestion = QStringLiteral("Confirma o cancelamento das alterações?");
const QString kNotConnected = QStringLiteral("Não há conexão com o servidor de aplicação.");

enum class Typing { Nothing, Headcount, Shift };

// Lunch on the 10th stored with 100 diners, and a shift with none yet.
void SeedLunch(HeadcountFixture& f) {
    f.SeedClientWithServices()
        .Seed()
        .Headcount(kLunchOnTheTenth, 100, 100)
        .Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"));
}

// The clerk starts typing 150 into lunch's billed count, or into its first shift, and leaves
// it in the open cell.
void StartTyping(HeadcountFixture& f, Typing typing) {
    TfrmEfetFatur& screen = f.Screen();
    TDBGrid* grid = screen.dbgServico;
    const char* column = "QTCOMEFATU";
    if (typing == Typing::Shift) {
        screen.pgcPadrao->setCurrentWidget(screen.tshTurno);
        grid = screen.dbgTurno;
        column = "QTCOMFATUTUR";
    }
    grid->setFocus();
    grid->SetSelectedIndex(IndiceCol(grid, QLatin1String(column)));
    TypeKeys(QStringLiteral("150"));
    QVERIFY(grid->EditorMode());
}

// The host's main window with its document area, given back to nobody when it goes.
class HostWindow {
  public:
    HostWindow() : window_([] { ::CriaEfetFatur(); }) {
        HostApplication::Instance().SetMainForm(&window_, window_.DocumentArea());
        if (!ShowActive(window_)) qFatal("the host's window did not become active");
    }
    ~HostWindow() { HostApplication::Instance().SetMainForm(nullptr, nullptr); }
    MainWindow& Window() { return window_; }

  private:
    MainWindow window_;
};

}  // namespace

Q_DECLARE_METATYPE(Typing)

class ClosingTest : public QObject {
    Q_OBJECT

  private slots:
    void closingAsksBeforeThrowingTypingAway_data() {
        QTest::addColumn<Typing>("typing");
        QTest::addColumn<int>("answer");
        QTest::newRow("a headcount, kept") << Typing::Headcount << int(mrNo);
        QTest::newRow("a headcount, cancelled") << Typing::Headcount << int(mrYes);
        QTest::newRow("a shift, kept") << Typing::Shift << int(mrNo);
        QTest::newRow("a shift, cancelled") << Typing::Shift << int(mrYes);
    }

    void closingAsksBeforeThrowingTypingAway() {
        QFETCH(Typing, typing);
        QFETCH(int, answer);
        HeadcountFixture f;
        SeedLunch(f);
        f.Open();
        f.FilterByService(kLunch);
        StartTyping(f, typing);
        QPointer<TfrmEfetFatur> screen = &f.Screen();
        const int loads = f.Calls("GetEfetFatu");
        f.AnswerQuestionsWith(answer);

        const bool kept = answer == mrNo;
        QCOMPARE(screen->close(), !kept);
        QCOMPARE(f.TakeMessages(), QStringList{kCancelQuestion});
        if (kept) {
            QVERIFY(boStCriado);
            QCOMPARE(f.Calls("GetEfetFatu"), loads);
            TDBGrid* grid = typing == Typing::Shift ? screen->dbgTurno : screen->dbgServico;
            QCOMPARE(grid->InplaceText(), QStringLiteral("150"));
            ClientDataSet& rows = typing == Typing::Shift ? screen->cdsTurno : screen->cdsEfetFatu;
            QCOMPARE(rows.State(), DataSetState::Edit);
            return;
        }
        // Cancelled, then closed as ever: reloaded and checked against the shifts.
        QCOMPARE(f.Calls("GetEfetFatu"), loads + 1);
        QVERIFY(!boStCriado);
        QTRY_VERIFY(screen.isNull());
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, 100.0);
        QVERIFY(!f.Seed().ShiftQuantity(kLunchOnTheTenth, QStringLiteral("1")).has_value());
    }

    // Nothing is pending once what was being typed was asked about, so a server out of reach
    // is said once and the screen closes; a filter the server refuses still keeps it open.
    void closingOutOfTheServersReachSaysSoAndCloses_data() {
        QTest::addColumn<Typing>("typing");
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("closes");
        QTest::newRow("nothing typed")
            << Typing::Nothing << false << QStringList{kNotConnected} << true;
        QTest::newRow("a headcount typed, cancelled")
            << Typing::Headcount << false << QStringList{kCancelQuestion, kNotConnected} << true;
        QTest::newRow("the client gone from the server")
            << Typing::Nothing << true << QStringList{QStringLiteral("Cliente não cadastrado.")}
            << false;
    }

    void closingOutOfTheServersReachSaysSoAndCloses() {
        QFETCH(Typing, typing);
        QFETCH(bool, reachable);
        QFETCH(QStringList, messages);
        QFETCH(bool, closes);
        HeadcountFixture f;
        SeedLunch(f);
        f.Open();
        f.FilterByService(kLunch);
        if (typing != Typing::Nothing) StartTyping(f, typing);
        QPointer<TfrmEfetFatur> screen = &f.Screen();
        if (reachable) {
            for (const char* table : {"EFETFATUR", "SERVCLIEFILI", "CLIENFILIAL"})
                f.Seed().Session().Run(
                    QStringLiteral("DELETE FROM %1 WHERE CDCLIENTE = ?").arg(QLatin1String(table)),
                    {kClient});
        } else {
            screen->netEfetFatur.Disconnect();
        }
        f.AnswerQuestionsWith(mrYes);

        QCOMPARE(screen->close(), closes);
        QCOMPARE(f.TakeMessages(), messages);
        QCOMPARE(boStCriado, !closes);
        if (closes) QTRY_VERIFY(screen.isNull());
    }

    // Quitting closes the screens one by one, each asking as its own closing asks; the first
    // one kept open keeps the host running with every screen after it.
    void quittingTheHostStopsAtTheFirstScreenKeptOpen_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("the typing kept") << int(mrNo);
        QTest::newRow("the typing cancelled") << int(mrYes);
    }

    void quittingTheHostStopsAtTheFirstScreenKeptOpen() {
        QFETCH(int, answer);
        HeadcountFixture f;
        SeedLunch(f);
        HostWindow host;
        f.Open();
        f.FilterByService(kLunch);
        QPointer<TfrmEfetFatur> headcounts = &f.Screen();
        CriaDupCom(headcounts->cdsVdCliFat.Data());
        QPointer<TfrmDupCom> duplication = frmDupCom.data();
        QVERIFY(duplication);
        headcounts->setFocus();
        StartTyping(f, Typing::Headcount);
        f.AnswerQuestionsWith(answer);

        const bool quits = answer == mrYes;
        QCOMPARE(host.Window().close(), quits);
        QCOMPARE(f.TakeMessages(), QStringList{kCancelQuestion});
        QCOMPARE(host.Window().isVisible(), !quits);
        if (quits) {
            QTRY_VERIFY(headcounts.isNull() && duplication.isNull());
            return;
        }
        QVERIFY(headcounts && headcounts->isVisible());
        QVERIFY(duplication && duplication->isVisible());
        QCOMPARE(headcounts->cdsEfetFatu.State(), DataSetState::Edit);
    }
};

FAI_UI_TEST_MAIN(ClosingTest)
#include "test_closing.moc"
