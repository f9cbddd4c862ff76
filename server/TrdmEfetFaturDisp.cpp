// The one place where the method table's arguments and results meet their protobuf form.
#include "TrdmEfetFaturDisp.h"

#include "CheckResultServ.h"
#include "NamedResults.h"
#include "PacketConversion.h"
#include "RpcSession.h"

namespace fai {
namespace {

using Stub = RpcSession::Stub;

// What a successful answer must carry for the caller to take its packets by position.
constexpr int kNoPacket = 0;
constexpr int kOnePacket = 1;

std::string Text(const QString& text) { return text.toStdString(); }

qint64 Day(const QDate& date) { return date.isValid() ? ToDaySerial(date) : 0; }

ServerResult FromWire(const Fai00400::ServerResult& answer, const char* method, int promised) {
    ServerResult result;
    result.success = answer.success();
    result.error = QString::fromStdString(answer.error());
    if (!result.success) return result;
    if (answer.payload_size() < promised)
        throw EServerError(QStringLiteral("O servidor de aplicação respondeu a %1 com %2 "
                                          "pacote(s) de dados, mas deveria enviar %3.")
                               .arg(QLatin1String(method))
                               .arg(answer.payload_size())
                               .arg(promised));
    result.payload.reserve(answer.payload_size());
    try {
        for (const Fai00400::DataPacket& packet : answer.payload())
            result.payload.push_back(FromProto(packet));
    } catch (const MalformedPacket& e) {
        throw EServerError(QString::fromUtf8(e.what()));
    }
    return result;
}

template <class Request>
ServerResult Result(RpcSession& session, const char* method,
                    RpcSession::Rpc<Request, Fai00400::ServerResult> rpc, const Request& request,
                    int promised) {
    return session.Call(method, rpc, request, [&](const Fai00400::ServerResult& answer) {
        return FromWire(answer, method, promised);
    });
}

template <class Request>
QString PlainText(RpcSession& session, const char* method,
                  RpcSession::Rpc<Request, Fai00400::TextResult> rpc, const Request& request) {
    return session.Call(method, rpc, request, [](const Fai00400::TextResult& answer) {
        return QString::fromStdString(answer.text());
    });
}

Fai00400::GetEfetFatuRequest HeadcountQuery(const QString& client, const QString& branch,
                                            const QString& service, const QDate& date, int mode) {
    Fai00400::GetEfetFatuRequest request;
    request.set_client(Text(client));
    request.set_branch(Text(branch));
    request.set_service(Text(service));
    request.set_date(Day(date));
    request.set_mode(mode);
    return request;
}

Fai00400::GetTurnoRequest ShiftQuery(const QString& branch, const QString& client,
                                     const QString& service, const QDate& date) {
    Fai00400::GetTurnoRequest request;
    request.set_branch(Text(branch));
    request.set_client(Text(client));
    request.set_service(Text(service));
    request.set_date(Day(date));
    return request;
}

}  // namespace

QString TrdmEfetFaturDisp::ServiceName() {
    return QString::fromLatin1(Fai00400::rdmEfetFatur::service_full_name());
}

TrdmEfetFaturDisp::TrdmEfetFaturDisp(std::unique_ptr<RpcSession> session)
    : session_(std::move(session)) {}

TrdmEfetFaturDisp::~TrdmEfetFaturDisp() = default;

void TrdmEfetFaturDisp::SetDeadline(std::chrono::milliseconds deadline) {
    session_->SetDeadline(deadline);
}

ServerResult TrdmEfetFaturDisp::GetParams(const QString& branch) {
    Fai00400::GetParamsRequest request;
    request.set_branch(Text(branch));
    return Result(*session_, "GetParams", &Stub::GetParams, request, kOnePacket);
}

ServerResult TrdmEfetFaturDisp::GetCliente(const QString& branch, const QString& registrationNumber,
                                           const QString& client) {
    Fai00400::GetClienteRequest request;
    request.set_branch(Text(branch));
    request.set_registration_number(Text(registrationNumber));
    request.set_client(Text(client));
    return Result(*session_, "GetCliente", &Stub::GetCliente, request, kOnePacket);
}

ServerResult TrdmEfetFaturDisp::GetServico(const QString& branch, const QString& client,
                                           const QString& service) {
    Fai00400::GetServicoRequest request;
    request.set_branch(Text(branch));
    request.set_client(Text(client));
    request.set_service(Text(service));
    return Result(*session_, "GetServico", &Stub::GetServico, request, kOnePacket);
}

ServerResult TrdmEfetFaturDisp::GetEfetFatu(const QString& client, const QString& branch,
                                            QString& service, QDate& date, int mode) {
    return Result(*session_, "GetEfetFatu", &Stub::GetEfetFatu,
                  HeadcountQuery(client, branch, service, date, mode), HeadcountPackets::kCount);
}

ServerResult TrdmEfetFaturDisp::ImportaEfetTrans(const QString& client, const QString& branch,
                                                 QString& service, QDate& date, int mode) {
    return Result(*session_, "ImportaEfetTrans", &Stub::ImportaEfetTrans,
                  HeadcountQuery(client, branch, service, date, mode), ImportedPackets::kCount);
}

ServerResult TrdmEfetFaturDisp::GetValidaData(const QString& branch, const QString& client,
                                              const QString& service, const QDate& date) {
    Fai00400::GetValidaDataRequest request;
    request.set_branch(Text(branch));
    request.set_client(Text(client));
    request.set_service(Text(service));
    request.set_date(Day(date));
    return Result(*session_, "GetValidaData", &Stub::GetValidaData, request, kOnePacket);
}

ServerResult TrdmEfetFaturDisp::GetVerifData(const QString& branch, const QString& service,
                                             const QString& client) {
    Fai00400::GetVerifDataRequest request;
    request.set_branch(Text(branch));
    request.set_service(Text(service));
    request.set_client(Text(client));
    return Result(*session_, "GetVerifData", &Stub::GetVerifData, request, kOnePacket);
}

ServerResult TrdmEfetFaturDisp::GetVlrFatPla(const QString& branch, const QString& service,
                                             const QString& client, const QDate& date) {
    Fai00400::GetVlrFatPlaRequest request;
    request.set_branch(Text(branch));
    request.set_service(Text(service));
    request.set_client(Text(client));
    request.set_date(Day(date));
    return Result(*session_, "GetVlrFatPla", &Stub::GetVlrFatPla, request, kOnePacket);
}

QString TrdmEfetFaturDisp::GetVerifSoma(const DataPacket& headcounts) {
    Fai00400::GetVerifSomaRequest request;
    ToProto(headcounts, request.mutable_headcounts());
    return PlainText(*session_, "GetVerifSoma", &Stub::GetVerifSoma, request);
}

ServerResult TrdmEfetFaturDisp::UpdEfetFatu(OptionalPacket& headcountDelta, QString& nullFields,
                                            OptionalPacket& apportionmentDelta) {
    Fai00400::UpdEfetFatuRequest request;
    // Null travels as an absent field, which the server tells apart from an empty delta.
    if (headcountDelta) ToProto(*headcountDelta, request.mutable_headcount_delta());
    request.set_null_fields(Text(nullFields));
    if (apportionmentDelta) ToProto(*apportionmentDelta, request.mutable_apportionment_delta());
    return Result(*session_, "UpdEfetFatu", &Stub::UpdEfetFatu, request, kNoPacket);
}

ServerResult TrdmEfetFaturDisp::GetTurno(const QString& branch, const QString& client,
                                         QString& service, QDate& date) {
    return Result(*session_, "GetTurno", &Stub::GetTurno, ShiftQuery(branch, client, service, date),
                  kOnePacket);
}

ServerResult TrdmEfetFaturDisp::SetTurno(const DataPacket& shiftDelta, QString& nullFields) {
    Fai00400::SetTurnoRequest request;
    ToProto(shiftDelta, request.mutable_shift_delta());
    request.set_null_fields(Text(nullFields));
    return Result(*session_, "SetTurno", &Stub::SetTurno, request, kNoPacket);
}

ServerResult TrdmEfetFaturDisp::GetSomaTurno(const QString& branch, const QString& client,
                                             QString& service, QDate& date) {
    return Result(*session_, "GetSomaTurno", &Stub::GetSomaTurno,
                  ShiftQuery(branch, client, service, date), kOnePacket);
}

ServerResult TrdmEfetFaturDisp::GetVdServClie(const QString& branch, const QString& client,
                                              const QString& service) {
    Fai00400::GetVdServClieRequest request;
    request.set_branch(Text(branch));
    request.set_client(Text(client));
    request.set_service(Text(service));
    return Result(*session_, "GetVdServClie", &Stub::GetVdServClie, request, kOnePacket);
}

ServerResult TrdmEfetFaturDisp::GetItRatEfet(const QString& branch, const QString& client,
                                             const QDate& date, const QString& service) {
    Fai00400::GetItRatEfetRequest request;
    request.set_branch(Text(branch));
    request.set_client(Text(client));
    request.set_date(Day(date));
    request.set_service(Text(service));
    return Result(*session_, "GetItRatEfet", &Stub::GetItRatEfet, request, kOnePacket);
}

ServerResult TrdmEfetFaturDisp::UpDateServData(const QString& branch, const QString& client,
                                               const QString& service, const QDate& firstDate,
                                               const QDate& lastDate, double forecast,
                                               double billed) {
    Fai00400::UpDateServDataRequest request;
    request.set_branch(Text(branch));
    request.set_client(Text(client));
    request.set_service(Text(service));
    request.set_first_date(Day(firstDate));
    request.set_last_date(Day(lastDate));
    request.set_forecast(forecast);
    request.set_billed(billed);
    return Result(*session_, "UpDateServData", &Stub::UpDateServData, request, kNoPacket);
}

QString TrdmEfetFaturDisp::PrxRelFatur(const QString& branch) {
    Fai00400::PrxRelFaturRequest request;
    request.set_branch(Text(branch));
    return PlainText(*session_, "PrxRelFatur", &Stub::PrxRelFatur, request);
}

ServerResult TrdmEfetFaturDisp::GeraRel(const QString& branch, const QDate& firstDate,
                                        const QDate& lastDate, const QString& reportNumber) {
    Fai00400::GeraRelRequest request;
    request.set_branch(Text(branch));
    request.set_first_date(Day(firstDate));
    request.set_last_date(Day(lastDate));
    request.set_report_number(Text(reportNumber));
    return Result(*session_, "GeraRel", &Stub::GeraRel, request, kNoPacket);
}

ServerResult TrdmEfetFaturDisp::DeletaRel(const QString& branch, const QString& reportNumber) {
    Fai00400::DeletaRelRequest request;
    request.set_branch(Text(branch));
    request.set_report_number(Text(reportNumber));
    return Result(*session_, "DeletaRel", &Stub::DeletaRel, request, kNoPacket);
}

ServerResult TrdmEfetFaturDisp::GetHistEfetFatu(const QString& branch, const QString& client,
                                                const QString& service, const QDate& firstDate,
                                                const QDate& lastDate, int page, int pageSize) {
    Fai00400::GetHistEfetFatuRequest request;
    request.set_branch(Text(branch));
    request.set_client(Text(client));
    request.set_service(Text(service));
    request.set_first_date(Day(firstDate));
    request.set_last_date(Day(lastDate));
    request.set_page(page);
    request.set_page_size(pageSize);
    return Result(*session_, "GetHistEfetFatu", &Stub::GetHistEfetFatu, request, kOnePacket);
}

void TrdmEfetFaturDisp::ConsultaHost(const QString& name, const QString& sql,
                                     const std::vector<Value>& params,
                                     const std::function<void(DataPacket& part)>& part) {
    Fai00400::ConsultaHostRequest request;
    request.set_name(Text(name));
    request.set_sql(Text(sql));
    for (const Value& value : params) {
        Fai00400::QueryValue* bound = request.add_params();
        if (value.IsText())
            bound->set_text(Text(value.Text()));
        else if (value.IsNumber())
            bound->set_number(value.Number());
        else if (value.IsDate())
            bound->set_day(Day(value.Date()));
    }
    int parts = 0;
    session_->Stream("ConsultaHost", &Stub::ConsultaHost, request,
                     [&part, &parts](const Fai00400::ConsultaHostParte& answer) {
                         DataPacket rows;
                         try {
                             rows = FromProto(answer.rows());
                         } catch (const MalformedPacket& e) {
                             throw EServerError(QString::fromUtf8(e.what()));
                         }
                         ++parts;
                         part(rows);
                     });
    if (parts == 0)
        throw EServerError(QStringLiteral("O servidor de aplicação encerrou a consulta %1 sem "
                                          "enviar os dados.")
                               .arg(name));
}

}  // namespace fai
