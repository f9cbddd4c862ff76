#include "NativeFloor.h"

#include "Errors.h"
#include "PostgresClient.h"

#include <QDate>
#include <QHash>
#include <QLocale>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdlib>

namespace fai::appserver::bench {
namespace {

[[noreturn]] void Fail(const char* what, const char* why) {
    throw EError(QStringLiteral("floor: %1: %2").arg(QLatin1String(what), QString::fromUtf8(why)));
}

// A parameter as the database reads it from text.
QByteArray TextOf(const QVariant& value) {
    if (value.typeId() == QMetaType::Double)
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return value.toString().toUtf8();
}

class SqliteFloor final : public NativeFloor {
  public:
    explicit SqliteFloor(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK)
            Fail("sqlite3_open_v2", sqlite3_errmsg(db_));
        sqlite3_busy_timeout(db_, 10'000);
    }
    ~SqliteFloor() override {
        for (sqlite3_stmt* statement : std::as_const(prepared_)) sqlite3_finalize(statement);
        sqlite3_close(db_);
    }

    qint64 Run(const std::vector<FloorStatement>& statements) override {
        qint64 rows = 0;
        for (const FloorStatement& s : statements) {
            sqlite3_stmt* statement = Prepared(s.sql);
            for (int i = 0; i < s.params.size(); ++i) {
                const QVariant& param = s.params[i];
                if (param.typeId() == QMetaType::Double) {
                    sqlite3_bind_double(statement, i + 1, param.toDouble());
                } else {
                    const QByteArray text = param.toString().toUtf8();
                    sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                                      SQLITE_TRANSIENT);
                }
            }
            int step;
            while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
                ++rows;
                for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                    if (sqlite3_column_type(statement, c) == SQLITE_TEXT)
                        sink_ +=
                            sqlite3_column_bytes(statement, c) + *sqlite3_column_text(statement, c);
                    else
                        sink_ += qint64(sqlite3_column_double(statement, c));
                }
            }
            if (step != SQLITE_DONE) Fail("sqlite3_step", sqlite3_errmsg(db_));
            if (sqlite3_column_count(statement) == 0) rows += sqlite3_changes(db_);
            sqlite3_reset(statement);
        }
        return rows;
    }

  private:
    sqlite3_stmt* Prepared(const QString& sql) {
        sqlite3_stmt*& statement = prepared_[sql];
        if (!statement &&
            sqlite3_prepare_v3(db_, sql.toUtf8().constData(), -1, SQLITE_PREPARE_PERSISTENT,
                               &statement, nullptr) != SQLITE_OK)
            Fail("sqlite3_prepare_v3", sqlite3_errmsg(db_));
        return statement;
    }

    sqlite3* db_ = nullptr;
    QHash<QString, sqlite3_stmt*> prepared_;
    qint64 sink_ = 0;
};

class PostgresFloor final : public NativeFloor {
  public:
    explicit PostgresFloor(const DatabaseLocation& location) {
        const QByteArray host = location.host.toUtf8(), port = QByteArray::number(location.port),
                         name = location.databaseName.toUtf8(), user = location.user.toUtf8(),
                         password = location.password.toUtf8();
        const char* keywords[] = {"host", "port", "dbname", "user", "password", nullptr};
        const char* values[] = {host.constData(), port.constData(),     name.constData(),
                                user.constData(), password.constData(), nullptr};
        connection_ = PQconnectdbParams(keywords, values, 0);
        if (PQstatus(connection_) != CONNECTION_OK)
            Fail("PQconnectdb", PQerrorMessage(connection_));
    }
    ~PostgresFloor() override { PQfinish(connection_); }

    qint64 Run(const std::vector<FloorStatement>& statements) override {
        std::vector<QByteArray> names;
        for (const FloorStatement& s : statements) names.push_back(Prepared(s.sql));
        std::vector<std::vector<QByteArray>> texts(statements.size());
        std::vector<std::vector<const char*>> values(statements.size());
        for (std::size_t i = 0; i < statements.size(); ++i) {
            for (const QVariant& param : statements[i].params) texts[i].push_back(TextOf(param));
            for (const QByteArray& text : texts[i]) values[i].push_back(text.constData());
        }
        // One statement goes on its own; several in one round trip.
        if (statements.size() == 1)
            return Read(PQexecPrepared(connection_, names[0].constData(), int(values[0].size()),
                                       values[0].data(), nullptr, nullptr, 0));
        if (!PQenterPipelineMode(connection_))
            Fail("PQenterPipelineMode", PQerrorMessage(connection_));
        for (std::size_t i = 0; i < statements.size(); ++i)
            if (!PQsendQueryPrepared(connection_, names[i].constData(), int(values[i].size()),
                                     values[i].data(), nullptr, nullptr, 0))
                Fail("PQsendQueryPrepared", PQerrorMessage(connection_));
        if (!PQpipelineSync(connection_)) Fail("PQpipelineSync", PQerrorMessage(connection_));
        qint64 rows = 0;
        for (std::size_t i = 0; i < statements.size(); ++i) {
            rows += Read(PQgetResult(connection_));
            PQclear(PQgetResult(connection_));  // the end of this statement's results
        }
        PQclear(PQgetResult(connection_));  // the sync
        if (!PQexitPipelineMode(connection_))
            Fail("PQexitPipelineMode", PQerrorMessage(connection_));
        return rows;
    }

  private:
    // Every value of every row; the rows read or changed.
    qint64 Read(PGresult* result) {
        qint64 rows = 0;
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_TUPLES_OK) {
            rows = PQntuples(result);
            for (int r = 0; r < PQntuples(result); ++r)
                for (int c = 0; c < PQnfields(result); ++c)
                    sink_ += PQgetlength(result, r, c) + *PQgetvalue(result, r, c);
        } else if (status == PGRES_COMMAND_OK) {
            rows = std::atoi(PQcmdTuples(result));
        } else {
            Fail("PQgetResult", PQresultErrorMessage(result));
        }
        PQclear(result);
        return rows;
    }

    QByteArray Prepared(const QString& sql) {
        QByteArray& name = prepared_[sql];
        if (name.isEmpty()) {
            QString numbered;
            int count = 0;
            for (QChar c : sql)
                numbered += c == u'?' ? u'$' + QString::number(++count) : QString(c);
            name = "floor_" + QByteArray::number(prepared_.size());
            PGresult* result =
                PQprepare(connection_, name.constData(), numbered.toUtf8().constData(), 0, nullptr);
            if (PQresultStatus(result) != PGRES_COMMAND_OK)
                Fail("PQprepare", PQresultErrorMessage(result));
            PQclear(result);
        }
        return name;
    }

    PGconn* connection_ = nullptr;
    QHash<QString, QByteArray> prepared_;
    qint64 sink_ = 0;
};

}  // namespace

std::unique_ptr<NativeFloor> NativeFloor::Open(const DatabaseLocation& location) {
    if (location.kind == DatabaseKind::PostgreSql) return std::make_unique<PostgresFloor>(location);
    return std::make_unique<SqliteFloor>(location.path);
}

}  // namespace fai::appserver::bench
