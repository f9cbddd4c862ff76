// The filter panel of the headcount screen: what showing puts in it, the checks of each box
// and of the whole panel, the load of the rows it names, the lookups, and closing.
#include "BusyIndicator.h"
#include "Consiste.h"
#include "HeadcountFixture.h"
#include "LookupDialog.h"
#include "GeneralData.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

using namespace fai;
using namespace fai::testing;

namespace {

QString FocusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

}  // namespace

class FilterTest : public QObject {
    Q_OBJECT

  private slots:
    void theScreenIsMadeOfItsNamedParts() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        TfrmEfetFatur& screen = f.Open();
        QCOMPARE(screen.windowTitle(), QStringLiteral("Efetivos para Faturamento"));
        QCOMPARE(screen.lblCodTela->text(), QStringLiteral("FAI00400"));
        QCOMPARE(screen.HelpFile(), QStringLiteral("FaiHelp.hlp"));
        QCOMPARE(screen.HelpContext(), 13300400);
        QCOMPARE(screen.size(), QSize(564, 425));
        QVERIFY(screen.netEfetFatur.Connected());
        QCOMPARE(screen.netEfetFatur.ServerName(), QStringLiteral("Fai00400.rdmEfetFatur"));
        QVERIFY(!screen.netEfetFatur.ThrowException());
        QVERIFY(screen.qryFilial.SQL().contains(
            "WHERE (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T') ORDER BY CDFILIAL"));

        // Both signs, as the texts have them: the ordinal in "Nº", the degree in "N°".
        QCOMPARE(screen.msgPadrao.Count(), 38);
        QCOMPARE(screen.msgPadrao.Msg("NCome_Inv"),
                 QString::fromUtf8("N\u00BA comensais deve ser maior ou igual a zero."));
        QCOMPARE(screen.msgPadrao.Msg("NComePrev_Inv"),
                 QString::fromUtf8("N\u00B0 comensais previstos deve ser maior ou igual a zero."));
        QCOMPARE(screen.msgPadrao.Msg("SomaTurno_Inf"),
                 QStringLiteral("A soma das quantidades informada nos Turnos difere de %s da "
                                "quantidade do serviço que é %s."));
        QCOMPARE(screen.msgPadrao.Msg("QTEFET<0"),
                 QStringLiteral("Quantidade de efetivos deve ser maior que zero."));

        QStringList fields;
        for (const Field* field : screen.cdsEfetFatu.Fields()) fields << field->FieldName();
        QCOMPARE(fields.join(", "),
                 QStringLiteral("CDFILIAL, CDSERVFILI, NMSERVICO, DTFATURAM, CDCLIENTE, DIASEMANA, "
                                "QTCOMEFATU, CDFILIFATU, NRAPURACFAT, QTCOMEPREV, VRSERVFATUDT, "
                                "DSEMISSERCLI"));
        QVERIFY(screen.cdsEfetFatu.FieldByName("DIASEMANA").IsCalculated());
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").EditMask(), DateMask());
        QCOMPARE(screen.cdsTurno.FieldByName("CDTURNO").Tag(), 1);
        QCOMPARE(screen.cdsTurno.FieldByName("NMTURNO").Tag(), 1);

        QCOMPARE(screen.medCdFilial->EditMask(), QStringLiteral(">aaaa;0; "));
        QCOMPARE(screen.medCdServico->EditMask(), QStringLiteral("99999;0; "));
        QCOMPARE(screen.medCdCliente->MaxLength(), 20);
        QCOMPARE(screen.cbbEfetivos->itemText(0), QStringLiteral("Data"));
        QCOMPARE(screen.cbbEfetivos->itemText(1), QStringLiteral("Serviço"));
        QCOMPARE(screen.mnuDuplComens->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        QCOMPARE(screen.mnuImportar->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(screen.mnuImportar->text(), QStringLiteral("I&mportar Efetivos Transportados"));
        QCOMPARE(screen.sbtCadastro->Hint(), QStringLiteral("Duplicação de Comensais"));
        QCOMPARE(screen.sbtImpEfetTrans->Hint(), QStringLiteral("Importar Efetivos Transportado"));
        auto* pages = f.Find<QTabWidget>("pgcPadrao");
        QCOMPARE(pages->tabText(0), QStringLiteral("Efetivo"));
        QCOMPARE(pages->tabText(1), QStringLiteral("Turno"));
    }

    void theGridsShowTheirColumnsInOrder_data() {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("widths");  // the least each column has; -1: any
        QTest::newRow("by date") << "dbgData"
                                 << QStringList{"CDSERVFILI", "NMSERVICO",  "DSEMISSERCLI",
                                                "QTCOMEFATU", "QTCOMEPREV", "VRSERVFATUDT"}
                                 << QStringList{"Código",
                                                "Serviço",
                                                "Descrição para Emissão",
                                                QString::fromUtf8("N\u00BA Comensais Faturados"),
                                                QString::fromUtf8("N\u00B0 Comensais Previstos"),
                                                "Valor Venda"}
                                 << QList<int>{40, 205, 250, 107, -1, -1};
        QTest::newRow("by service")
            << "dbgServico"
            << QStringList{"DTFATURAM", "DIASEMANA", "QTCOMEFATU", "QTCOMEPREV", "VRSERVFATUDT"}
            << QStringList{"Data Faturamento", "Dia da Semana",
                           QString::fromUtf8("N\u00BA Comensais Faturados"),
                           QString::fromUtf8("N\u00B0 Comensais Previstos"), "Valor Venda"}
            << QList<int>{90, 78, 128, -1, -1};
        QTest::newRow("shifts") << "dbgTurno" << QStringList{"CDTURNO", "NMTURNO", "QTCOMFATUTUR"}
                                << QStringList{"Código", "Nome", "Quantidade"}
                                << QList<int>{52, 187, -1};
    }

    void theGridsShowTheirColumnsInOrder() {
        QFETCH(QString, grid);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, widths);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        TDBGrid* shown = f.Find<TDBGrid>(qPrintable(grid));
        QCOMPARE(shown->Columns().Count(), fields.size());
        for (int column = 0; column < fields.size(); ++column) {
            QCOMPARE(shown->Columns()[column].FieldName(), fields[column]);
            QCOMPARE(shown->model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
            // The design width, or more where the title needs it in the screen's font.
            QVERIFY(shown->columnWidth(column) >= widths[column]);
        }
        const bool readOnlyNames = grid == QLatin1String("dbgTurno");
        QCOMPARE(shown->Columns()[0].ReadOnly(), readOnlyNames);
        QCOMPARE(shown->Columns()[1].ReadOnly(), readOnlyNames);
        if (grid == QLatin1String("dbgData")) QVERIFY(shown->Columns()[2].ReadOnly());
        if (grid != QLatin1String("dbgTurno")) {
            QCOMPARE(shown->Columns()[IndiceCol(shown, "QTCOMEFATU")].TitleAlignment(),
                     Qt::Alignment(Qt::AlignRight));
        }
    }

    void showingFillsTheBranchAndDateFromTheWorkingContext_data() {
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("billingBranch");
        QTest::addColumn<QString>("branch");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("sharedDatabase");
        // Not fixed, the name is the branch table's; fixed, the working context's.
        QTest::newRow("free, billing branch")
            << false << "0002"
            << "0002"
            << "Filial Sul" << QDate(2026, 3, 12) << "medCdFilial" << true;
        QTest::newRow("free, working branch")
            << false << ""
            << "0001" << kBranchName << kTenth << "medCdFilial" << true;
        // The name is cosmetic at showing: the branch is checked when the panel is left.
        QTest::newRow("free, shared database unreachable")
            << false << ""
            << "0001"
            << "Matriz (contexto)" << kTenth << "medCdFilial" << false;
        QTest::newRow("fixed, billing branch")
            << true << "0002"
            << "0002"
            << "Faturamento (contexto)" << QDate(2026, 3, 12) << "medCdCliente" << true;
        QTest::newRow("fixed, working branch")
            << true << ""
            << "0001"
            << "Matriz (contexto)" << kTenth << "medCdCliente" << true;
    }

    void showingFillsTheBranchAndDateFromTheWorkingContext() {
        QFETCH(bool, fixed);
        QFETCH(QString, billingBranch);
        QFETCH(QString, branch);
        QFETCH(QString, name);
        QFETCH(QDate, date);
        QFETCH(QString, focus);
        QFETCH(bool, sharedDatabase);
        ContextOptions options;
        options.branchFixed = fixed;
        options.billingBranch = billingBranch;
        options.branchName = QStringLiteral("Matriz (contexto)");
        options.billingBranchName = QStringLiteral("Faturamento (contexto)");
        // No date for a branch code that is none: the host then answers today.
        options.processingDate = [](const QString& code) {
            if (code == QLatin1String("0001")) return kTenth;
            return code == QLatin1String("0002") ? QDate(2026, 3, 12) : QDate();
        };
        HeadcountFixture f(options);
        f.SeedClientWithServices().Seed().Branch(QStringLiteral("0002"),
                                                 QStringLiteral("Filial Sul"));
        if (!sharedDatabase) SetGeneralData(nullptr);
        f.Open();

        QCOMPARE(f.Find<TMaskEdit>("medCdFilial")->Text(), branch);
        QCOMPARE(f.Find<QLineEdit>("edtNmFilial")->text(), name);
        QCOMPARE(f.Find<TDateEditPlus>("depDataFatu")->GetDate(), date);
        QCOMPARE(f.Find<QLabel>("lblFilial")->isEnabled(), !fixed);
        QCOMPARE(f.Find<TMaskEdit>("medCdFilial")->isEnabled(), !fixed);
        QCOMPARE(f.Find<TBtnPesquisa>("btpFilial")->isEnabled(), !fixed);
        QCOMPARE(FocusName(), focus);
        QCOMPARE(f.Calls("GetEfetFatu"), 0);
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void aBoxLeftWithAnUnknownCodeSaysSoAndKeepsTheFocus_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("message");
        QTest::newRow("branch widened first") << "medCdFilial"
                                              << "9"
                                              << "0009"
                                              << "Filial não cadastrada.";
        QTest::newRow("client typed with punctuation") << "medCdCliente"
                                                       << "99.999.999/0001-99"
                                                       << "99999999000199"
                                                       << "Cliente não cadastrado.";
        QTest::newRow("service widened first") << "medCdServico"
                                               << "77"
                                               << "00077"
                                               << "Serviço não cadastrado.";
        QTest::newRow("date that is no day")
            << "depDataFatu"
            << "31/02/2026"
            << "31/02/2026"
            << "\"31/02/2026\" não é uma data válida. Informe a data como dd/mm/aaaa.";
    }

    void aBoxLeftWithAnUnknownCodeSaysSoAndKeepsTheFocus() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, message);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.Type(f.Find<TMaskEdit>("medCdFilial"), kBranch);
        f.Type(f.Find<TMaskEdit>("medCdCliente"), kNumber);
        f.Find<QComboBox>("cbbEfetivos")->setFocus();
        f.Find<QComboBox>("cbbEfetivos")->setCurrentIndex(1);
        f.Type(f.Find<TMaskEdit>("medCdServico"), kLunch);
        f.Find<QComboBox>("cbbEfetivos")->setFocus();
        if (box == QLatin1String("depDataFatu"))
            f.Find<QComboBox>("cbbEfetivos")->setCurrentIndex(0);
        QCOMPARE(f.TakeMessages(), QStringList());

        auto* edit = f.Find<TMaskEdit>(qPrintable(box));
        f.Type(edit, typed);
        // Left with Tab (the date box is the last of the filter), the message taking the focus
        // as under a window manager, and the screen getting it back afterwards.
        AnswerLikeAWindowManager();
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(ShowActive(f.Screen()));
        QTRY_COMPARE(FocusName(), box);
        QCOMPARE(f.TakeMessages(), QStringList{message});
        QCOMPARE(edit->Text(), kept);
    }

    void leavingThePanelWithABlankBoxSaysWhichAndLoadsNothing_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("message");
        QTest::newRow("branch") << 1 << "medCdFilial"
                                << "Filial deve ser informada.";
        QTest::newRow("client") << 1 << "medCdCliente"
                                << "Cliente deve ser informado.";
        QTest::newRow("service") << 1 << "medCdServico"
                                 << "Serviço deve ser informado.";
        QTest::newRow("date") << 0 << "depDataFatu"
                              << "Data faturamento deve ser informada.";
    }

    void leavingThePanelWithABlankBoxSaysWhichAndLoadsNothing() {
        QFETCH(int, mode);
        QFETCH(QString, box);
        QFETCH(QString, message);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.Type(f.Find<TMaskEdit>("medCdFilial"), kBranch);
        f.Type(f.Find<TMaskEdit>("medCdCliente"), kNumber);
        f.Find<QComboBox>("cbbEfetivos")->setFocus();
        f.Find<QComboBox>("cbbEfetivos")->setCurrentIndex(mode);
        f.Type(f.Find<TMaskEdit>("medCdServico"), kLunch);

        // A blank box passes its own exit; only the panel's needs it.
        f.Type(f.Find<TMaskEdit>(qPrintable(box)), QString());
        f.Find<QComboBox>("cbbEfetivos")->setFocus();
        QCOMPARE(f.TakeMessages(), QStringList());

        f.EnterGrid();
        QCOMPARE(f.TakeMessages(), QStringList{message});
        QCOMPARE(FocusName(), box);
        QCOMPARE(f.Screen().dtsPadrao.State(), DataSetState::Inactive);
        QCOMPARE(f.Calls("GetEfetFatu"), 0);
    }

    // Tab into a client box already filled selects its number, without its punctuation, so
    // that what is typed replaces it as in every other box.
    void tabbingIntoTheClientBoxSelectsItsNumber() {
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.FilterByDate(kTenth);
        auto* branch = f.Find<TMaskEdit>("medCdFilial");
        branch->setFocus();
        QTest::keyClick(branch, Qt::Key_Tab);
        auto* client = f.Find<TMaskEdit>("medCdCliente");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(client));
        QCOMPARE(client->selectedText(), kNumber);
        TypeKeys(QStringLiteral("1"));
        QCOMPARE(client->Text(), QStringLiteral("1"));
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void theLoadAsksForTheRowsOfTheMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("billed");
        QTest::newRow("by date: every service on the day")
            << 0 << QStringList{"00001", "00002"} << QStringList{"120,000", ""};
        QTest::newRow("by service: every day of the service")
            << 1 << QStringList{"10/03/2026", "11/03/2026"} << QStringList{"120,000", "90,000"};
    }

    void theLoadAsksForTheRowsOfTheMode() {
        QFETCH(int, mode);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, billed);
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Headcount({kBranch, kClient, kLunch, kTenth}, 120, 130)
            .Headcount({kBranch, kClient, kLunch, kEleventh}, 90, 95);
        f.Open();
        f.FilterByMode(mode);
        QCOMPARE(f.TakeMessages(), QStringList());
        TDBGrid* grid = f.VisibleGrid();
        QCOMPARE(grid->objectName(), mode == 0 ? QString("dbgData") : QString("dbgServico"));
        QCOMPARE(grid->model()->rowCount(), keys.size());
        const char* key = mode == 0 ? "CDSERVFILI" : "DTFATURAM";
        for (int row = 0; row < keys.size(); ++row) {
            QCOMPARE(f.Cell(grid, row, key), keys[row]);
            QCOMPARE(f.Cell(grid, row, "QTCOMEFATU"), billed[row]);
        }
        QCOMPARE(f.Screen().dtsPadrao.State(), DataSetState::Browse);
        // By service the grid opens on the latest day, which the clerk works on.
        QCOMPARE(f.Screen().cdsEfetFatu.RecNo(), mode == 0 ? 1 : 2);
        // Every row of the by-date view carries the day asked for.
        if (mode == 0)
            QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), kTenth);
        QCOMPARE(f.Screen().CurDate, mode == 0 ? kTenth : kEleventh);
        QCOMPARE(f.Screen().CurServ, kLunch);
        QCOMPARE(ShowAviDepth(), 0);
    }

    void theBilledColumnsOfferTheApportionmentOnlyForAClientWithItems_data() {
        QTest::addColumn<bool>("items");
        QTest::newRow("client with items") << true;
        QTest::newRow("client without items") << false;
    }

    void theBilledColumnsOfferTheApportionmentOnlyForAClientWithItems() {
        QFETCH(bool, items);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Period(kBranch, kClient, QStringLiteral("0000000001"),
                                                 QDate(2026, 2, 1), QDate(2026, 2, 28));
        if (items) f.Seed().Item(kClient, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
        f.Open();
        f.FilterByDate(kTenth);
        const ColumnButtonStyle expected =
            items ? ColumnButtonStyle::Ellipsis : ColumnButtonStyle::Auto;
        for (const char* name : {"dbgData", "dbgServico"}) {
            TDBGrid* grid = f.Find<TDBGrid>(name);
            QCOMPARE(grid->Columns()[IndiceCol(grid, "QTCOMEFATU")].ButtonStyle(), expected);
        }
        QCOMPARE(f.Screen().cdsVdCliFat.RecordCount(), 1);
        QCOMPARE(f.Screen().cdsItemRat.RecordCount(), items ? 1 : 0);
    }

    void aLoadWithoutRowsLeavesOnlyTheCommandsOfAnEmptyScreen_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("closedDay");
        QTest::addColumn<QStringList>("enabled");
        // Verify comes back with the focus entering the "Efetivo" tab, which recomputes the
        // commands after the load.
        QTest::newRow("by service")
            << 1 << false
            << QStringList{"sbtIncluir", "sbtVerificar", "sbtCadastro", "sbtImpEfetTrans"};
        // Without rows there is no row date to close.
        QTest::newRow("by service, closed-day rule on")
            << 1 << true
            << QStringList{"sbtIncluir", "sbtVerificar", "sbtCadastro", "sbtImpEfetTrans"};
        QTest::newRow("by date") << 0 << false << QStringList{"sbtVerificar", "sbtImpEfetTrans"};
        QTest::newRow("by date, closed day") << 0 << true << QStringList{"sbtVerificar"};
    }

    void aLoadWithoutRowsLeavesOnlyTheCommandsOfAnEmptyScreen() {
        QFETCH(int, mode);
        QFETCH(bool, closedDay);
        QFETCH(QStringList, enabled);
        HeadcountFixture f;
        // By date the rows are the client's services: a client without services has none.
        f.Seed()
            .Branch(kBranch, kBranchName)
            .Client(QStringLiteral("J"), kNumber, kClientName)
            .ClientAt(kBranch, kClient)
            .Service(kBranch, kLunch, QStringLiteral("ALMOCO"));
        if (mode == 1) f.Seed().ClientService(kBranch, kClient, kLunch);
        if (closedDay) f.Seed().Params(kBranch, QDate(2026, 3, 20), "S", 0, "S");
        f.Open();
        f.FilterByMode(mode);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Screen().cdsEfetFatu.RecordCount(), 0);
        QCOMPARE(f.EnabledCommands(), enabled.join(", "));
        QCOMPARE(f.Find<QAction>("mnuIncluir")->isEnabled(), enabled.contains("sbtIncluir"));
        QCOMPARE(f.Find<QAction>("mnuImportar")->isEnabled(), enabled.contains("sbtImpEfetTrans"));
        QCOMPARE(f.Find<QAction>("mnuDuplComens")->isEnabled(), enabled.contains("sbtCadastro"));
        QCOMPARE(f.Find<QAction>("mnuAlterar")->isEnabled(), false);
        auto* pages = f.Find<QTabWidget>("pgcPadrao");
        QVERIFY(!pages->isTabEnabled(pages->indexOf(f.Find<QWidget>("tshTurno"))));
    }

    void theModeIsOneValueShownThreeWays_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("by service") << 1;
        QTest::newRow("back by date") << 0;
    }

    void theModeIsOneValueShownThreeWays() {
        QFETCH(int, mode);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.Type(f.Find<TMaskEdit>("medCdCliente"), kNumber);
        auto* combo = f.Find<QComboBox>("cbbEfetivos");
        combo->setFocus();
        combo->setCurrentIndex(1);
        f.Type(f.Find<TMaskEdit>("medCdServico"), kLunch);
        combo->setFocus();
        QVERIFY(f.Screen().cdsServico.Active());
        combo->setCurrentIndex(1 - mode);
        combo->setCurrentIndex(mode);

        const bool byService = mode == 1;
        QCOMPARE(f.Find<QStackedWidget>("nbkOpcao")->currentIndex(), mode);
        QCOMPARE(f.Find<QStackedWidget>("nbkGrid")->currentIndex(), mode);
        QCOMPARE(f.Find<QFrame>("panDesc")->isVisible(), byService);
        ClientDataSet& rows = f.Screen().cdsEfetFatu;
        QCOMPARE(rows.FieldByName("DTFATURAM").Visible(), byService);
        QCOMPARE(rows.FieldByName("CDSERVFILI").Visible(), !byService);
        QCOMPARE(rows.FieldByName("NMSERVICO").Visible(), !byService);
        // The service looked up before is forgotten by the switch to by-service mode.
        QCOMPARE(f.Screen().cdsServico.Active(), !byService);
        QCOMPARE(f.Calls("GetEfetFatu"), 0);
    }

    void theClientBoxShowsTheNumberMaskedOnlyWhileNotTyping_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("shown");
        QTest::newRow("company") << "J" << kNumber << "12.345.678/0001-95";
        QTest::newRow("person") << "F"
                                << "12345678909"
                                << "123.456.789-09";
    }

    void theClientBoxShowsTheNumberMaskedOnlyWhileNotTyping() {
        QFETCH(QString, type);
        QFETCH(QString, number);
        QFETCH(QString, shown);
        HeadcountFixture f;
        f.Seed()
            .Branch(kBranch, kBranchName)
            .Client(type, number, QStringLiteral("Cliente %1").arg(type))
            .ClientAt(kBranch, type + number);
        f.Open();
        auto* box = f.Find<TMaskEdit>("medCdCliente");
        f.Type(box, number);
        f.Find<QComboBox>("cbbEfetivos")->setFocus();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(box->displayText(), shown);
        QCOMPARE(box->Text(), number);
        QCOMPARE(f.Find<QLineEdit>("edtNmCliente")->text(), QStringLiteral("Cliente %1").arg(type));
        ClientDataSet& clients = f.Screen().cdsCliente;
        QCOMPARE(clients.FieldByName("NRINSJURCLIE").DisplayText(), shown);
        QCOMPARE(clients.FieldByName("IDTPIJURCLIE").DisplayText(), shown);

        box->setFocus();
        QCOMPARE(box->displayText(), number);
        QCOMPARE(box->MaxLength(), 20);
        // Typing the number again needs it checked again before the server hears of it.
        QVERIFY(!clients.Active());
        QCOMPARE(f.Find<QLineEdit>("edtNmCliente")->text(), QStringLiteral("Cliente %1").arg(type));
    }

    void theLookupsListWhatABoxMayHoldAndCopyThePick_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("byKey");  // F2 in the box instead of the button
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("name");
        const QStringList branches{"0001", "0002"};
        const QStringList clients{"123.456.789-09", "12.345.678/0001-95"};
        const QStringList services{"00001", "00002"};
        QTest::newRow("branch") << "btpFilial" << false << "medCdFilial" << branches << "0002"
                                << "Filial Sul";
        QTest::newRow("client") << "btpCliente" << false << "medCdCliente" << clients
                                << "12345678000195" << kClientName;
        QTest::newRow("service") << "btpServico" << false << "medCdServico" << services << "00002"
                                 << "JANTAR";
        QTest::newRow("branch, F2 in the box")
            << "btpFilial" << true << "medCdFilial" << branches << "0002"
            << "Filial Sul";
        QTest::newRow("service, F2 in the box")
            << "btpServico" << true << "medCdServico" << services << "00002"
            << "JANTAR";
    }

    void theLookupsListWhatABoxMayHoldAndCopyThePick() {
        QFETCH(QString, button);
        QFETCH(bool, byKey);
        QFETCH(QString, box);
        QFETCH(QStringList, listed);
        QFETCH(QString, picked);
        QFETCH(QString, name);
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Branch(QStringLiteral("0002"), QStringLiteral("Filial Sul"))
            .Client(QStringLiteral("F"), QStringLiteral("12345678909"), QStringLiteral("Ana Lima"))
            .ClientAt(kBranch, QStringLiteral("F12345678909"));
        f.Open();
        f.Type(f.Find<TMaskEdit>("medCdCliente"), kNumber);
        f.Find<QComboBox>("cbbEfetivos")->setFocus();
        f.Find<QComboBox>("cbbEfetivos")->setCurrentIndex(1);

        QStringList shown;
        f.RunModalsWith([&](QDialog& dialog) {
            auto& list = static_cast<LookupDialog&>(dialog);
            QAbstractItemModel* rows = list.Grid()->model();
            for (int row = 0; row < rows->rowCount(); ++row)
                shown << rows->index(row, 0).data().toString();
            list.Grid()->ActiveDataSet()->SetRecNo(int(shown.indexOf(listed.last())) + 1);
            return int(QDialog::Accepted);
        });
        if (byKey) {
            QTest::keyClick(f.Find<TMaskEdit>(qPrintable(box)), Qt::Key_F2);
        } else {
            f.Find<TBtnPesquisa>(qPrintable(button))->click();
        }
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(shown, listed);
        QCOMPARE(f.Find<TMaskEdit>(qPrintable(box))->Text(), picked);
        const QString nameBox = QString(box).replace("medCd", "edtNm");
        QCOMPARE(f.Find<QLineEdit>(qPrintable(nameBox))->text(), name);
    }

    void theKeyboardWalksTheFilterInOrderIntoTheGrid_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("walk");
        const QStringList byDate{"medCdCliente", "cbbEfetivos", "depDataFatu",
                                 "qt_tabwidget_tabbar", "dbgData"};
        QTest::newRow("by date, Tab") << 0 << int(Qt::Key_Tab) << byDate;
        QTest::newRow("by service, Tab")
            << 1 << int(Qt::Key_Tab)
            << QStringList{"medCdCliente", "cbbEfetivos", "medCdServico", "qt_tabwidget_tabbar",
                           "dbgServico"};
        // Enter moves on from the boxes as Tab does.
        QTest::newRow("by date, Enter")
            << 0 << int(Qt::Key_Return)
            << QStringList{"medCdCliente", "cbbEfetivos", "depDataFatu", "qt_tabwidget_tabbar"};
    }

    void theKeyboardWalksTheFilterInOrderIntoTheGrid() {
        QFETCH(int, mode);
        QFETCH(int, key);
        QFETCH(QStringList, walk);
        HeadcountFixture f;
        f.SeedClientWithServices();
        f.Open();
        f.Find<QComboBox>("cbbEfetivos")->setCurrentIndex(mode);
        f.Find<TMaskEdit>("medCdCliente")->SetText(kNumber);
        f.Find<TMaskEdit>("medCdServico")->SetText(kLunch);
        f.Find<TMaskEdit>("medCdFilial")->setFocus();
        QStringList walked;
        for (qsizetype step = 0; step < walk.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            walked << FocusName();
        }
        QCOMPARE(walked.join(", "), walk.join(", "));
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Screen().dtsPadrao.State(), DataSetState::Browse);
    }

    void closingChecksTheShiftBreakdownFirst_data() {
        QTest::addColumn<QString>("client");
        QTest::addColumn<double>("dinnerShifts");
        QTest::addColumn<bool>("closes");
        QTest::newRow("no breakdown") << kNumber << 0.0 << true;
        QTest::newRow("breakdown agrees") << kNumber << 20.0 << true;
        QTest::newRow("dinner disagrees") << kNumber << 30.0 << false;
        QTest::newRow("no client in the filter") << QString() << 30.0 << true;
    }

    void closingChecksTheShiftBreakdownFirst() {
        QFETCH(QString, client);
        QFETCH(double, dinnerShifts);
        QFETCH(bool, closes);
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Headcount({kBranch, kClient, kLunch, kTenth}, 100, 100)
            .Headcount({kBranch, kClient, kDinner, kTenth}, 40, 40)
            .Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"))
            .Shift(kBranch, QStringLiteral("2"), QStringLiteral("TARDE"));
        if (dinnerShifts > 0) {
            const Key dinner{kBranch, kClient, kDinner, kTenth};
            f.Seed().ShiftQuantity(dinner, "1", dinnerShifts).ShiftQuantity(dinner, "2", 20);
        }
        f.Open();
        if (!client.isEmpty()) f.FilterByDate(kTenth, client);
        const int loads = f.Calls("GetEfetFatu");
        QPointer<TfrmEfetFatur> screen = &f.Screen();

        QCOMPARE(screen->close(), closes);
        QCOMPARE(f.Calls("GetEfetFatu"), loads + (client.isEmpty() ? 0 : 1));
        if (closes) {
            QCOMPARE(f.TakeMessages(), QStringList());
            QVERIFY(!boStCriado);
            QTRY_VERIFY(screen.isNull());
            return;
        }
        QCOMPARE(f.TakeMessages(),
                 QStringList{"Comensais por efetivo difere de comensais por turno."});
        QVERIFY(boStCriado);
        QVERIFY(screen->netEfetFatur.Connected());
        QCOMPARE(screen->cdsEfetFatu.FieldByName("CDSERVFILI").AsString(), kDinner);
        QCOMPARE(FocusName(), QStringLiteral("dbgData"));
        for (const char* name : {"sbtIncluir", "sbtProcurar", "sbtVerificar", "sbtCadastro"})
            QVERIFY2(!f.Find<TButtonFlat>(name)->isEnabled(), name);
        QCOMPARE(ShowAviDepth(), 0);
    }
};

FAI_UI_TEST_MAIN(FilterTest)
#include "test_filter.moc"
