#include "Schema.h"

#include "AppErrors.h"
#include "SqlSession.h"

#include <QStringList>

#include <stdexcept>

namespace fai::appserver {
namespace {

const QString kVersionTable = QStringLiteral("VERSAOBANCO");

// Version 1: the shared lookup tables as the host reads them, and the tables of the
// headcount billing. Codes and names keep the sizes the screens' datasets expect; counts,
// values and flags are checked where they are stored, so that no writer can store what the
// billing would misread.
QStringList Version1(const SqlDialect& dialect) {
    const QString generatedKey = dialect.GeneratedKey();
    return {
        QStringLiteral(R"(CREATE TABLE FILIAL (
            CDFILIAL VARCHAR(4) NOT NULL PRIMARY KEY,
            NMFILIAL VARCHAR(30) NOT NULL))"),
        QStringLiteral(R"(CREATE TABLE CLIENTE (
            CDCLIENTE VARCHAR(21) NOT NULL PRIMARY KEY,
            IDTPIJURCLIE CHAR(1) NOT NULL CHECK (IDTPIJURCLIE IN ('F', 'J')),
            NRINSJURCLIE VARCHAR(20) NOT NULL,
            NMRAZSOCCLIE VARCHAR(50) NOT NULL,
            NMFANTCLIE VARCHAR(50),
            CONSTRAINT UQ_CLIENTE_INSCRICAO UNIQUE (NRINSJURCLIE, IDTPIJURCLIE),
            CONSTRAINT CK_CLIENTE_CODIGO CHECK (CDCLIENTE = IDTPIJURCLIE || NRINSJURCLIE)))"),
        QStringLiteral(R"(CREATE TABLE CLIENFILIAL (
            CDFILIAL VARCHAR(4) NOT NULL REFERENCES FILIAL (CDFILIAL),
            CDCLIENTE VARCHAR(21) NOT NULL REFERENCES CLIENTE (CDCLIENTE),
            PRIMARY KEY (CDFILIAL, CDCLIENTE)))"),
        QStringLiteral("CREATE INDEX IX_CLIENFILIAL_CLIENTE ON CLIENFILIAL (CDCLIENTE)"),
        QStringLiteral(R"(CREATE TABLE SERVICO (
            CDFILIAL VARCHAR(4) NOT NULL REFERENCES FILIAL (CDFILIAL),
            CDSERVFILI VARCHAR(5) NOT NULL,
            NMSERVICO VARCHAR(40) NOT NULL,
            PRIMARY KEY (CDFILIAL, CDSERVFILI)))"),
        QStringLiteral(R"(CREATE TABLE PARAMFATUR (
            CDFILIAL VARCHAR(4) NOT NULL PRIMARY KEY REFERENCES FILIAL (CDFILIAL),
            DTPROCESSA DATE NOT NULL,
            IDBLQEFEDIAFECH CHAR(1) NOT NULL CHECK (IDBLQEFEDIAFECH IN ('S', 'N')),
            NRDIAANTDTPROC DOUBLE PRECISION NOT NULL CHECK (NRDIAANTDTPROC >= 0),
            IDUTILDTPROC CHAR(1) NOT NULL CHECK (IDUTILDTPROC IN ('S', 'N'))))"),
        QStringLiteral(R"(CREATE TABLE SERVCLIEFILI (
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DSEMISSERCLI VARCHAR(400),
            IDCONSCOMFAT CHAR(1) NOT NULL DEFAULT 'N' CHECK (IDCONSCOMFAT IN ('S', 'N')),
            IDVLRVARDATA CHAR(1) NOT NULL DEFAULT 'N' CHECK (IDVLRVARDATA IN ('S', 'N')),
            PRIMARY KEY (CDFILIAL, CDCLIENTE, CDSERVFILI),
            FOREIGN KEY (CDFILIAL, CDCLIENTE) REFERENCES CLIENFILIAL (CDFILIAL, CDCLIENTE),
            FOREIGN KEY (CDFILIAL, CDSERVFILI) REFERENCES SERVICO (CDFILIAL, CDSERVFILI)))"),
        QStringLiteral(
            "CREATE INDEX IX_SERVCLIEFILI_SERVICO ON SERVCLIEFILI (CDFILIAL, CDSERVFILI)"),
        QStringLiteral(R"(CREATE TABLE APURACFATCLI (
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            NRAPURACFAT VARCHAR(10) NOT NULL,
            DTINIAPURAC DATE NOT NULL,
            DTFIMAPURAC DATE NOT NULL,
            PRIMARY KEY (CDFILIAL, CDCLIENTE, NRAPURACFAT),
            FOREIGN KEY (CDFILIAL, CDCLIENTE) REFERENCES CLIENFILIAL (CDFILIAL, CDCLIENTE),
            CHECK (DTINIAPURAC <= DTFIMAPURAC)))"),
        QStringLiteral(R"(CREATE TABLE EFETFATUR (
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DTFATURAM DATE NOT NULL,
            QTCOMEFATU DOUBLE PRECISION NOT NULL DEFAULT 0 CHECK (QTCOMEFATU >= 0),
            QTCOMEPREV DOUBLE PRECISION NOT NULL DEFAULT 0 CHECK (QTCOMEPREV >= 0),
            VRSERVFATUDT DOUBLE PRECISION NOT NULL DEFAULT 0 CHECK (VRSERVFATUDT >= 0),
            CDFILIFATU VARCHAR(4),
            NRAPURACFAT VARCHAR(10),
            PRIMARY KEY (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM),
            FOREIGN KEY (CDFILIAL, CDCLIENTE, CDSERVFILI)
                REFERENCES SERVCLIEFILI (CDFILIAL, CDCLIENTE, CDSERVFILI),
            FOREIGN KEY (CDFILIFATU, CDCLIENTE, NRAPURACFAT)
                REFERENCES APURACFATCLI (CDFILIAL, CDCLIENTE, NRAPURACFAT),
            CHECK ((CDFILIFATU IS NULL) = (NRAPURACFAT IS NULL))))"),
        QStringLiteral("CREATE INDEX IX_EFETFATUR_APURACAO "
                       "ON EFETFATUR (CDFILIFATU, CDCLIENTE, NRAPURACFAT)"),
        QStringLiteral(R"(CREATE TABLE TURNO (
            CDFILIAL VARCHAR(4) NOT NULL REFERENCES FILIAL (CDFILIAL),
            CDTURNO VARCHAR(1) NOT NULL,
            NMTURNO VARCHAR(10) NOT NULL,
            PRIMARY KEY (CDFILIAL, CDTURNO)))"),
        QStringLiteral(R"(CREATE TABLE EFETTURNO (
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DTFATURAMTUR DATE NOT NULL,
            CDTURNO VARCHAR(1) NOT NULL,
            QTCOMFATUTUR DOUBLE PRECISION NOT NULL CHECK (QTCOMFATUTUR >= 0),
            PRIMARY KEY (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAMTUR, CDTURNO),
            FOREIGN KEY (CDFILIAL, CDCLIENTE, CDSERVFILI)
                REFERENCES SERVCLIEFILI (CDFILIAL, CDCLIENTE, CDSERVFILI),
            FOREIGN KEY (CDFILIAL, CDTURNO) REFERENCES TURNO (CDFILIAL, CDTURNO)))"),
        QStringLiteral("CREATE INDEX IX_EFETTURNO_TURNO ON EFETTURNO (CDFILIAL, CDTURNO)"),
        QStringLiteral(R"(CREATE TABLE ITEMRATEIOEFET (
            NRITEMRATEIOEFET %1,
            CDCLIENTE VARCHAR(21) NOT NULL REFERENCES CLIENTE (CDCLIENTE),
            CDITEMRATEIOEFET VARCHAR(5) NOT NULL,
            NMITEMRATEIOEFET VARCHAR(50) NOT NULL,
            CONSTRAINT UQ_ITEMRATEIOEFET_CODIGO UNIQUE (CDCLIENTE, CDITEMRATEIOEFET),
            CONSTRAINT UQ_ITEMRATEIOEFET_CLIENTE UNIQUE (NRITEMRATEIOEFET, CDCLIENTE)))")
            .arg(generatedKey),
        // A link belongs to one headcount row and to an item of the same client; it goes
        // with its headcount row.
        QStringLiteral(R"(CREATE TABLE ITRATEFECLIFAT (
            NRITRATEFECLIFAT %1,
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DTFATURAM DATE NOT NULL,
            CDSERVPLAN VARCHAR(5) NOT NULL,
            NRITEMRATEIOEFET INTEGER NOT NULL,
            QTEFETIVOS DOUBLE PRECISION CHECK (QTEFETIVOS >= 0),
            CONSTRAINT UQ_ITRATEFECLIFAT_ITEM
                UNIQUE (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, NRITEMRATEIOEFET),
            FOREIGN KEY (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM)
                REFERENCES EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM)
                ON DELETE CASCADE,
            FOREIGN KEY (NRITEMRATEIOEFET, CDCLIENTE)
                REFERENCES ITEMRATEIOEFET (NRITEMRATEIOEFET, CDCLIENTE)))")
            .arg(generatedKey),
        QStringLiteral(
            "CREATE INDEX IX_ITRATEFECLIFAT_ITEM ON ITRATEFECLIFAT (NRITEMRATEIOEFET, CDCLIENTE)"),
        QStringLiteral(R"(CREATE TABLE PLANEFETCLI (
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DTPLANEJAM DATE NOT NULL,
            QTCOMEFETCLI DOUBLE PRECISION NOT NULL CHECK (QTCOMEFETCLI >= 0),
            PRIMARY KEY (CDFILIAL, CDCLIENTE, CDSERVFILI, DTPLANEJAM),
            FOREIGN KEY (CDFILIAL, CDCLIENTE, CDSERVFILI)
                REFERENCES SERVCLIEFILI (CDFILIAL, CDCLIENTE, CDSERVFILI)))"),
        QStringLiteral(R"(CREATE TABLE EFETTRANSP (
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DTEFETTRANSP DATE NOT NULL,
            QTEFETTRANSP DOUBLE PRECISION NOT NULL CHECK (QTEFETTRANSP >= 0),
            PRIMARY KEY (CDFILIAL, CDCLIENTE, CDSERVFILI, DTEFETTRANSP),
            FOREIGN KEY (CDFILIAL, CDCLIENTE, CDSERVFILI)
                REFERENCES SERVCLIEFILI (CDFILIAL, CDCLIENTE, CDSERVFILI)))"),
        QStringLiteral(R"(CREATE TABLE RELFATURNUM (
            CDFILIAL VARCHAR(4) NOT NULL REFERENCES FILIAL (CDFILIAL),
            NRAPURACGD VARCHAR(10) NOT NULL,
            PRIMARY KEY (CDFILIAL, NRAPURACGD)))"),
        QStringLiteral(R"(CREATE TABLE RELCOMENSAL (
            CDFILIAL VARCHAR(4) NOT NULL,
            NRAPURACGD VARCHAR(10) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DTFATURAM DATE NOT NULL,
            QTCOMEFATU DOUBLE PRECISION NOT NULL CHECK (QTCOMEFATU >= 0),
            QTCOMEPREV DOUBLE PRECISION NOT NULL CHECK (QTCOMEPREV >= 0),
            VRSERVFATUDT DOUBLE PRECISION NOT NULL CHECK (VRSERVFATUDT >= 0),
            PRIMARY KEY (CDFILIAL, NRAPURACGD, CDCLIENTE, CDSERVFILI, DTFATURAM),
            FOREIGN KEY (CDFILIAL, NRAPURACGD) REFERENCES RELFATURNUM (CDFILIAL, NRAPURACGD)
                ON DELETE CASCADE))"),
    };
}

// Version 2: the listing report's working data. A report number is handed out by the
// database, so that concurrent screens and servers never share one; a deleted report keeps
// its number, marked, so that the number is never handed out again and deleting it twice is
// harmless. The rows carry the names the listing prints. No server of version 1 wrote
// report data, so the old tables go without anything to carry over.
QStringList Version2(const SqlDialect& dialect) {
    return {
        QStringLiteral("DROP TABLE RELCOMENSAL"),
        QStringLiteral("DROP TABLE RELFATURNUM"),
        QStringLiteral(R"(CREATE TABLE RELFATURNUM (
            NRAPURACGD %1,
            CDFILIAL VARCHAR(4) NOT NULL REFERENCES FILIAL (CDFILIAL),
            IDEXCLUIDO CHAR(1) NOT NULL DEFAULT 'N' CHECK (IDEXCLUIDO IN ('S', 'N'))))")
            .arg(dialect.GeneratedKey()),
        QStringLiteral(R"(CREATE TABLE RELCOMENSAL (
            NRAPURACGD INTEGER NOT NULL REFERENCES RELFATURNUM (NRAPURACGD),
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            NMRAZSOCCLIE VARCHAR(50) NOT NULL,
            NMFANTCLIE VARCHAR(50),
            CDSERVFILI VARCHAR(5) NOT NULL,
            NMSERVICO VARCHAR(40) NOT NULL,
            DTFATURAM DATE NOT NULL,
            QTCOMEFATU DOUBLE PRECISION NOT NULL CHECK (QTCOMEFATU >= 0),
            QTCOMEPREV DOUBLE PRECISION NOT NULL CHECK (QTCOMEPREV >= 0),
            VRSERVFATUDT DOUBLE PRECISION NOT NULL CHECK (VRSERVFATUDT >= 0),
            PRIMARY KEY (NRAPURACGD, CDCLIENTE, CDSERVFILI, DTFATURAM)))"),
    };
}

// Version 3: report data that nobody deleted (a host killed, a network dropped before the
// listing screen closed) is discarded once its number has gone unused for the server's
// retention time. A number records when it was last handed out or generated, and when its
// data was discarded, so that a later generation on it says why. Numbers handed out before
// the upgrade count as used at the upgrade. The working data carries the weekday the listing
// prints, worked out once where the rows are written.
QStringList Version3(const SqlDialect&) {
    return {
        QStringLiteral("ALTER TABLE RELFATURNUM ADD COLUMN DTHRULTUSO TIMESTAMP NOT NULL "
                       "DEFAULT '%1'")
            .arg(SqlTimestamp(QDateTime::currentDateTimeUtc())),
        QStringLiteral("ALTER TABLE RELFATURNUM ADD COLUMN DTHRDESCARTE TIMESTAMP"),
        QStringLiteral("CREATE INDEX IX_RELFATURNUM_USO ON RELFATURNUM (IDEXCLUIDO, DTHRULTUSO)"),
        QStringLiteral("ALTER TABLE RELCOMENSAL ADD COLUMN NMDIASEMANA VARCHAR(7)"),
    };
}

// Version 4: who may call the server. A user works in the branches listed for them, an
// administrator in all. A password is kept only as its Argon2id hash, a session only as the
// digest of its token, so that reading these tables gives no one a way in. Times are
// seconds since 1970 (UTC), which both databases compare alike. Failed sign-ins are counted
// per login typed, known or not, so that slowing down a login says nothing of whether it
// exists.
QStringList Version4(const SqlDialect&) {
    return {
        QStringLiteral(R"(CREATE TABLE USUARIO (
            NMLOGIN VARCHAR(30) NOT NULL PRIMARY KEY,
            NMUSUARIO VARCHAR(60) NOT NULL,
            DSHASHSENHA VARCHAR(128) NOT NULL,
            IDATIVO CHAR(1) NOT NULL DEFAULT 'S' CHECK (IDATIVO IN ('S', 'N')),
            IDADMINISTRADOR CHAR(1) NOT NULL DEFAULT 'N' CHECK (IDADMINISTRADOR IN ('S', 'N'))))"),
        QStringLiteral(R"(CREATE TABLE USUARIOFILIAL (
            NMLOGIN VARCHAR(30) NOT NULL REFERENCES USUARIO (NMLOGIN),
            CDFILIAL VARCHAR(4) NOT NULL REFERENCES FILIAL (CDFILIAL),
            PRIMARY KEY (NMLOGIN, CDFILIAL)))"),
        QStringLiteral(R"(CREATE TABLE SESSAOUSUARIO (
            DSRESUMOSESSAO CHAR(64) NOT NULL PRIMARY KEY,
            NMLOGIN VARCHAR(30) NOT NULL REFERENCES USUARIO (NMLOGIN),
            DTINICIO BIGINT NOT NULL,
            DTULTIMOUSO BIGINT NOT NULL))"),
        QStringLiteral("CREATE INDEX IX_SESSAOUSUARIO_USUARIO ON SESSAOUSUARIO (NMLOGIN)"),
        QStringLiteral(R"(CREATE TABLE FALHAENTRADA (
            NMLOGIN VARCHAR(30) NOT NULL PRIMARY KEY,
            QTFALHAS INTEGER NOT NULL CHECK (QTFALHAS > 0),
            DTULTIMAFALHA BIGINT NOT NULL))"),
    };
}

// Version 5: the history of every billed count, so that a count disputed months later can be
// answered with who changed it, when and from what to what. One row per field changed of a
// headcount row, a shift quantity or an apportionment link, written in the transaction of the
// change. It keeps no reference to the rows it tells of: it outlives them. Values are kept as
// text (numbers in the C locale, null for no value), times as milliseconds since 1970 (UTC).
// Nobody may change or remove a row of it once written.
QStringList Version5(const SqlDialect& dialect) {
    QStringList statements{
        QStringLiteral(R"(CREATE TABLE HISTEFETFATUR (
            NRHISTEFETFATUR %1,
            DTHRALTERACAO BIGINT NOT NULL,
            NMUSUARIO VARCHAR(60) NOT NULL,
            NMMAQUINA VARCHAR(64) NOT NULL,
            NMMETODO VARCHAR(20) NOT NULL,
            IDOPERACAO CHAR(1) NOT NULL CHECK (IDOPERACAO IN ('I', 'A', 'E')),
            CDFILIAL VARCHAR(4) NOT NULL,
            CDCLIENTE VARCHAR(21) NOT NULL,
            CDSERVFILI VARCHAR(5) NOT NULL,
            DTFATURAM DATE NOT NULL,
            CDTURNO VARCHAR(1),
            CDITEMRATEIOEFET VARCHAR(5),
            NMCAMPO VARCHAR(20) NOT NULL,
            VLANTERIOR VARCHAR(30),
            VLNOVO VARCHAR(30)))")
            .arg(dialect.GeneratedKey()),
        QStringLiteral("CREATE INDEX IX_HISTEFETFATUR_LINHA "
                       "ON HISTEFETFATUR (CDFILIAL, CDCLIENTE, DTFATURAM, CDSERVFILI)"),
    };
    return statements + dialect.AppendOnly(QStringLiteral("HISTEFETFATUR"));
}

// Version 6: the hosts read through the server, each read bounded by its caller's branches by
// the database itself (see SqlDialect::BoundHostReads).
QStringList Version6(const SqlDialect& dialect) { return dialect.BoundHostReads(); }

using Step = QStringList (*)(const SqlDialect&);
const Step kSteps[] = {&Version1, &Version2, &Version3, &Version4, &Version5, &Version6};

int ReadVersion(SqlSession& session) {
    SqlRows rows = session.Run(QStringLiteral("SELECT MAX(NRVERSAO) FROM VERSAOBANCO"));
    return rows.Next() ? rows.Value(0).toInt() : 0;
}

void RefuseNewer(int found) {
    if (found > Schema::CurrentVersion())
        throw ESchemaTooNew(
            QStringLiteral("O banco de dados está na versão %1 do esquema, mais nova que a "
                           "versão %2 que este fai-appserver conhece. Use um fai-appserver "
                           "atualizado para este banco.")
                .arg(found)
                .arg(Schema::CurrentVersion()));
}

}  // namespace

int Schema::CurrentVersion() { return static_cast<int>(std::size(kSteps)); }

int Schema::VersionOf(SqlSession& session) {
    return session.HasTable(kVersionTable) ? ReadVersion(session) : 0;
}

void Schema::Upgrade(SqlSession& session) { Upgrade(session, CurrentVersion()); }

void Schema::Upgrade(SqlSession& session, int toVersion) {
    if (toVersion < 1 || toVersion > CurrentVersion())
        throw std::invalid_argument("Schema::Upgrade: no such version");
    // Cheap check first, so that a newer database is refused without taking the lock.
    RefuseNewer(VersionOf(session));
    for (int version = 1; version <= toVersion; ++version) {
        // Several servers may start together on one PostgreSQL: each step is taken under
        // the lock and only by the first one that finds it missing.
        Transaction transaction(session, Transaction::Kind::Exclusive);
        const int found = VersionOf(session);
        RefuseNewer(found);
        if (found >= version) continue;
        if (found == 0)
            session.Execute(QStringLiteral("CREATE TABLE VERSAOBANCO (NRVERSAO INTEGER NOT NULL)"));
        for (const QString& statement : kSteps[version - 1](session.Dialect()))
            session.Execute(statement);
        session.Run(QStringLiteral("DELETE FROM VERSAOBANCO"));
        session.Run(QStringLiteral("INSERT INTO VERSAOBANCO (NRVERSAO) VALUES (?)"), {version});
        transaction.Commit();
    }
}

}  // namespace fai::appserver
