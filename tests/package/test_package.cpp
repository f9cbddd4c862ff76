#include "Cli_fai00400.h"
#include "Cli_fai00401.h"
#include "Cli_fai00402.h"
#include "Cli_fai00403.h"
#include "Errors.h"
#include "HostApplication.h"
#include "ModuleLoader.h"
#include "Pkg_fai00400.h"
#include "RunningServer.h"
#include "ScreenCursor.h"
#include "ServerGeneralData.h"
#include "TestDatabase.h"
#include "TestSeed.h"
#include "UiTesting.h"
#include "WorkingContext.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

using namespace fai;
using fai::testing::DialogScript;

namespace {

// Rows shaped as the dataset's own fields, with the item codes, names and quantities given.
DataPacket ApportionmentRows(const ClientDataSet& items, std::initializer_list<Value> quantities) {
    DataPacket packet;
    for (Field* field : items.Fields()) packet.fields.push_back(field->Definition());
    const int code = packet.FieldIndex(u"CDITEMRATEIOEFET");
    const int name = packet.FieldIndex(u"NMITEMRATEIOEFET");
    const int quantity = packet.FieldIndex(u"QTEFETIVOS");
    int item = 0;
    for (const Value& diners : quantities) {
        PacketRow row;
        row.values.resize(packet.fields.size());
        row.values[code] = QString::number(++item).rightJustified(5, '0');
        row.values[name] = QStringLiteral("Centro de custo %1").arg(item);
        row.values[quantity] = diners;
        packet.rows.push_back(std::move(row));
    }
    return packet;
}

DataPacket AssessedPeriods() {
    DataPacket packet;
    packet.fields = {{"CDFILIAL", FieldType::String, 4},
                     {"CDCLIENTE", FieldType::String, 21},
                     {"NRAPURACFAT", FieldType::String, 10},
                     {"DTINIAPURAC", FieldType::DateTime},
                     {"DTFIMAPURAC", FieldType::DateTime}};
    packet.rows.push_back(
        {RowChange::Unchanged,
         {"0001", "J12345678000195", "0000000001", QDate(2026, 3, 1), QDate(2026, 3, 15)},
         {}});
    return packet;
}

}  // namespace

// The module as the host sees it: loaded at run time, with a real application server behind
// the screens that connect.
class PackageTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    appserver::test::TestDatabase database_{appserver::test::Backend::Sqlite};
    std::unique_ptr<appserver::test::RunningServer> server_;
    ModuleLoader module_;
    QMdiArea documents_;

    template <typename Function>
    Function Exported(const char* name) {
        return module_.Operation<Function>(name);
    }

  private slots:
    void initTestCase() {
        server_ = std::make_unique<appserver::test::RunningServer>(database_.Location());
        appserver::test::TestSeed(database_.Location()).Branch("0001", "São Paulo - Centro");
        // The host's lookups read through the server, as fai-host sets them up.
        SetGeneralData(
            std::make_shared<ServerGeneralData>(QStringLiteral("127.0.0.1"), server_->Port()));
        WorkingContextData context;
        context.branch = QStringLiteral("0001");
        context.serverHost = QStringLiteral("127.0.0.1");
        context.serverPort = server_->Port();
        SetWorkingContext(context);
        module_.Load(QStringLiteral(FAI_MODULE_PATH));
        documents_.resize(900, 700);
        documents_.show();
        HostApplication::Instance().SetMainForm(&documents_, &documents_);
    }

    void cleanupTestCase() {
        documents_.closeAllSubWindows();
        HostApplication::Instance().SetMainForm(nullptr, nullptr);
        module_.Unload();
        SetGeneralData(nullptr);
        server_.reset();
    }

    void loadingRunsEachUnitsStartUpOnceAndShutDownOnTheLastFinalization() {
        QCOMPARE(module_.UnitNames(),
                 QStringList({"Cli_fai00400", "Cli_fai00401", "Cli_fai00402", "Cli_fai00403"}));
        QVERIFY(boTestaPas);
        QVERIFY(!boStCriado && !boComen && !boDeleta && !boidcriado);

        boTestaPas = false;
        stDataFatur = QStringLiteral("07/12/2026");
        stCdCliente = QStringLiteral("'J1'");
        Exported<PackageProcedure>("Initialize")();  // a second initialization starts nothing
        QVERIFY(!boTestaPas);
        Exported<PackageProcedure>("Finalize")();  // not the last one: nothing shuts down
        QCOMPARE(stDataFatur, QStringLiteral("07/12/2026"));
        Exported<PackageProcedure>("Finalize")();
        QVERIFY(stDataFatur.isEmpty());
        QVERIFY(stCdCliente.isEmpty());
        Exported<PackageProcedure>("Initialize")();
        QVERIFY(boTestaPas);
    }

    void theHeadcountScreenExistsOnceConnectedAndComesBackNormal() {
        Exported<PackageProcedure>("IniProc")();
        QVERIFY(boStCriado);
        QPointer<TfrmEfetFatur> first = frmEfetFatur;
        QVERIFY(first);
        QVERIFY(first->netEfetFatur.Connected());
        QCOMPARE(first->netEfetFatur.Port(), server_->Port());
        QCOMPARE(documents_.subWindowList().size(), 1);

        auto* frame = qobject_cast<QMdiSubWindow*>(first->parentWidget());
        QVERIFY(frame);
        frame->showMinimized();
        QVERIFY(frame->isMinimized());
        Exported<PackageProcedure>("CriaEfetFatur")();
        QCOMPARE(frmEfetFatur.data(), first.data());
        QCOMPARE(documents_.subWindowList().size(), 1);
        QVERIFY(!frame->isMinimized());
        QCOMPARE(documents_.activeSubWindow(), frame);
    }

    void closingTheHeadcountScreenDisconnectsAndTheNextCallMakesANewOne() {
        QPointer<TfrmEfetFatur> first = frmEfetFatur;
        QVERIFY(first);
        first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!boStCriado);
        Exported<PackageProcedure>("CriaEfetFatur")();
        QVERIFY(boStCriado);
        QVERIFY(frmEfetFatur);
        QVERIFY(frmEfetFatur->netEfetFatur.Connected());
    }

    void eachDuplicationCallMakesAScreenThatKnowsTheAssessedPeriods() {
        using CreateDuplication = void (*)(const DataPacket&);
        const DataPacket periods = AssessedPeriods();
        Exported<CreateDuplication>("CriaDupCom")(periods);
        QPointer<TfrmDupCom> first = frmDupCom;
        Exported<CreateDuplication>("CriaDupCom")(periods);
        QVERIFY(first && frmDupCom && first != frmDupCom);
        QCOMPARE(periods, AssessedPeriods());
        for (TfrmDupCom* screen : {first.data(), frmDupCom.data()}) {
            QCOMPARE(screen->cdsVdCliFat.RecordCount(), 1);
            QCOMPARE(screen->cdsVdCliFat.FieldByName("DTFIMAPURAC").AsDateTime(),
                     QDate(2026, 3, 15));
        }
        QVERIFY(stDataFatur.isEmpty());
        first->close();
        frmDupCom->close();
        QTRY_VERIFY(frmDupCom.isNull());
    }

    void theApportionmentDialogAnswersTheTotalOfItsItems() {
        using CreateApportionment = double (*)();
        QVERIFY(frmEfetFatur);
        ClientDataSet& items = frmEfetFatur->cdsItRatEfet;
        const auto total = [this] { return Exported<CreateApportionment>("CriaItRatEfet")(); };

        items.Open();
        {
            DialogScript script(mrOk, [](QDialog& dialog) {
                return dialog.objectName() == "frmItRatEfet" ? int(mrOk) : int(mrCancel);
            });
            QCOMPARE(total(), 0.0);
        }

        items.SetData(ApportionmentRows(items, {Value(2.0), Value(3.0), Value()}));
        TfrmItRatEfet* shown = nullptr;
        DialogScript script(mrOk, [&shown](QDialog& dialog) {
            shown = qobject_cast<TfrmItRatEfet*>(&dialog);
            // The user types 4 into the third item.
            ClientDataSet* edited = shown->dtsPadrao.DataSet();
            edited->Last();
            edited->Edit();
            edited->FieldByName("QTEFETIVOS").SetAsFloat(4);
            edited->Post();
            return int(mrOk);
        });
        QCOMPARE(total(), 9.0);
        QVERIFY(shown);
        QVERIFY(frmItRatEfet.isNull());  // the dialog lives for one showing
        QVERIFY(items.Eof());
    }

    void theReportScreenLivesUntilItIsClosed() {
        using Procedure = void (*)();
        QPointer<TfrmRelListComen> kept;
        {
            DialogScript leaveOpen(mrOk, [&kept](QDialog& dialog) {
                kept = qobject_cast<TfrmRelListComen*>(&dialog);
                return int(mrCancel);
            });
            Exported<Procedure>("cria_RelListComen")();
        }
        QVERIFY(kept && boidcriado);
        QVERIFY(kept->netComensais.Connected());

        bool sameScreen = false;
        {
            DialogScript closeIt(mrOk, [&sameScreen, &kept](QDialog& dialog) {
                sameScreen = &dialog == kept.data();
                dialog.close();
                return int(mrOk);
            });
            Exported<Procedure>("cria_RelListComen")();
        }
        QVERIFY(sameScreen);
        QVERIFY(!boidcriado);
        QVERIFY(kept.isNull());  // freed once closed, so that the next call makes a fresh one
        QVERIFY(frmRelListComen.isNull());
    }

    // The hourglass is for making a modal screen only: the clerk works in it with the normal
    // cursor, and a screen that fails to show leaves no hourglass behind.
    void theModalScreensAreWorkedWithTheNormalCursor_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("showingFails");
        QTest::newRow("apportionment") << "CriaItRatEfet" << false;
        QTest::newRow("apportionment failing to show") << "CriaItRatEfet" << true;
        QTest::newRow("listing report") << "cria_RelListComen" << false;
        QTest::newRow("listing report failing to show") << "cria_RelListComen" << true;
    }

    void theModalScreensAreWorkedWithTheNormalCursor() {
        QFETCH(QString, operation);
        QFETCH(bool, showingFails);
        QList<TCursor> whileShown;
        DialogScript script(mrOk, [&](QDialog& dialog) {
            whileShown << ScreenCursor();
            if (showingFails) throw EError(QStringLiteral("A tela não pôde ser mostrada."));
            dialog.close();
            return int(mrOk);
        });
        bool failed = false;
        try {
            if (operation == QLatin1String("CriaItRatEfet")) {
                Exported<double (*)()>("CriaItRatEfet")();
            } else {
                Exported<void (*)()>("cria_RelListComen")();
            }
        } catch (const EError&) {
            failed = true;
        }
        QCOMPARE(failed, showingFails);
        QCOMPARE(whileShown, QList<TCursor>{TCursor::Default});
        QCOMPARE(ScreenCursor(), TCursor::Default);
        // A report screen that failed to show is kept for the next call; this one goes.
        if (frmRelListComen) frmRelListComen->close();
        QTRY_VERIFY(frmRelListComen.isNull());
    }

    void aLibraryWithoutTheModulesOperationsIsRefusedByName() {
        ModuleLoader other;
        try {
            other.Load(QStringLiteral(FAI_NOT_A_MODULE_PATH));
            QFAIL("loaded a library that is not a module");
        } catch (const EError& e) {
            QVERIFY2(e.Message().contains("não exporta a operação Initialize"),
                     qPrintable(e.Message()));
        }
        QVERIFY(!other.Loaded());
        try {
            other.Load(dir_.filePath("nenhum"));
            QFAIL("loaded a library that does not exist");
        } catch (const EError& e) {
            QVERIFY(e.Message().startsWith("Não foi possível carregar o módulo"));
        }
    }
};

FAI_UI_TEST_MAIN(PackageTest)
#include "test_package.moc"
