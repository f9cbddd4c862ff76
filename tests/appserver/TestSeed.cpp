#include "TestSeed.h"

#include <QSqlRecord>

namespace fai::appserver::test {

TestSeed& TestSeed::Branch(const QString& code, const QString& name) {
    session_.Run(QStringLiteral("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES (?, ?)"),
                 {code, name});
    return *this;
}

TestSeed& TestSeed::Params(const QString& branch, const QDate& processing,
                           const QString& blockClosed, double openDaysBefore,
                           const QString& useProcessing) {
    session_.Run(QStringLiteral("INSERT INTO PARAMFATUR (CDFILIAL, DTPROCESSA, IDBLQEFEDIAFECH, "
                                "NRDIAANTDTPROC, IDUTILDTPROC) VALUES (?, ?, ?, ?, ?)"),
                 {branch, SqlDate(processing), blockClosed, openDaysBefore, useProcessing});
    return *this;
}

TestSeed& TestSeed::Client(const QString& type, const QString& number, const QString& name,
                           const QVariant& tradeName) {
    session_.Run(QStringLiteral("INSERT INTO CLIENTE (CDCLIENTE, IDTPIJURCLIE, NRINSJURCLIE, "
                                "NMRAZSOCCLIE, NMFANTCLIE) VALUES (?, ?, ?, ?, ?)"),
                 {type + number, type, number, name, tradeName});
    return *this;
}

TestSeed& TestSeed::ClientAt(const QString& branch, const QString& client) {
    session_.Run(QStringLiteral("INSERT INTO CLIENFILIAL (CDFILIAL, CDCLIENTE) VALUES (?, ?)"),
                 {branch, client});
    return *this;
}

TestSeed& TestSeed::Service(const QString& branch, const QString& code, const QString& name) {
    session_.Run(
        QStringLiteral("INSERT INTO SERVICO (CDFILIAL, CDSERVFILI, NMSERVICO) VALUES (?, ?, ?)"),
        {branch, code, name});
    return *this;
}

TestSeed& TestSeed::ClientService(const QString& branch, const QString& client,
                                  const QString& service, const QVariant& invoiceText,
                                  const QString& comparePlanning, const QString& valuePerDate) {
    session_.Run(QStringLiteral("INSERT INTO SERVCLIEFILI (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                "DSEMISSERCLI, IDCONSCOMFAT, IDVLRVARDATA) "
                                "VALUES (?, ?, ?, ?, ?, ?)"),
                 {branch, client, service, invoiceText, comparePlanning, valuePerDate});
    return *this;
}

TestSeed& TestSeed::Headcount(const Key& key, double billed, double forecast, double value,
                              const QVariant& billingBranch, const QVariant& assessment) {
    session_.Run(QStringLiteral("INSERT INTO EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                "DTFATURAM, QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT, CDFILIFATU, "
                                "NRAPURACFAT) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {key.branch, key.client, key.service, SqlDate(key.date), billed, forecast, value,
                  billingBranch, assessment});
    return *this;
}

TestSeed& TestSeed::Period(const QString& branch, const QString& client, const QString& number,
                           const QDate& first, const QDate& last) {
    session_.Run(QStringLiteral("INSERT INTO APURACFATCLI (CDFILIAL, CDCLIENTE, NRAPURACFAT, "
                                "DTINIAPURAC, DTFIMAPURAC) VALUES (?, ?, ?, ?, ?)"),
                 {branch, client, number, SqlDate(first), SqlDate(last)});
    return *this;
}

TestSeed& TestSeed::Shift(const QString& branch, const QString& code, const QString& name) {
    session_.Run(QStringLiteral("INSERT INTO TURNO (CDFILIAL, CDTURNO, NMTURNO) VALUES (?, ?, ?)"),
                 {branch, code, name});
    return *this;
}

TestSeed& TestSeed::ShiftQuantity(const Key& key, const QString& shift, double quantity) {
    session_.Run(QStringLiteral("INSERT INTO EFETTURNO (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                "DTFATURAMTUR, CDTURNO, QTCOMFATUTUR) VALUES (?, ?, ?, ?, ?, ?)"),
                 {key.branch, key.client, key.service, SqlDate(key.date), shift, quantity});
    return *this;
}

TestSeed& TestSeed::Planning(const Key& key, double diners) {
    session_.Run(QStringLiteral("INSERT INTO PLANEFETCLI (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                "DTPLANEJAM, QTCOMEFETCLI) VALUES (?, ?, ?, ?, ?)"),
                 {key.branch, key.client, key.service, SqlDate(key.date), diners});
    return *this;
}

int TestSeed::Item(const QString& client, const QString& code, const QString& name) {
    SqlRows rows = session_.Run(
        QStringLiteral("INSERT INTO ITEMRATEIOEFET (CDCLIENTE, CDITEMRATEIOEFET, "
                       "NMITEMRATEIOEFET) VALUES (?, ?, ?) RETURNING NRITEMRATEIOEFET"),
        {client, code, name});
    rows.Next();
    return rows.Value(0).toInt();
}

int TestSeed::Link(const Key& key, int item, const QVariant& diners) {
    SqlRows rows = session_.Run(
        QStringLiteral("INSERT INTO ITRATEFECLIFAT (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, "
                       "CDSERVPLAN, NRITEMRATEIOEFET, QTEFETIVOS) VALUES (?, ?, ?, ?, ?, ?, ?) "
                       "RETURNING NRITRATEFECLIFAT"),
        {key.branch, key.client, key.service, SqlDate(key.date), key.service, item, diners});
    rows.Next();
    return rows.Value(0).toInt();
}

TestSeed& TestSeed::Transported(const Key& key, double diners) {
    session_.Run(QStringLiteral("INSERT INTO EFETTRANSP (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                "DTEFETTRANSP, QTEFETTRANSP) VALUES (?, ?, ?, ?, ?)"),
                 {key.branch, key.client, key.service, SqlDate(key.date), diners});
    return *this;
}

std::optional<TestSeed::StoredHeadcount> TestSeed::Headcount(const Key& key) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT, CDFILIFATU, NRAPURACFAT "
                       "FROM EFETFATUR WHERE CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? "
                       "AND DTFATURAM = ?"),
        {key.branch, key.client, key.service, SqlDate(key.date)});
    if (!rows.Next()) return std::nullopt;
    return StoredHeadcount{rows.Value(0).toDouble(), rows.Value(1).toDouble(),
                           rows.Value(2).toDouble(), rows.Value(3), rows.Value(4)};
}

std::optional<double> TestSeed::ShiftQuantity(const Key& key, const QString& shift) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT QTCOMFATUTUR FROM EFETTURNO WHERE CDFILIAL = ? AND CDCLIENTE = ? "
                       "AND CDSERVFILI = ? AND DTFATURAMTUR = ? AND CDTURNO = ?"),
        {key.branch, key.client, key.service, SqlDate(key.date), shift});
    if (!rows.Next()) return std::nullopt;
    return rows.Value(0).toDouble();
}

std::map<int, QVariant> TestSeed::Links(const Key& key) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT NRITEMRATEIOEFET, QTEFETIVOS FROM ITRATEFECLIFAT WHERE "
                       "CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? AND DTFATURAM = ?"),
        {key.branch, key.client, key.service, SqlDate(key.date)});
    std::map<int, QVariant> links;
    while (rows.Next())
        links[rows.Value(0).toInt()] =
            rows.Value(1).isNull() ? QVariant() : QVariant(rows.Value(1).toDouble());
    return links;
}

int TestSeed::Count(const QString& table) {
    SqlRows rows = session_.Run(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    rows.Next();
    return rows.Value(0).toInt();
}

QList<QVariantList> TestSeed::Rows(const QString& sql, const QVariantList& params) {
    SqlRows rows = session_.Run(sql, params);
    QList<QVariantList> read;
    while (rows.Next()) {
        QVariantList row;
        for (int i = 0; i < rows.Columns(); ++i) row << rows.Value(i);
        read << row;
    }
    return read;
}

}  // namespace fai::appserver::test
