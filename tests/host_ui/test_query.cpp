#include "ConnectionError.h"
#include "Errors.h"
#include "GeneralDataServer.h"
#include "ServerGeneralData.h"
#include "TADOIBQuery.h"
#include "TestDatabase.h"
#include "UiTesting.h"

using namespace fai;
using appserver::test::GeneralDataServer;

namespace {

const QStringList kBranchSql = {"SELECT",
                                "   CDFILIAL,",
                                "   NMFILIAL",
                                "FROM",
                                "   FILIAL",
                                "WHERE",
                                "   (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T')",
                                "ORDER BY",
                                "   CDFILIAL"};

void DeclareBranchFields(TADOIBQuery& query) {
    Field& code = query.DataSet().AddField({"CDFILIAL", FieldType::String, 4});
    code.SetDisplayLabel(QStringLiteral("Código"));
    code.SetRequired(true);
    query.DataSet().AddField({"NMFILIAL", FieldType::String, 30}).SetDisplayLabel("Nome");
}

QStringList Codes(TADOIBQuery& query) {
    QStringList codes;
    query.DataSet().ForEachRow([&codes](const RowView& row) { codes << row.AsString("CDFILIAL"); });
    return codes;
}

// The branches with their billing parameters: a date and a number, none for a branch without.
const QString kBranchesWithParams =
    "FROM FILIAL F LEFT JOIN PARAMFATUR P ON P.CDFILIAL = F.CDFILIAL ORDER BY F.CDFILIAL";

}  // namespace

// The read-only query through the application server, over a fresh SQLite file.
class QueryTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        server_ = std::make_unique<GeneralDataServer>(database_.Location());
        server_->Seed()
            .Branch("0003", "Centro")
            .Branch("0001", "Matriz")
            .Branch("0002", "Filial Sul")
            .Params("0003", QDate(2020, 5, 4), "N", 120, "N")
            .Params("0001", QDate(2001, 1, 2), "N", 950.5, "N");
    }
    void init() { server_->Attach(); }
    void cleanupTestCase() { server_.reset(); }

    void branchQueryFollowsItsParameters_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("all");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("one branch") << "0002"
                                    << "" << QStringList{"0002"};
        QTest::newRow("every branch, in order") << ""
                                                << "T" << QStringList{"0001", "0002", "0003"};
        QTest::newRow("unknown branch") << "9999"
                                        << "" << QStringList{};
        QTest::newRow("flag other than T") << "0001"
                                           << "N" << QStringList{"0001"};
        QTest::newRow("quotes are data") << "0001' OR '1'='1"
                                         << "" << QStringList{};
    }
    void branchQueryFollowsItsParameters() {
        TADOIBQuery query("qryFilial");
        DeclareBranchFields(query);
        query.SetSQL(kBranchSql);
        QCOMPARE(query.ParamCount(), 2);
        query.ParamByName("P_CDFILIAL").SetAsString(FAI_FETCH(QString, code));
        query.ParamByName("p_tcdfilial").SetAsString(FAI_FETCH(QString, all));
        query.Open();
        QVERIFY(query.Active());
        QFETCH(QStringList, codes);
        QCOMPARE(Codes(query), codes);
        QCOMPARE(query.IsEmpty(), codes.isEmpty());
        if (!codes.isEmpty()) QCOMPARE(query.FieldByName("CDFILIAL").AsString(), codes.first());
        query.Close();
        QVERIFY(!query.Active());
        QCOMPARE(query.FieldByName("NMFILIAL").DisplayLabel(), QStringLiteral("Nome"));
    }

    void aParameterUsedTwiceIsBoundTwice() {
        TADOIBQuery query("qryDois");
        query.SetSQL("SELECT CDFILIAL FROM FILIAL WHERE CDFILIAL = :P OR NMFILIAL = :p ORDER BY 1");
        QCOMPARE(query.ParamCount(), 1);
        query.ParamByName("P").SetAsString("Matriz");
        query.Open();
        QCOMPARE(Codes(query), QStringList{"0001"});
        // A colon inside a text or a cast is no parameter.
        query.SetSQL("SELECT CDFILIAL FROM FILIAL WHERE NMFILIAL <> ':X' AND CDFILIAL = :C");
        QCOMPARE(query.ParamCount(), 1);
        query.ParamByName("C").SetAsString("0003");
        query.Open();
        QCOMPARE(Codes(query), QStringList{"0003"});
    }

    void resultColumnsMakeTheirOwnFieldsWhenNoneAreDeclared() {
        TADOIBQuery query("qryTipos");
        query.SetSQL("SELECT F.CDFILIAL, F.NMFILIAL, P.NRDIAANTDTPROC, 2.5 AS FATOR " +
                     kBranchesWithParams);
        query.Open();
        ClientDataSet& rows = query.DataSet();
        QCOMPARE(rows.FieldCount(), 4);
        QCOMPARE(rows.FieldByName("FATOR").DataType(), FieldType::Float);
        QCOMPARE(rows.FieldByName("FATOR").AsFloat(), 2.5);
        QCOMPARE(rows.FieldByName("NRDIAANTDTPROC").AsFloat(), 950.5);
        QCOMPARE(rows.FieldByName("NMFILIAL").DataType(), FieldType::String);
        QCOMPARE(rows.FieldByName("NMFILIAL").Size(), 10);  // the longest name
        rows.Next();
        QVERIFY(rows.FieldByName("NRDIAANTDTPROC").IsNull());

        // A computed column that holds only nulls in the answer's first parts (a part is a
        // thousand rows) is typed by its first value, in a later part.
        query.SetSQL(
            "SELECT CASE WHEN ROW_NUMBER() OVER () > 1500 THEN 2.5 END AS V FROM "
            "FILIAL A, FILIAL B, FILIAL C, FILIAL D, FILIAL E, FILIAL F, FILIAL G");
        query.Open();
        QCOMPARE(rows.RecordCount(), 2187);
        QCOMPARE(rows.FieldByName("V").DataType(), FieldType::Float);
        rows.Last();
        QCOMPARE(rows.FieldByName("V").AsFloat(), 2.5);
    }

    void declaredFieldsTypeTheResult() {
        TADOIBQuery query("qryTipos");
        query.DataSet().AddField({"CDFILIAL", FieldType::String, 4});
        query.DataSet().AddField({"DTPROCESSA", FieldType::DateTime});
        query.DataSet().AddField({"NRDIAANTDTPROC", FieldType::Float});
        query.SetSQL("SELECT F.CDFILIAL, P.DTPROCESSA, P.NRDIAANTDTPROC " + kBranchesWithParams);
        query.Open();
        ClientDataSet& rows = query.DataSet();
        QCOMPARE(rows.FieldByName("DTPROCESSA").AsDateTime(), QDate(2001, 1, 2));
        rows.Next();
        QVERIFY(rows.FieldByName("DTPROCESSA").IsNull());
        rows.Next();
        QCOMPARE(rows.FieldByName("DTPROCESSA").AsDateTime(), QDate(2020, 5, 4));
        QCOMPARE(rows.FieldByName("NRDIAANTDTPROC").AsFloat(), 120.0);
    }

    void refusesWhatItCannotRunSafely_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("declareDay");
        QTest::newRow("delete") << "DELETE FROM FILIAL"
                                << "só pode ler dados" << false;
        QTest::newRow("second statement") << "SELECT * FROM FILIAL; DELETE FROM FILIAL"
                                          << "só pode ler dados" << false;
        QTest::newRow("selected column name") << "SELECTED FROM FILIAL"
                                              << "só pode ler dados" << false;
        QTest::newRow("no such table")
            << "SELECT * FROM NADA"
            << "A consulta 'qryErro' foi recusada pelo banco de dados" << false;
        QTest::newRow("missing value") << "SELECT * FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL"
                                       << "não recebeu valor" << false;
        QTest::newRow("declared field missing") << "SELECT NMFILIAL FROM FILIAL"
                                                << "CDFILIAL" << false;
        QTest::newRow("text in a date") << "SELECT '0001' AS CDFILIAL, 'ontem' AS DIA"
                                        << "não traz uma data" << true;
    }
    void refusesWhatItCannotRunSafely() {
        TADOIBQuery query("qryErro");
        query.DataSet().AddField({"CDFILIAL", FieldType::String, 4});
        if (FAI_FETCH(bool, declareDay)) query.DataSet().AddField({"DIA", FieldType::DateTime});
        query.SetSQL(FAI_FETCH(QString, sql));
        try {
            query.Open();
            QFAIL("the query ran");
        } catch (const EError& e) {
            QVERIFY2(e.Message().contains(FAI_FETCH(QString, message)), qPrintable(e.Message()));
        }
        QVERIFY(!query.Active());
        QCOMPARE(server_->Seed().Count("FILIAL"), 3);
    }

    void unknownParametersAreErrors() {
        TADOIBQuery query("qryFilial");
        query.SetSQL(kBranchSql);
        QVERIFY_THROWS_EXCEPTION(EError, query.ParamByName("P_NADA"));
    }

    // Without general data the host never reached its server; a server that is not there is
    // said as every call to it says it.
    void aServerOutOfReachIsSaid_data() {
        QTest::addColumn<bool>("attached");
        QTest::addColumn<QString>("message");
        QTest::newRow("no general data")
            << false
            << "Os dados gerais não estão disponíveis: o host não se ligou ao servidor de "
               "aplicação.";
        QTest::newRow("no server")
            << true << EConnectionError::Unreachable({"127.0.0.1", 1}).Message();
    }
    void aServerOutOfReachIsSaid() {
        SetGeneralData(FAI_FETCH(bool, attached)
                           ? std::make_shared<ServerGeneralData>("127.0.0.1", 1)
                           : nullptr);
        TADOIBQuery query("qryFilial");
        query.SetSQL(kBranchSql);
        query.ParamByName("P_CDFILIAL").SetAsString("0001");
        query.ParamByName("P_TCDFILIAL").SetAsString("");
        try {
            query.Open();
            QFAIL("the query ran");
        } catch (const EError& e) {
            QCOMPARE(e.Message(), FAI_FETCH(QString, message));
        }
        QVERIFY(!query.Active());
    }

  private:
    appserver::test::TestDatabase database_{appserver::test::Backend::Sqlite};
    std::unique_ptr<GeneralDataServer> server_;
};

FAI_UI_TEST_MAIN(QueryTest)
#include "test_query.moc"
