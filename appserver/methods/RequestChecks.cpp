#include "RequestChecks.h"

#include "AppErrors.h"
#include "BranchRepository.h"
#include "ClientRepository.h"
#include "ServiceRepository.h"
#include "Value.h"
#include "WireText.h"

namespace fai::appserver {
namespace {

constexpr int kBranchSize = 4;
constexpr int kClientSize = 21;
constexpr int kRegistrationSize = 20;
constexpr int kServiceSize = 5;

const QDate kFirstDay(1900, 1, 1);
const QDate kLastDay(9999, 12, 31);

[[noreturn]] void Refuse(const QString& message) { throw EBadRequest(message); }

void RequireSize(const QString& value, int size, const QString& what) {
    if (value.size() > size)
        Refuse(QStringLiteral("%1 deve ter no máximo %2 caracteres.").arg(what).arg(size));
}

// A registration number may arrive formatted (dots, slash, dash): only its letters and
// digits identify it.
QString Unformatted(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.isLetterOrNumber()) out.append(c);
    return out;
}

}  // namespace

QString RequestChecks::KnownBranch(const QString& branch) {
    if (branch.isEmpty()) Refuse(QStringLiteral("Filial deve ser informada."));
    RequireSize(branch, kBranchSize, QStringLiteral("Código da filial"));
    if (!BranchRepository(session_).Exists(branch))
        Refuse(QStringLiteral("Filial %1 não cadastrada.").arg(branch));
    return branch;
}

QString RequestChecks::ClientOfBranch(const QString& branch, const QString& client) {
    const QString code = OptionalClientCode(client);
    if (code.isEmpty()) Refuse(QStringLiteral("Cliente deve ser informado."));
    if (!ClientRepository(session_).IsClientOfBranch(branch, code))
        Refuse(QStringLiteral("Cliente %1 não cadastrado na filial %2.").arg(code, branch));
    return code;
}

QString RequestChecks::ServiceOfClient(const QString& branch, const QString& client,
                                       const QString& service) {
    const QString code = ServiceCode(service);
    if (!ServiceRepository(session_).IsServiceOfClient(branch, client, code))
        Refuse(QStringLiteral("Serviço %1 não relacionado ao cliente %2 na filial %3.")
                   .arg(code, client, branch));
    return code;
}

HeadcountKey RequestChecks::ServiceKey(const QString& branch, const QString& client,
                                       const QString& service) {
    HeadcountKey key;
    key.branch = KnownBranch(branch);
    key.client = ClientOfBranch(key.branch, client);
    key.service = ServiceOfClient(key.branch, key.client, service);
    return key;
}

HeadcountKey RequestChecks::Key(const QString& branch, const QString& client,
                                const QString& service, const QDate& date) {
    HeadcountKey key = ServiceKey(branch, client, service);
    key.date = BillingDate(date);
    return key;
}

HeadcountFilter RequestChecks::Filter(const QString& client, const QString& branch,
                                      const QString& service, const QDate& date, int mode) {
    HeadcountFilter filter;
    filter.branch = KnownBranch(branch);
    filter.client = ClientOfBranch(filter.branch, client);
    filter.byDate = QueryMode(mode) == Mode::ByDate;
    if (filter.byDate) {
        if (!service.isEmpty())
            Refuse(QStringLiteral("A consulta por data não recebe serviço: informe a data."));
        filter.date = BillingDate(date);
    } else {
        if (!IsNoDate(date))
            Refuse(QStringLiteral("A consulta por serviço não recebe data: informe o serviço."));
        filter.service = ServiceOfClient(filter.branch, filter.client, service);
    }
    return filter;
}

QString RequestChecks::ArgumentText(const std::string& bytes, const QString& what) {
    std::optional<QString> text = DecodeUtf8(bytes);
    if (!text) Refuse(QStringLiteral("%1: o texto recebido não é UTF-8 válido.").arg(what));
    if (HasControlCharacter(*text))
        Refuse(QStringLiteral("%1 não pode conter caracteres de controle.").arg(what));
    return *std::move(text);
}

QString RequestChecks::ServiceCode(const QString& service) {
    if (service.isEmpty()) Refuse(QStringLiteral("Serviço deve ser informado."));
    return OptionalServiceCode(service);
}

QString RequestChecks::OptionalServiceCode(const QString& service) {
    RequireSize(service, kServiceSize, QStringLiteral("Código do serviço"));
    return service;
}

QString RequestChecks::OptionalClientCode(const QString& client) {
    if (client.isEmpty()) return client;
    const QString code = client.left(1) + Unformatted(client.mid(1));
    RequireSize(code, kClientSize, QStringLiteral("Código do cliente"));
    return code;
}

QString RequestChecks::OptionalRegistration(const QString& registrationNumber) {
    const QString number = Unformatted(registrationNumber);
    RequireSize(number, kRegistrationSize, QStringLiteral("Inscrição do cliente"));
    return number;
}

QDate RequestChecks::BillingDate(const QDate& date) {
    if (IsNoDate(date)) Refuse(QStringLiteral("Data de faturamento deve ser informada."));
    return date;
}

RequestChecks::Mode RequestChecks::QueryMode(int mode) {
    if (mode != static_cast<int>(Mode::ByDate) && mode != static_cast<int>(Mode::ByService))
        Refuse(QStringLiteral("Modo de consulta %1 inválido: use 0 (por data) ou 1 (por serviço).")
                   .arg(mode));
    return static_cast<Mode>(mode);
}

QDate RequestChecks::WireDay(qint64 serial) {
    if (serial == 0) return ZeroDate();
    // Bounded before converting: a hostile serial must not overflow the calendar arithmetic.
    const bool inRange = serial >= ToDaySerial(kFirstDay) && serial <= ToDaySerial(kLastDay);
    return CalendarDay(inRange ? FromDaySerial(serial) : QDate());
}

QDate RequestChecks::CalendarDay(const QDate& date) {
    if (!date.isValid() || date < kFirstDay || date > kLastDay)
        Refuse(QStringLiteral("Data fora do intervalo aceito (%1 a %2).")
                   .arg(kFirstDay.toString(QStringLiteral("dd/MM/yyyy")),
                        kLastDay.toString(QStringLiteral("dd/MM/yyyy"))));
    return date;
}

bool RequestChecks::IsNoDate(const QDate& date) { return date == ZeroDate(); }

}  // namespace fai::appserver
