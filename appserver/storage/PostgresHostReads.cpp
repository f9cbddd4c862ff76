#include "PostgresHostReads.h"

#include "AppErrors.h"
#include "HostReadable.h"
#include "PostgresClient.h"
#include "PostgresTypes.h"

#include <libpq-fe.h>
#include <poll.h>

#include <charconv>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace fai::appserver {
namespace {

using Clock = std::chrono::steady_clock;

// Seconds: a PostgreSQL that is down must not hold a call for the operating system's minutes.
constexpr int kConnectTimeoutS = 10;
// Rows brought from the database at a time: what a part of the answer holds at most.
constexpr int kFetchRows = 1000;
// After a cancel, how long the database has to say that the query stopped before the
// connection is given up.
constexpr std::chrono::seconds kCancelGrace{5};
const char* const kCursor = "fai_consulta";
// What PostgreSQL says of a statement stopped by a cancel or its statement_timeout.
const char* const kQueryCanceled = "57014";
// The commands of a query's round trip from this one on are the query's: they are refused in
// its words.
constexpr std::size_t kQueryCommand = 4;

struct ResultFree {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

FieldType TypeOf(Oid type) {
    if (IsNumber(type) || type == kOid) return FieldType::Float;
    if (type == kDate || type == kTimestamp || type == kTimestampTz) return FieldType::DateTime;
    return FieldType::String;
}

QString PrimaryMessage(const PGresult* result, PGconn* connection) {
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    return QString::fromUtf8(primary ? primary : PQerrorMessage(connection)).trimmed();
}

// The reader's connection data: the server's database, as the reader logs in.
DatabaseLocation ReaderLocation(const DatabaseLocation& server, const HostReadSettings& settings) {
    const QString reader =
        settings.reader.isEmpty() ? HostReadSettings::kDefaultReader : settings.reader;
    if (reader.contains(u"://")) return DatabaseLocation::Parse(reader);
    DatabaseLocation location = server;
    location.user = reader;
    location.password.clear();
    return location;
}

class PostgresReadConnection;

// The rows of the cursor, brought a thousand at a time.
class PostgresHostQuery final : public HostQuery {
  public:
    // `rows`: the cursor's first rows, fetched with it.
    PostgresHostQuery(PostgresReadConnection& reads, Clock::time_point due, Result rows);
    ~PostgresHostQuery() override;

    const std::vector<HostColumn>& Columns() const override { return columns_; }
    bool Next() override;
    SqlCell Cell(int column) const override;

  private:
    void Fetch();

    PostgresReadConnection& reads_;
    const Clock::time_point due_;
    Result rows_;
    int row_ = -1;
    bool last_ = false;  // the cursor has given its last rows
    std::vector<HostColumn> columns_;
};

class PostgresReadConnection final : public HostReadConnection {
  public:
    PostgresReadConnection(const DatabaseLocation& location, const HostReadSettings& settings)
        : timeLimit_(settings.timeLimit), location_(location) {
        std::vector<QByteArray> keys{
            "host", "port", "dbname", "user", "connect_timeout", "client_encoding", "options"};
        std::vector<QByteArray> values{location.host.toUtf8(),
                                       QByteArray::number(location.port),
                                       location.databaseName.toUtf8(),
                                       location.user.toUtf8(),
                                       QByteArray::number(kConnectTimeoutS),
                                       "UTF8",
                                       "-c DateStyle=ISO"};
        if (!location.password.isEmpty()) {
            keys.push_back("password");
            values.push_back(location.password.toUtf8());
        }
        for (const QString& option : location.connectOptions.split(u';', Qt::SkipEmptyParts)) {
            const qsizetype equals = option.indexOf(u'=');
            if (equals <= 0) continue;
            keys.push_back(option.left(equals).trimmed().toUtf8());
            values.push_back(option.mid(equals + 1).trimmed().toUtf8());
        }
        std::vector<const char*> keyPointers;
        std::vector<const char*> valuePointers;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            keyPointers.push_back(keys[i].constData());
            valuePointers.push_back(values[i].constData());
        }
        keyPointers.push_back(nullptr);
        valuePointers.push_back(nullptr);
        connection_ = PQconnectdbParams(keyPointers.data(), valuePointers.data(), 0);
        if (PQstatus(connection_) != CONNECTION_OK) {
            const QString reason = QString::fromUtf8(PQerrorMessage(connection_)).simplified();
            PQfinish(connection_);
            throw EDatabaseUnavailable(
                QStringLiteral("Não foi possível abrir o banco de dados %1 para as consultas "
                               "dos hosts: %2")
                    .arg(location.Describe(), reason));
        }
    }

    ~PostgresReadConnection() override { PQfinish(connection_); }

    std::unique_ptr<HostQuery> Run(const QString& sql, const QVariantList& params,
                                   const ReadScope& scope) override {
        const Clock::time_point due = Clock::now() + timeLimit_;
        Drain();
        // The caller's branches go in this transaction only, which writes nothing else and
        // reads as read-only from here on; it is rolled back, and they go with it. All of it,
        // the query's cursor and its first rows go in one round trip.
        const QStringList branches = scope.everyBranch ? QStringList{kEveryBranch} : scope.branches;
        const PostgresParameters scopeParams({BranchArray(branches)});
        const PostgresParameters queryParams(params);
        const QByteArray timeout = QByteArray::number(qint64(timeLimit_.count()));
        std::vector<Result> results =
            Pipeline({{"BEGIN"},
                      {"INSERT INTO " + kReadScopeTable.toUtf8() +
                           " (NRPROCESSO, CDFILIAL) SELECT pg_backend_pid(), unnest($1::varchar[])",
                       &scopeParams},
                      {"SET TRANSACTION READ ONLY"},
                      {"SET LOCAL statement_timeout = " + timeout},
                      {QByteArray("DECLARE ") + kCursor + " NO SCROLL CURSOR FOR " +
                           NumberedPlaceholders(sql).toUtf8(),
                       &queryParams},
                      {FetchText()}},
                     due);
        try {
            for (std::size_t i = 0; i < results.size(); ++i) Expect(results[i], i >= kQueryCommand);
            return std::make_unique<PostgresHostQuery>(*this, due, std::move(results.back()));
        } catch (...) {
            End();
            throw;
        }
    }

    bool IsOpen() override { return PQstatus(connection_) == CONNECTION_OK; }

    // Sends the text and waits for its results, the last one or the first that failed; a
    // query still running when it is due is cancelled.
    Result Exec(const QByteArray& sql, Clock::time_point due) {
        if (!PQsendQuery(connection_, sql.constData())) Lost(nullptr);
        Result kept;
        Waiting waiting(*this, due);
        while (Result result = waiting.Next()) {
            // The first failure is what went wrong: what follows it was not run.
            if (!kept || Succeeded(kept.get())) kept = std::move(result);
        }
        waiting.Finished();
        return kept;
    }

    // One command of a pipeline: its text and its parameters, if any.
    struct Command {
        QByteArray sql;
        const PostgresParameters* params = nullptr;
    };

    // Sends the commands in one round trip and waits for the result of each, in order; those
    // after one that failed come back aborted.
    std::vector<Result> Pipeline(const std::vector<Command>& commands, Clock::time_point due) {
        if (!PQenterPipelineMode(connection_)) Lost(nullptr);
        for (const Command& command : commands) {
            const PostgresParameters none({});
            const PostgresParameters& params = command.params ? *command.params : none;
            if (!PQsendQueryParams(connection_, command.sql.constData(), params.Count(), nullptr,
                                   params.Values(), nullptr, nullptr, 0))
                Lost(nullptr);
        }
        if (!PQpipelineSync(connection_)) Lost(nullptr);
        std::vector<Result> results;
        Waiting waiting(*this, due);
        for (std::size_t i = 0; i < commands.size(); ++i) {
            results.push_back(waiting.Next());
            if (!results.back()) Lost(nullptr);
            waiting.Next();  // the end of this command's results
        }
        const Result sync = waiting.Next();
        if (PQresultStatus(sync.get()) != PGRES_PIPELINE_SYNC || !PQexitPipelineMode(connection_))
            Lost(nullptr);
        waiting.Finished();
        return results;
    }

    // The next FETCH of the cursor.
    static QByteArray FetchText() {
        return QByteArray("FETCH FORWARD ") + QByteArray::number(kFetchRows) + " FROM " + kCursor;
    }

    // A statement of the server's own must succeed; one of the query is refused in words.
    void Expect(const Result& result, bool theQuery) const {
        if (result && Succeeded(result.get())) return;
        if (!IsOpenNow()) Lost(result.get());
        const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        if (state && qstrcmp(state, kQueryCanceled) == 0) TooLong();
        if (theQuery) QueryRefused(PrimaryMessage(result.get(), connection_));
        throw EDatabaseError(QStringLiteral("Falha no banco de dados ao preparar a consulta do "
                                            "host (o papel %1 pode ler as tabelas dos hosts?): "
                                            "%2")
                                 .arg(location_.user, PrimaryMessage(result.get(), connection_)));
    }

    // Ends the transaction, and the cursor with it, without waiting: the database has ended it
    // by the time the next query comes, which takes the answer (Drain).
    void End() noexcept {
        if (PQstatus(connection_) != CONNECTION_OK) return;
        if (PQtransactionStatus(connection_) == PQTRANS_ACTIVE) Cancel();
        rollingBack_ = PQsendQuery(connection_, "ROLLBACK") == 1;
    }

    std::chrono::milliseconds TimeLimit() const { return timeLimit_; }

  private:
    // The results of what was sent, as they come, the query cancelled when it is due.
    class Waiting {
      public:
        Waiting(PostgresReadConnection& connection, Clock::time_point due)
            : connection_(connection), due_(due) {}
        Result Next() {
            while (PQisBusy(connection_.connection_)) {
                if (!connection_.Wait(due_)) {
                    if (cancelled_) connection_.Lost(nullptr);
                    connection_.Cancel();
                    cancelled_ = true;
                    due_ = Clock::now() + kCancelGrace;
                }
                if (!PQconsumeInput(connection_.connection_)) connection_.Lost(nullptr);
            }
            return Result(PQgetResult(connection_.connection_));
        }
        // A query that had to be cancelled took too long, whatever it answered.
        void Finished() const {
            if (cancelled_) connection_.TooLong();
        }

      private:
        PostgresReadConnection& connection_;
        Clock::time_point due_;
        bool cancelled_ = false;
    };

    // The answer of the ROLLBACK that ended the last query.
    void Drain() {
        if (!std::exchange(rollingBack_, false)) return;
        Waiting waiting(*this, Clock::now() + kCancelGrace);
        while (Result result = waiting.Next())
            if (!Succeeded(result.get())) Lost(result.get());
    }

    // The branches as a text array of PostgreSQL's.
    static QByteArray BranchArray(const QStringList& branches) {
        QByteArray array = "{";
        for (qsizetype i = 0; i < branches.size(); ++i) {
            QByteArray code = branches[i].toUtf8();
            code.replace('\\', "\\\\").replace('"', "\\\"");
            array += (i > 0 ? ",\"" : "\"") + code + '"';
        }
        return array + '}';
    }

    static bool Succeeded(const PGresult* result) {
        const ExecStatusType status = PQresultStatus(result);
        return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    }

    bool IsOpenNow() const { return PQstatus(connection_) == CONNECTION_OK; }

    // Whether the database sent something before `due`.
    bool Wait(Clock::time_point due) const {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
        if (left.count() <= 0) return false;
        pollfd socket{PQsocket(connection_), POLLIN, 0};
        return poll(&socket, 1, int(std::min<qint64>(left.count(), 1'000'000))) != 0;
    }

    void Cancel() const {
        PGcancel* cancel = PQgetCancel(connection_);
        if (!cancel) return;
        char reason[256];
        PQcancel(cancel, reason, sizeof reason);
        PQfreeCancel(cancel);
    }

  public:
    [[noreturn]] void TooLong() const { QueryTooLong(timeLimit_); }

  private:
    [[noreturn]] void Lost(const PGresult* result) const {
        throw EDatabaseUnavailable(
            QStringLiteral("Conexão com o banco de dados perdida nas consultas dos hosts: %1")
                .arg(PrimaryMessage(result, connection_).simplified()));
    }

    const std::chrono::milliseconds timeLimit_;
    const DatabaseLocation location_;
    PGconn* connection_ = nullptr;
    bool rollingBack_ = false;  // a ROLLBACK sent whose answer is not taken yet
};

PostgresHostQuery::PostgresHostQuery(PostgresReadConnection& reads, Clock::time_point due,
                                     Result rows)
    : reads_(reads), due_(due), rows_(std::move(rows)) {
    last_ = PQntuples(rows_.get()) < kFetchRows;
    const int count = PQnfields(rows_.get());
    columns_.reserve(std::size_t(count));
    for (int column = 0; column < count; ++column)
        columns_.push_back({QString::fromUtf8(PQfname(rows_.get(), column)),
                            TypeOf(PQftype(rows_.get(), column)), true});
}

PostgresHostQuery::~PostgresHostQuery() {
    rows_.reset();
    reads_.End();
}

void PostgresHostQuery::Fetch() {
    if (Clock::now() >= due_) reads_.TooLong();
    rows_ = reads_.Exec(PostgresReadConnection::FetchText(), due_);
    reads_.Expect(rows_, true);
    row_ = -1;
    last_ = PQntuples(rows_.get()) < kFetchRows;
}

bool PostgresHostQuery::Next() {
    if (++row_ < PQntuples(rows_.get())) return true;
    if (last_) return false;
    Fetch();
    return ++row_ < PQntuples(rows_.get());
}

SqlCell PostgresHostQuery::Cell(int column) const {
    if (PQgetisnull(rows_.get(), row_, column)) return {};
    const QByteArrayView text(PQgetvalue(rows_.get(), row_, column),
                              PQgetlength(rows_.get(), row_, column));
    if (columns_[std::size_t(column)].type == FieldType::Float) {
        double number = 0;
        const auto [end, error] = std::from_chars(text.begin(), text.end(), number);
        if (error == std::errc() && end == text.end()) return {SqlCell::Kind::Number, number, {}};
        return {SqlCell::Kind::Other, 0, {}};
    }
    return {SqlCell::Kind::Text, 0, text};
}

}  // namespace

std::unique_ptr<HostReadConnection> PostgresHostReads(const DatabaseLocation& location,
                                                      const HostReadSettings& settings) {
    return std::make_unique<PostgresReadConnection>(ReaderLocation(location, settings), settings);
}

}  // namespace fai::appserver
