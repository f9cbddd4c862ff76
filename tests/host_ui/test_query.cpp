#include "Errors.h"
#include "TADOIBQuery.h"
#include "UiTesting.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace fai;

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

SharedDatabaseSettings SqliteAt(const QString& path, const QString& driver = "QSQLITE") {
    SharedDatabaseSettings settings;
    settings.driver = driver;
    settings.databaseName = path;
    return settings;
}

int BranchCount() {
    QSqlQuery count(QSqlDatabase::database(SharedConnectionName()));
    count.exec("SELECT COUNT(*) FROM FILIAL");
    count.next();
    return count.value(0).toInt();
}

}  // namespace

// The read-only query on a real SQLite file standing in for the shared database.
class QueryTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        RegisterSharedDatabase(SqliteAt(dir_.filePath(QStringLiteral("geral-%1.db").arg(++n_))));
        QSqlQuery setup(QSqlDatabase::database(SharedConnectionName()));
        QVERIFY(
            setup.exec("CREATE TABLE FILIAL (CDFILIAL CHAR(4) PRIMARY KEY, NMFILIAL VARCHAR(30),"
                       " DTABERTURA DATE, QTREFEICOES NUMERIC)"));
        QVERIFY(setup.exec(
            "INSERT INTO FILIAL VALUES ('0003', 'Centro', '2020-05-04', 120),"
            " ('0001', 'Matriz', '2001-01-02', 950.5), ('0002', 'Filial Sul', NULL, NULL)"));
    }
    void cleanup() { UnregisterSharedDatabase(); }

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
        query.SetSQL(
            "SELECT CDFILIAL, NMFILIAL, QTREFEICOES, 2.5 AS FATOR FROM FILIAL"
            " ORDER BY CDFILIAL");
        query.Open();
        ClientDataSet& rows = query.DataSet();
        QCOMPARE(rows.FieldCount(), 4);
        QCOMPARE(rows.FieldByName("FATOR").DataType(), FieldType::Float);
        QCOMPARE(rows.FieldByName("FATOR").AsFloat(), 2.5);
        QCOMPARE(rows.FieldByName("QTREFEICOES").AsFloat(), 950.5);
        QCOMPARE(rows.FieldByName("NMFILIAL").DataType(), FieldType::String);
        QCOMPARE(rows.FieldByName("NMFILIAL").Size(), 10);  // the longest name
        rows.Next();
        QVERIFY(rows.FieldByName("QTREFEICOES").IsNull());
    }

    void declaredFieldsTypeTheResult() {
        TADOIBQuery query("qryTipos");
        query.DataSet().AddField({"CDFILIAL", FieldType::String, 4});
        query.DataSet().AddField({"DTABERTURA", FieldType::DateTime});
        query.DataSet().AddField({"QTREFEICOES", FieldType::Float});
        query.SetSQL("SELECT CDFILIAL, DTABERTURA, QTREFEICOES FROM FILIAL ORDER BY CDFILIAL");
        query.Open();
        ClientDataSet& rows = query.DataSet();
        QCOMPARE(rows.FieldByName("DTABERTURA").AsDateTime(), QDate(2001, 1, 2));
        rows.Next();
        QVERIFY(rows.FieldByName("DTABERTURA").IsNull());
        rows.Next();
        QCOMPARE(rows.FieldByName("DTABERTURA").AsDateTime(), QDate(2020, 5, 4));
        QCOMPARE(rows.FieldByName("QTREFEICOES").AsFloat(), 120.0);
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
        QTest::newRow("no such table") << "SELECT * FROM NADA"
                                       << "Erro na consulta 'qryErro'" << false;
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
        QCOMPARE(BranchCount(), 3);
    }

    void unknownParametersAndConnectionsAreErrors() {
        TADOIBQuery query("qryFilial");
        query.SetSQL(kBranchSql);
        QVERIFY_THROWS_EXCEPTION(EError, query.ParamByName("P_NADA"));
        TADOIBQuery elsewhere("qryOutra", "semConexao");
        elsewhere.SetSQL("SELECT 1 AS UM");
        QVERIFY_THROWS_EXCEPTION(EError, elsewhere.Open());
        UnregisterSharedDatabase();
        QVERIFY(!SharedDatabaseRegistered());
        query.ParamByName("P_CDFILIAL").SetAsString("0001");
        query.ParamByName("P_TCDFILIAL").Clear();
        QVERIFY_THROWS_EXCEPTION(EError, query.Open());
    }

    void sharedConnectionFailuresLeaveNoConnection() {
        QVERIFY_THROWS_EXCEPTION(EError, RegisterSharedDatabase(SqliteAt("x", "QNOSUCHDRIVER")));
        QVERIFY(!SharedDatabaseRegistered());
        QVERIFY_THROWS_EXCEPTION(
            EError, RegisterSharedDatabase(SqliteAt(dir_.filePath("nao/existe/geral.db"))));
        QVERIFY(!SharedDatabaseRegistered());
    }

  private:
    QTemporaryDir dir_;
    int n_ = 0;
};

FAI_UI_TEST_MAIN(QueryTest)
#include "test_query.moc"
