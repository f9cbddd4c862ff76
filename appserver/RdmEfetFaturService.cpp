// The one place where requests and results of the server meet their protobuf form.
#include "RdmEfetFaturService.h"

#include "AppErrors.h"
#include "CallLog.h"
#include "EfetFaturReads.h"
#include "PacketConversion.h"
#include "SqlSession.h"
#include "WorkerPool.h"

#include <chrono>

namespace fai::appserver {
namespace {

using Clock = std::chrono::steady_clock;

const QDate kFirstDay(1900, 1, 1);
const QDate kLastDay(9999, 12, 31);

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A day number of the wire: 0 is the zero date (no date); anything else must be a day the
// billing can hold.
QDate Day(qint64 serial) {
    if (serial == 0) return ZeroDate();
    if (serial < ToDaySerial(kFirstDay) || serial > ToDaySerial(kLastDay))
        throw EBadRequest(QStringLiteral("Data fora do intervalo aceito (%1 a %2).")
                              .arg(kFirstDay.toString(QStringLiteral("dd/MM/yyyy")),
                                   kLastDay.toString(QStringLiteral("dd/MM/yyyy"))));
    return FromDaySerial(serial);
}

DataPacket Packet(const Fai00400::DataPacket& packet) {
    try {
        return FromProto(packet);
    } catch (const MalformedPacket& e) {
        throw EBadRequest(QString::fromUtf8(e.what()));
    }
}

QString NotAvailable(const char* method) {
    return QStringLiteral("O método %1 ainda não está disponível neste servidor de aplicação.")
        .arg(QLatin1String(method));
}

void Fail(Fai00400::ServerResult* result, const QString& message) {
    result->Clear();
    result->set_success(false);
    result->set_error(message.toStdString());
}

}  // namespace

grpc::Status RdmEfetFaturService::Read(const char* method, Fai00400::ServerResult* result,
                                       const Reading& read) {
    const Clock::time_point started = Clock::now();
    try {
        const std::vector<DataPacket> payload = workers_.Run([&read](WorkerPool::Context& context) {
            try {
                SqlSession& session = context.Session();
                Transaction transaction(session);
                EfetFaturReads reads(session);
                std::vector<DataPacket> packets = read(reads);
                transaction.Commit();
                return packets;
            } catch (const EDatabaseError&) {
                context.DiscardSession();
                throw;
            }
        });
        result->set_success(true);
        for (const DataPacket& packet : payload) ToProto(packet, result->add_payload());
        log_.Record(method, Clock::now() - started, CallLog::Outcome::Ok);
    } catch (const EBadRequest& e) {
        Fail(result, e.Message());
        log_.Record(method, Clock::now() - started, CallLog::Outcome::Refused, e.Message());
    } catch (const EError& e) {
        Fail(result, e.Message());
        log_.Record(method, Clock::now() - started, CallLog::Outcome::Failed, e.Message());
    } catch (const std::exception& e) {
        const QString message = QStringLiteral("Erro interno do servidor de aplicação: %1")
                                    .arg(QString::fromUtf8(e.what()));
        Fail(result, message);
        log_.Record(method, Clock::now() - started, CallLog::Outcome::Failed, message);
    }
    return grpc::Status::OK;
}

grpc::Status RdmEfetFaturService::NotYet(const char* method, Fai00400::ServerResult* result,
                                         const ArgumentCheck& check) {
    const Clock::time_point started = Clock::now();
    try {
        check();
        Fail(result, NotAvailable(method));
        log_.Record(method, Clock::now() - started, CallLog::Outcome::Unavailable);
    } catch (const EBadRequest& e) {
        Fail(result, e.Message());
        log_.Record(method, Clock::now() - started, CallLog::Outcome::Refused, e.Message());
    }
    return grpc::Status::OK;
}

grpc::Status RdmEfetFaturService::NotYetText(const char* method, const ArgumentCheck& check) {
    const Clock::time_point started = Clock::now();
    try {
        check();
    } catch (const EBadRequest& e) {
        log_.Record(method, Clock::now() - started, CallLog::Outcome::Refused, e.Message());
        return grpc::Status(grpc::StatusCode::INVALID_ARGUMENT, e.Message().toStdString());
    }
    log_.Record(method, Clock::now() - started, CallLog::Outcome::Unavailable);
    return grpc::Status(grpc::StatusCode::UNIMPLEMENTED, NotAvailable(method).toStdString());
}

grpc::Status RdmEfetFaturService::GetParams(grpc::ServerContext*,
                                            const Fai00400::GetParamsRequest* request,
                                            Fai00400::ServerResult* result) {
    return Read("GetParams", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetParams(Text(request->branch()))};
    });
}

grpc::Status RdmEfetFaturService::GetCliente(grpc::ServerContext*,
                                             const Fai00400::GetClienteRequest* request,
                                             Fai00400::ServerResult* result) {
    return Read("GetCliente", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetCliente(Text(request->branch()),
                                            Text(request->registration_number()),
                                            Text(request->client()))};
    });
}

grpc::Status RdmEfetFaturService::GetServico(grpc::ServerContext*,
                                             const Fai00400::GetServicoRequest* request,
                                             Fai00400::ServerResult* result) {
    return Read("GetServico", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetServico(Text(request->branch()), Text(request->client()),
                                            Text(request->service()))};
    });
}

grpc::Status RdmEfetFaturService::GetEfetFatu(grpc::ServerContext*,
                                              const Fai00400::GetEfetFatuRequest* request,
                                              Fai00400::ServerResult* result) {
    return Read("GetEfetFatu", result, [request](EfetFaturReads& reads) {
        return reads.GetEfetFatu(Text(request->client()), Text(request->branch()),
                                 Text(request->service()), Day(request->date()), request->mode());
    });
}

grpc::Status RdmEfetFaturService::ImportaEfetTrans(grpc::ServerContext*,
                                                   const Fai00400::GetEfetFatuRequest* request,
                                                   Fai00400::ServerResult* result) {
    return NotYet("ImportaEfetTrans", result, [request] { Day(request->date()); });
}

grpc::Status RdmEfetFaturService::GetValidaData(grpc::ServerContext*,
                                                const Fai00400::GetValidaDataRequest* request,
                                                Fai00400::ServerResult* result) {
    return Read("GetValidaData", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetValidaData(Text(request->branch()), Text(request->client()),
                                               Text(request->service()), Day(request->date()))};
    });
}

grpc::Status RdmEfetFaturService::GetVerifData(grpc::ServerContext*,
                                               const Fai00400::GetVerifDataRequest* request,
                                               Fai00400::ServerResult* result) {
    return Read("GetVerifData", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetVerifData(Text(request->branch()), Text(request->service()),
                                              Text(request->client()))};
    });
}

grpc::Status RdmEfetFaturService::GetVlrFatPla(grpc::ServerContext*,
                                               const Fai00400::GetVlrFatPlaRequest* request,
                                               Fai00400::ServerResult* result) {
    return Read("GetVlrFatPla", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetVlrFatPla(Text(request->branch()), Text(request->service()),
                                              Text(request->client()), Day(request->date()))};
    });
}

grpc::Status RdmEfetFaturService::GetVerifSoma(grpc::ServerContext*,
                                               const Fai00400::GetVerifSomaRequest* request,
                                               Fai00400::TextResult*) {
    return NotYetText("GetVerifSoma", [request] { Packet(request->headcounts()); });
}

grpc::Status RdmEfetFaturService::UpdEfetFatu(grpc::ServerContext*,
                                              const Fai00400::UpdEfetFatuRequest* request,
                                              Fai00400::ServerResult* result) {
    return NotYet("UpdEfetFatu", result, [request] {
        if (request->has_headcount_delta()) Packet(request->headcount_delta());
        if (request->has_apportionment_delta()) Packet(request->apportionment_delta());
    });
}

grpc::Status RdmEfetFaturService::GetTurno(grpc::ServerContext*,
                                           const Fai00400::GetTurnoRequest* request,
                                           Fai00400::ServerResult* result) {
    return Read("GetTurno", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetTurno(Text(request->branch()), Text(request->client()),
                                          Text(request->service()), Day(request->date()))};
    });
}

grpc::Status RdmEfetFaturService::SetTurno(grpc::ServerContext*,
                                           const Fai00400::SetTurnoRequest* request,
                                           Fai00400::ServerResult* result) {
    return NotYet("SetTurno", result, [request] { Packet(request->shift_delta()); });
}

grpc::Status RdmEfetFaturService::GetSomaTurno(grpc::ServerContext*,
                                               const Fai00400::GetTurnoRequest* request,
                                               Fai00400::ServerResult* result) {
    return Read("GetSomaTurno", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetSomaTurno(Text(request->branch()), Text(request->client()),
                                              Text(request->service()), Day(request->date()))};
    });
}

grpc::Status RdmEfetFaturService::GetVdServClie(grpc::ServerContext*,
                                                const Fai00400::GetVdServClieRequest* request,
                                                Fai00400::ServerResult* result) {
    return Read("GetVdServClie", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetVdServClie(Text(request->branch()), Text(request->client()),
                                               Text(request->service()))};
    });
}

grpc::Status RdmEfetFaturService::GetItRatEfet(grpc::ServerContext*,
                                               const Fai00400::GetItRatEfetRequest* request,
                                               Fai00400::ServerResult* result) {
    return Read("GetItRatEfet", result, [request](EfetFaturReads& reads) {
        return std::vector{reads.GetItRatEfet(Text(request->branch()), Text(request->client()),
                                              Day(request->date()), Text(request->service()))};
    });
}

grpc::Status RdmEfetFaturService::UpDateServData(grpc::ServerContext*,
                                                 const Fai00400::UpDateServDataRequest* request,
                                                 Fai00400::ServerResult* result) {
    return NotYet("UpDateServData", result, [request] {
        Day(request->first_date());
        Day(request->last_date());
    });
}

grpc::Status RdmEfetFaturService::PrxRelFatur(grpc::ServerContext*,
                                              const Fai00400::PrxRelFaturRequest*,
                                              Fai00400::TextResult*) {
    return NotYetText("PrxRelFatur", [] {});
}

grpc::Status RdmEfetFaturService::GeraRel(grpc::ServerContext*,
                                          const Fai00400::GeraRelRequest* request,
                                          Fai00400::ServerResult* result) {
    return NotYet("GeraRel", result, [request] {
        Day(request->first_date());
        Day(request->last_date());
    });
}

grpc::Status RdmEfetFaturService::DeletaRel(grpc::ServerContext*, const Fai00400::DeletaRelRequest*,
                                            Fai00400::ServerResult* result) {
    return NotYet("DeletaRel", result, [] {});
}

}  // namespace fai::appserver
