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
    QSqlQuery query = session_.Run(
        QStringLiteral("INSERT INTO ITEMRATEIOEFET (CDCLIENTE, CDITEMRATEIOEFET, "
                       "NMITEMRATEIOEFET) VALUES (?, ?, ?) RETURNING NRITEMRATEIOEFET"),
        {client, code, name});
    query.next();
    return query.value(0).toInt();
}

int TestSeed::Link(const Key& key, int item, const QVariant& diners) {
    QSqlQuery query = session_.Run(
        QStringLiteral("INSERT INTO ITRATEFECLIFAT (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, "
                       "CDSERVPLAN, NRITEMRATEIOEFET, QTEFETIVOS) VALUES (?, ?, ?, ?, ?, ?, ?) "
                       "RETURNING NRITRATEFECLIFAT"),
        {key.branch, key.client, key.service, SqlDate(key.date), key.service, item, diners});
    query.next();
    return query.value(0).toInt();
}

TestSeed& TestSeed::Transported(const Key& key, double diners) {
    session_.Run(QStringLiteral("INSERT INTO EFETTRANSP (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                "DTEFETTRANSP, QTEFETTRANSP) VALUES (?, ?, ?, ?, ?)"),
                 {key.branch, key.client, key.service, SqlDate(key.date), diners});
    return *this;
}

std::optional<TestSeed::StoredHeadcount> TestSeed::Headcount(const Key& key) {
    QSqlQuery query = session_.Run(
        QStringLiteral("SELECT QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT, CDFILIFATU, NRAPURACFAT "
                       "FROM EFETFATUR WHERE CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? "
                       "AND DTFATURAM = ?"),
        {key.branch, key.client, key.service, SqlDate(key.date)});
    if (!query.next()) return std::nullopt;
    return StoredHeadcount{query.value(0).toDouble(), query.value(1).toDouble(),
                           query.value(2).toDouble(), query.value(3), query.value(4)};
}

std::optional<double> TestSeed::ShiftQuantity(const Key& key, const QString& shift) {
    QSqlQuery query = session_.Run(
        QStringLiteral("SELECT QTCOMFATUTUR FROM EFETTURNO WHERE CDFILIAL = ? AND CDCLIENTE = ? "
                       "AND CDSERVFILI = ? AND DTFATURAMTUR = ? AND CDTURNO = ?"),
        {key.branch, key.client, key.service, SqlDate(key.date), shift});
    if (!query.next()) return std::nullopt;
    return query.value(0).toDouble();
}

std::map<int, QVariant> TestSeed::Links(const Key& key) {
    QSqlQuery query = session_.Run(
        QStringLiteral("SELECT NRITEMRATEIOEFET, QTEFETIVOS FROM ITRATEFECLIFAT WHERE "
                       "CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? AND DTFATURAM = ?"),
        {key.branch, key.client, key.service, SqlDate(key.date)});
    std::map<int, QVariant> links;
    while (query.next())
        links[query.value(0).toInt()] =
            query.value(1).isNull() ? QVariant() : QVariant(query.value(1).toDouble());
    return links;
}

int TestSeed::Count(const QString& table) {
    QSqlQuery query = session_.Run(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    query.next();
    return query.value(0).toInt();
}

QList<QVariantList> TestSeed::Rows(const QString& sql, const QVariantList& params) {
    QSqlQuery query = session_.Run(sql, params);
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i) row << query.value(i);
        rows << row;
    }
    return rows;
}

}  // namespace fai::appserver::test
