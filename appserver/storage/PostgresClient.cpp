#include "PostgresClient.h"

#include "PostgresTypes.h"

#include <QDate>
#include <QLocale>
#include <QSqlDriver>

#include <libpq-fe.h>
#include <poll.h>

#include <charconv>
#include <cstdlib>
#include <optional>
#include <vector>

namespace fai::appserver {
namespace {

// What an idle connection may have received: a notice, and the end of the session.
constexpr int kIdleReads = 4;

// The type QtSql gives a column of the type, null included.
QMetaType MetaTypeOf(Oid type) {
    switch (type) {
        case kBool:
            return QMetaType::fromType<bool>();
        case kInt8:
            return QMetaType::fromType<qlonglong>();
        case kInt2:
        case kInt4:
            return QMetaType::fromType<int>();
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return QMetaType::fromType<double>();
        case kDate:
            return QMetaType::fromType<QDate>();
        default:
            return QMetaType::fromType<QString>();
    }
}

}  // namespace

QByteArray PostgresParameterText(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        case QMetaType::Bool:
            return value.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
        default:
            return value.toString().toUtf8();
    }
}

PostgresParameters::PostgresParameters(const QVariantList& params)
    : texts_(params.size()), values_(params.size(), nullptr) {
    for (qsizetype i = 0; i < params.size(); ++i) {
        if (IsSqlNull(params[i])) continue;
        texts_[i] = PostgresParameterText(params[i]);
        values_[i] = texts_[i].constData();
    }
}

namespace {

class PostgresConnection;

class PostgresStatement final : public PreparedStatement {
  public:
    PostgresStatement(PostgresConnection& connection, QByteArray name)
        : connection_(connection), name_(std::move(name)) {}
    ~PostgresStatement() override { PQclear(result_); }
    PostgresStatement(const PostgresStatement&) = delete;
    PostgresStatement& operator=(const PostgresStatement&) = delete;

    const QByteArray& Name() const { return name_; }

    void Run(const QVariantList& params) override;
    // The rows of a run sent by the connection.
    void Take(PGresult* result) {
        Finish();
        result_ = result;
    }

    bool Next() override { return result_ && ++row_ < PQntuples(result_); }

    void Finish() noexcept override {
        PQclear(result_);
        result_ = nullptr;
        row_ = -1;
    }

    int Columns() const override { return result_ ? PQnfields(result_) : 0; }

    int Changed() const override { return result_ ? std::atoi(PQcmdTuples(result_)) : 0; }

    SqlCell Cell(int column) const override {
        if (PQgetisnull(result_, row_, column)) return {};
        const QByteArrayView text(PQgetvalue(result_, row_, column),
                                  PQgetlength(result_, row_, column));
        const Oid type = PQftype(result_, column);
        if (IsNumber(type)) {
            double number = 0;
            const auto [end, error] = std::from_chars(text.begin(), text.end(), number);
            if (error == std::errc() && end == text.end())
                return {SqlCell::Kind::Number, number, {}};
            return {SqlCell::Kind::Other, 0, {}};
        }
        if (type == kBool) return {SqlCell::Kind::Other, 0, {}};
        return {SqlCell::Kind::Text, 0, text};
    }

    QVariant Value(int column) const override {
        const Oid type = PQftype(result_, column);
        if (PQgetisnull(result_, row_, column)) return QVariant(MetaTypeOf(type));
        const char* text = PQgetvalue(result_, row_, column);
        switch (type) {
            case kBool:
                return QVariant(text[0] == 't');
            case kInt8:
                return QVariant(QByteArray(text).toLongLong());
            case kInt2:
            case kInt4:
                return QVariant(QByteArray(text).toInt());
            case kFloat4:
            case kFloat8:
            case kNumeric:
                return QVariant(Cell(column).number);
            case kDate:
                return QVariant(QDate::fromString(QLatin1String(text), Qt::ISODate));
            default:
                return QVariant(QString::fromUtf8(text, PQgetlength(result_, row_, column)));
        }
    }

  private:
    PostgresConnection& connection_;
    QByteArray name_;
    PGresult* result_ = nullptr;
    int row_ = -1;
};

class PostgresConnection final : public DatabaseConnection {
  public:
    explicit PostgresConnection(PGconn* connection) : connection_(connection) {}

    PGconn* Handle() const { return connection_; }

    std::unique_ptr<PreparedStatement> Prepare(const QString& sql) override {
        QByteArray name = QByteArrayLiteral("fai_") + QByteArray::number(++prepared_);
        PQclear(Check(PQprepare(connection_, name.constData(),
                                NumberedPlaceholders(sql).toUtf8().constData(), 0, nullptr)));
        return std::make_unique<PostgresStatement>(*this, std::move(name));
    }

    void Forget(PreparedStatement& statement) noexcept override {
        // A statement that cannot be freed stays until the connection closes, which frees it:
        // a connection that failed is found out by the next statement.
        const QByteArray name = static_cast<PostgresStatement&>(statement).Name();
        PQclear(PQexec(connection_, ("DEALLOCATE " + name).constData()));
    }

    void Execute(const QString& sql) override {
        PQclear(Check(PQexec(connection_, sql.toUtf8().constData())));
    }

    // A database that restarts or ends the session says why and closes the socket: what it
    // sent while the connection was idle is read until nothing more is there.
    bool IsOpen() override {
        pollfd socket{PQsocket(connection_), POLLIN, 0};
        for (int reads = 0; reads < kIdleReads && PQstatus(connection_) == CONNECTION_OK &&
                            poll(&socket, 1, 0) > 0;
             ++reads)
            if (!PQconsumeInput(connection_)) return false;
        return PQstatus(connection_) == CONNECTION_OK;
    }

    // In one round trip, in pipeline mode.
    void RunTogether(const std::vector<Run>& runs) override;

    // Takes the result; returns it when the statement succeeded.
    PGresult* Check(PGresult* result) const {
        switch (PQresultStatus(result)) {
            case PGRES_COMMAND_OK:
            case PGRES_TUPLES_OK:
                return result;
            default: {
                const QString reason = QString::fromUtf8(result ? PQresultErrorMessage(result)
                                                                : PQerrorMessage(connection_));
                PQclear(result);
                StatementFailed(reason, PQstatus(connection_) != CONNECTION_OK);
            }
        }
    }

  private:
    bool Send(const PostgresStatement& statement, const PostgresParameters& texts) {
        return PQsendQueryPrepared(connection_, statement.Name().constData(), texts.Count(),
                                   texts.Values(), nullptr, nullptr, 0);
    }

    // A pipeline that breaks off has lost its connection.
    [[noreturn]] void Lost() const {
        StatementFailed(QString::fromUtf8(PQerrorMessage(connection_)), true);
    }

    PGconn* connection_;
    quint64 prepared_ = 0;
};

void PostgresStatement::Run(const QVariantList& params) {
    Finish();
    const PostgresParameters texts(params);
    result_ = connection_.Check(PQexecPrepared(connection_.Handle(), name_.constData(),
                                               texts.Count(), texts.Values(), nullptr, nullptr, 0));
}

void PostgresConnection::RunTogether(const std::vector<Run>& runs) {
    if (runs.size() < 2) return DatabaseConnection::RunTogether(runs);
    if (!PQenterPipelineMode(connection_)) Lost();
    for (const Run& run : runs) {
        const bool sent = run.statement
                              ? Send(*static_cast<PostgresStatement*>(run.statement),
                                     PostgresParameters(*run.params))
                              : PQsendQueryParams(connection_, run.asItStands.toUtf8().constData(),
                                                  0, nullptr, nullptr, nullptr, nullptr, 0);
        if (!sent) Lost();
    }
    if (!PQpipelineSync(connection_)) Lost();
    // Every result is collected, up to the end of the pipeline, before anything is said: a
    // statement after one that failed is skipped by the database and answers so.
    std::optional<QString> failure;
    std::size_t taken = 0;
    for (const Run& run : runs) {
        PGresult* result = PQgetResult(connection_);
        if (!result) Lost();
        const ExecStatusType status = PQresultStatus(result);
        if (!failure && (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK)) {
            if (run.statement)
                static_cast<PostgresStatement*>(run.statement)->Take(result);
            else
                PQclear(result);
            ++taken;
        } else {
            if (!failure && status != PGRES_PIPELINE_ABORTED)
                failure = QString::fromUtf8(PQresultErrorMessage(result));
            PQclear(result);
        }
        PQclear(PQgetResult(connection_));  // the end of this statement's results
    }
    PGresult* sync = PQgetResult(connection_);
    const bool synced = PQresultStatus(sync) == PGRES_PIPELINE_SYNC;
    PQclear(sync);
    if (!synced || !PQexitPipelineMode(connection_)) Lost();
    if (!failure) return;
    for (std::size_t i = 0; i < taken; ++i)
        if (runs[i].statement) runs[i].statement->Finish();
    StatementFailed(*failure, PQstatus(connection_) != CONNECTION_OK);
}

}  // namespace

QString NumberedPlaceholders(const QString& sql) {
    QString numbered;
    numbered.reserve(sql.size() + 16);
    QChar quote;
    int count = 0;
    for (QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            numbered += u'$' + QString::number(++count);
            continue;
        }
        numbered += c;
    }
    return numbered;
}

std::unique_ptr<DatabaseConnection> PostgresClient(const QSqlDatabase& opened) {
    const QVariant handle = opened.driver()->handle();
    // The driver registers the handle under the name of the struct behind libpq's typedef.
    const bool isLibpq =
        qstrcmp(handle.typeName(), "pg_conn*") == 0 || qstrcmp(handle.typeName(), "PGconn*") == 0;
    PGconn* connection = isLibpq ? *static_cast<PGconn* const*>(handle.constData()) : nullptr;
    if (!connection)
        StatementFailed(QStringLiteral("o driver QPSQL não tem uma conexão PostgreSQL aberta."),
                        false);
    return std::make_unique<PostgresConnection>(connection);
}

}  // namespace fai::appserver
