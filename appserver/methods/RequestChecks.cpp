#include "RequestChecks.h"

#include "AppErrors.h"
#include "SqlSession.h"
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

// The client's code as the CLIENTE table keeps it: its type letter and the letters and digits
// of its registration number.
QString ClientCodeOf(const QString& client) {
    if (client.isEmpty()) return client;
    return client.left(1) + Unformatted(client.mid(1));
}

}  // namespace

HeadcountKey RequestChecks::Asked(const QString& branch, const QString& client,
                                  const QString& service, const QDate& date) {
    return {branch, ClientCodeOf(client), service, date};
}

HeadcountFilter RequestChecks::AskedFilter(const QString& client, const QString& branch,
                                           const QString& service, const QDate& date, int mode) {
    HeadcountFilter filter{
        branch, ClientCodeOf(client), mode == static_cast<int>(Mode::ByDate), {}, {}};
    if (filter.byDate)
        filter.date = date;
    else
        filter.service = service;
    return filter;
}

QString RequestChecks::KnownBranch(const QString& branch) {
    JudgeBranch(branch, Look(branch, {}, {}));
    return branch;
}

HeadcountKey RequestChecks::ClientKey(const QString& branch, const QString& client) {
    const HeadcountKey asked = Asked(branch, client, {}, {});
    const Known known = Look(asked.branch, asked.client, {});
    JudgeBranch(branch, known);
    JudgeClient(asked.branch, asked.client, known);
    return asked;
}

HeadcountKey RequestChecks::ServiceKey(const QString& branch, const QString& client,
                                       const QString& service) {
    const HeadcountKey asked = Asked(branch, client, service, {});
    const Known known = Look(asked.branch, asked.client, asked.service);
    JudgeBranch(branch, known);
    JudgeClient(asked.branch, asked.client, known);
    JudgeService(asked.branch, asked.client, service, known);
    return asked;
}

HeadcountKey RequestChecks::Key(const QString& branch, const QString& client,
                                const QString& service, const QDate& date) {
    HeadcountKey key = ServiceKey(branch, client, service);
    key.date = BillingDate(date);
    return key;
}

HeadcountFilter RequestChecks::Filter(const QString& client, const QString& branch,
                                      const QString& service, const QDate& date, int mode) {
    const HeadcountFilter asked = AskedFilter(client, branch, service, date, mode);
    const Known known = Look(asked.branch, asked.client, service);
    JudgeBranch(branch, known);
    JudgeClient(asked.branch, asked.client, known);
    if (QueryMode(mode) == Mode::ByDate) {
        if (!service.isEmpty())
            Refuse(QStringLiteral("A consulta por data não recebe serviço: informe a data."));
        BillingDate(date);
    } else {
        if (!IsNoDate(date))
            Refuse(QStringLiteral("A consulta por serviço não recebe data: informe o serviço."));
        JudgeService(asked.branch, asked.client, service, known);
    }
    return asked;
}

RequestChecks::Known RequestChecks::Look(const QString& branch, const QString& client,
                                         const QString& service) {
    // A malformed part is looked up as it came: it is found nowhere, and it is refused for its
    // form before what was found of it is judged.
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM FILIAL WHERE CDFILIAL = ?), "
                       "(SELECT COUNT(*) FROM CLIENFILIAL WHERE CDFILIAL = ? AND CDCLIENTE = ?), "
                       "(SELECT COUNT(*) FROM SERVCLIEFILI WHERE CDFILIAL = ? AND CDCLIENTE = ? "
                       "AND CDSERVFILI = ?)"),
        {branch, branch, client, branch, client, service});
    if (!rows.Next()) return {};
    return {rows.Cell(0).number > 0, rows.Cell(1).number > 0, rows.Cell(2).number > 0};
}

void RequestChecks::JudgeBranch(const QString& branch, const Known& known) {
    if (branch.isEmpty()) Refuse(QStringLiteral("Filial deve ser informada."));
    RequireSize(branch, kBranchSize, QStringLiteral("Código da filial"));
    if (!known.branch) Refuse(QStringLiteral("Filial %1 não cadastrada.").arg(branch));
}

void RequestChecks::JudgeClient(const QString& branch, const QString& code, const Known& known) {
    RequireSize(code, kClientSize, QStringLiteral("Código do cliente"));
    if (code.isEmpty()) Refuse(QStringLiteral("Cliente deve ser informado."));
    if (!known.client)
        Refuse(QStringLiteral("Cliente %1 não cadastrado na filial %2.").arg(code, branch));
}

void RequestChecks::JudgeService(const QString& branch, const QString& client,
                                 const QString& service, const Known& known) {
    ServiceCode(service);
    if (!known.service)
        Refuse(QStringLiteral("Serviço %1 não relacionado ao cliente %2 na filial %3.")
                   .arg(service, client, branch));
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
    const QString code = ClientCodeOf(client);
    RequireSize(code, kClientSize, QStringLiteral("Código do cliente"));
    return code;
}

QString RequestChecks::Registration(const QString& registrationNumber) {
    return Unformatted(registrationNumber);
}

QString RequestChecks::OptionalRegistration(const QString& registrationNumber) {
    const QString number = Registration(registrationNumber);
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
