#include "ListingReports.h"

#include "AppErrors.h"
#include "ReportRepository.h"
#include "RequestChecks.h"
#include "WireText.h"

#include <QRegularExpression>

namespace fai::appserver {
namespace {

[[noreturn]] void Refuse(const QString& why) { throw EBadRequest(why); }

}  // namespace

QString ListingReports::PrxRelFatur(const QString& branch) {
    const QString known = RequestChecks(session_).KnownBranch(branch);
    return QString::number(
        ReportRepository(session_).NewNumber(known, QDateTime::currentDateTimeUtc()));
}

int ListingReports::GeraRel(const QString& branch, const QDate& first, const QDate& last,
                            const QString& reportNumber) {
    const QString known = RequestChecks(session_).KnownBranch(branch);
    if (RequestChecks::IsNoDate(first)) Refuse(QStringLiteral("Data inicial deve ser informada."));
    if (RequestChecks::IsNoDate(last)) Refuse(QStringLiteral("Data final deve ser informada."));
    if (last < first) Refuse(QStringLiteral("Data Inicial deve ser menor ou igual a Data Final."));
    const Report report = OfBranch(known, reportNumber);
    if (report.discarded.isValid())
        Refuse(QStringLiteral("Os dados do relatório %1 foram descartados em %2 por falta de uso: "
                              "feche a listagem e abra-a de novo.")
                   .arg(reportNumber, report.discarded.toLocalTime().toString(
                                          QStringLiteral("dd/MM/yyyy HH:mm"))));
    if (report.deleted)
        Refuse(QStringLiteral("O relatório %1 já foi excluído: peça um novo número.")
                   .arg(reportNumber));
    return ReportRepository(session_).Fill(report.number, known, first, last,
                                           QDateTime::currentDateTimeUtc());
}

void ListingReports::DeletaRel(const QString& branch, const QString& reportNumber) {
    const QString known = RequestChecks(session_).KnownBranch(branch);
    const Report report = OfBranch(known, reportNumber);
    if (!report.deleted) ReportRepository(session_).Delete(report.number);
}

ListingReports::Report ListingReports::OfBranch(const QString& branch,
                                                const QString& reportNumber) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    bool isNumber = false;
    const qint64 number =
        digits.match(reportNumber).hasMatch() ? reportNumber.toLongLong(&isNumber) : 0;
    if (!isNumber || number <= 0)
        Refuse(QStringLiteral("Número de relatório \"%1\" inválido.").arg(Excerpt(reportNumber)));
    const std::optional<ReportRepository::Number> owner = ReportRepository(session_).Locked(number);
    if (!owner) Refuse(QStringLiteral("Relatório %1 não encontrado.").arg(reportNumber));
    if (owner->branch != branch)
        Refuse(QStringLiteral("O relatório %1 é da filial %2, não da filial %3.")
                   .arg(reportNumber, owner->branch, branch));
    return {number, owner->deleted, owner->discarded};
}

}  // namespace fai::appserver
