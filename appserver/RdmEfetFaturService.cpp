// The one place where requests and results of the server meet their protobuf form.
#include "RdmEfetFaturService.h"

#include "AppErrors.h"
#include "CallLog.h"
#include "Duplication.h"
#include "EfetFaturReads.h"
#include "HeadcountSave.h"
#include "ListingReports.h"
#include "PacketConversion.h"
#include "RequestChecks.h"
#include "ShiftAgreement.h"
#include "ShiftSave.h"
#include "SqlSession.h"
#include "TransportImport.h"
#include "WorkerPool.h"

#include <chrono>
#include <functional>

namespace fai::appserver {
namespace {

using Clock = std::chrono::steady_clock;

// What a method answers once its work is done.
struct Answer {
    std::vector<DataPacket> packets;  // the payload of the result array
    QString text;                     // the answer of the two text methods
    QString note;                     // said on the call's log line
};

// A method's work on the database, with its arguments already judged for form.
using Work = std::function<Answer(SqlSession&)>;
enum class Access { Read, Write };

// The text arguments, each named as a refusal names it.
QString BranchText(const std::string& text) {
    return RequestChecks::ArgumentText(text, QStringLiteral("Filial"));
}
QString ClientText(const std::string& text) {
    return RequestChecks::ArgumentText(text, QStringLiteral("Cliente"));
}
QString RegistrationText(const std::string& text) {
    return RequestChecks::ArgumentText(text, QStringLiteral("Inscrição do cliente"));
}
QString ServiceText(const std::string& text) {
    return RequestChecks::ArgumentText(text, QStringLiteral("Serviço"));
}
QString NullFieldsText(const std::string& text) {
    return RequestChecks::ArgumentText(text, QStringLiteral("Lista de campos nulos"));
}
QString ReportNumberText(const std::string& text) {
    return RequestChecks::ArgumentText(text, QStringLiteral("Número de relatório"));
}

QDate Day(qint64 serial) { return RequestChecks::WireDay(serial); }

DataPacket Packet(const Fai00400::DataPacket& packet) {
    try {
        return FromProto(packet);
    } catch (const MalformedPacket& e) {
        throw EBadRequest(QString::fromUtf8(e.what()));
    }
}

// An absent delta is Null: nothing pending in that dataset.
OptionalPacket PacketOrNull(bool present, const Fai00400::DataPacket& packet) {
    if (!present) return std::nullopt;
    return Packet(packet);
}

Answer One(DataPacket packet) { return {{std::move(packet)}, {}, {}}; }

struct Failure {
    CallLog::Outcome outcome;
    grpc::StatusCode code;  // for the text methods, which answer failures as a call status
    QString message;
};

Failure Judged(const std::exception_ptr& raised) {
    try {
        std::rethrow_exception(raised);
    } catch (const EBadRequest& e) {
        return {CallLog::Outcome::Refused, grpc::StatusCode::INVALID_ARGUMENT, e.Message()};
    } catch (const EConflict& e) {
        return {CallLog::Outcome::Conflict, grpc::StatusCode::ABORTED, e.Message()};
    } catch (const EDatabaseError& e) {
        return {CallLog::Outcome::Failed, grpc::StatusCode::UNAVAILABLE, e.Message()};
    } catch (const EError& e) {
        return {CallLog::Outcome::Failed, grpc::StatusCode::INTERNAL, e.Message()};
    } catch (const std::exception& e) {
        return {CallLog::Outcome::Failed, grpc::StatusCode::INTERNAL,
                QStringLiteral("Erro interno do servidor de aplicação: %1")
                    .arg(QString::fromUtf8(e.what()))};
    }
}

void Deliver(const Answer& answer, Fai00400::ServerResult* result) {
    result->set_success(true);
    for (const DataPacket& packet : answer.packets) ToProto(packet, result->add_payload());
}

void Deliver(const Answer& answer, Fai00400::TextResult* result) {
    result->set_text(answer.text.toStdString());
}

grpc::Status Refuse(const Failure& failure, Fai00400::ServerResult* result) {
    result->Clear();
    result->set_success(false);
    result->set_error(failure.message.toStdString());
    return grpc::Status::OK;
}

grpc::Status Refuse(const Failure& failure, Fai00400::TextResult*) {
    return grpc::Status(failure.code, failure.message.toStdString());
}

// `decode` judges the request's form and returns the work; the work runs on a database
// worker in one transaction, committed only when all of it succeeded.
template <class Reply>
grpc::Status Serve(WorkerPool& workers, CallLog& log, const char* method, Reply* reply,
                   Access access, const std::function<Work()>& decode) {
    const Clock::time_point started = Clock::now();
    try {
        const Work work = decode();
        const Answer answer = workers.Run([&work, access](WorkerPool::Context& context) {
            try {
                SqlSession& session = context.Session();
                Transaction transaction(session, access == Access::Write ? Transaction::Kind::Write
                                                                         : Transaction::Kind::Read);
                Answer done = work(session);
                transaction.Commit();
                return done;
            } catch (const EDatabaseError&) {
                context.DiscardSession();
                throw;
            }
        });
        Deliver(answer, reply);
        log.Record(method, Clock::now() - started, CallLog::Outcome::Ok, answer.note);
        return grpc::Status::OK;
    } catch (...) {
        const Failure failure = Judged(std::current_exception());
        log.Record(method, Clock::now() - started, failure.outcome, failure.message);
        return Refuse(failure, reply);
    }
}

}  // namespace

grpc::Status RdmEfetFaturService::GetParams(grpc::ServerContext*,
                                            const Fai00400::GetParamsRequest* request,
                                            Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetParams", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch())](SqlSession& session) {
            return One(EfetFaturReads(session).GetParams(branch));
        });
    });
}

grpc::Status RdmEfetFaturService::GetCliente(grpc::ServerContext*,
                                             const Fai00400::GetClienteRequest* request,
                                             Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetCliente", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()),
                     number = RegistrationText(request->registration_number()),
                     client = ClientText(request->client())](SqlSession& session) {
            return One(EfetFaturReads(session).GetCliente(branch, number, client));
        });
    });
}

grpc::Status RdmEfetFaturService::GetServico(grpc::ServerContext*,
                                             const Fai00400::GetServicoRequest* request,
                                             Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetServico", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetServico(branch, client, service));
        });
    });
}

grpc::Status RdmEfetFaturService::GetEfetFatu(grpc::ServerContext*,
                                              const Fai00400::GetEfetFatuRequest* request,
                                              Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetEfetFatu", result, Access::Read, [request] {
        return Work([client = ClientText(request->client()), branch = BranchText(request->branch()),
                     service = ServiceText(request->service()), date = Day(request->date()),
                     mode = request->mode()](SqlSession& session) {
            return Answer{
                EfetFaturReads(session).GetEfetFatu(client, branch, service, date, mode), {}, {}};
        });
    });
}

grpc::Status RdmEfetFaturService::ImportaEfetTrans(grpc::ServerContext*,
                                                   const Fai00400::GetEfetFatuRequest* request,
                                                   Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "ImportaEfetTrans", result, Access::Write, [request] {
        return Work([client = ClientText(request->client()), branch = BranchText(request->branch()),
                     service = ServiceText(request->service()), date = Day(request->date()),
                     mode = request->mode()](SqlSession& session) {
            TransportImport::Outcome outcome =
                TransportImport(session).Run(client, branch, service, date, mode);
            return Answer{std::move(outcome.packets),
                          {},
                          QStringLiteral("%1 efetivos transportados importados, %2 de dias "
                                         "fechados ou apurados deixados de fora")
                              .arg(outcome.taken)
                              .arg(outcome.skipped)};
        });
    });
}

grpc::Status RdmEfetFaturService::GetValidaData(grpc::ServerContext*,
                                                const Fai00400::GetValidaDataRequest* request,
                                                Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetValidaData", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetValidaData(branch, client, service, date));
        });
    });
}

grpc::Status RdmEfetFaturService::GetVerifData(grpc::ServerContext*,
                                               const Fai00400::GetVerifDataRequest* request,
                                               Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetVerifData", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()),
                     service = ServiceText(request->service()),
                     client = ClientText(request->client())](SqlSession& session) {
            return One(EfetFaturReads(session).GetVerifData(branch, service, client));
        });
    });
}

grpc::Status RdmEfetFaturService::GetVlrFatPla(grpc::ServerContext*,
                                               const Fai00400::GetVlrFatPlaRequest* request,
                                               Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetVlrFatPla", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()),
                     service = ServiceText(request->service()),
                     client = ClientText(request->client()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetVlrFatPla(branch, service, client, date));
        });
    });
}

grpc::Status RdmEfetFaturService::GetVerifSoma(grpc::ServerContext*,
                                               const Fai00400::GetVerifSomaRequest* request,
                                               Fai00400::TextResult* result) {
    return Serve(workers_, log_, "GetVerifSoma", result, Access::Read, [request] {
        return Work([headcounts = Packet(request->headcounts())](SqlSession& session) {
            return Answer{{}, ShiftAgreement(session).FirstDisagreeing(headcounts), {}};
        });
    });
}

grpc::Status RdmEfetFaturService::UpdEfetFatu(grpc::ServerContext*,
                                              const Fai00400::UpdEfetFatuRequest* request,
                                              Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "UpdEfetFatu", result, Access::Write, [request] {
        return Work(
            [headcounts = PacketOrNull(request->has_headcount_delta(), request->headcount_delta()),
             nullFields = NullFieldsText(request->null_fields()),
             apportionment = PacketOrNull(request->has_apportionment_delta(),
                                          request->apportionment_delta())](SqlSession& session) {
                HeadcountSave(session).Run(headcounts, nullFields, apportionment);
                return Answer{};
            });
    });
}

grpc::Status RdmEfetFaturService::GetTurno(grpc::ServerContext*,
                                           const Fai00400::GetTurnoRequest* request,
                                           Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetTurno", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetTurno(branch, client, service, date));
        });
    });
}

grpc::Status RdmEfetFaturService::SetTurno(grpc::ServerContext*,
                                           const Fai00400::SetTurnoRequest* request,
                                           Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "SetTurno", result, Access::Write, [request] {
        return Work([shifts = Packet(request->shift_delta()),
                     nullFields = NullFieldsText(request->null_fields())](SqlSession& session) {
            ShiftSave(session).Run(shifts, nullFields);
            return Answer{};
        });
    });
}

grpc::Status RdmEfetFaturService::GetSomaTurno(grpc::ServerContext*,
                                               const Fai00400::GetTurnoRequest* request,
                                               Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetSomaTurno", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetSomaTurno(branch, client, service, date));
        });
    });
}

grpc::Status RdmEfetFaturService::GetVdServClie(grpc::ServerContext*,
                                                const Fai00400::GetVdServClieRequest* request,
                                                Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetVdServClie", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetVdServClie(branch, client, service));
        });
    });
}

grpc::Status RdmEfetFaturService::GetItRatEfet(grpc::ServerContext*,
                                               const Fai00400::GetItRatEfetRequest* request,
                                               Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GetItRatEfet", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     date = Day(request->date()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetItRatEfet(branch, client, date, service));
        });
    });
}

grpc::Status RdmEfetFaturService::UpDateServData(grpc::ServerContext*,
                                                 const Fai00400::UpDateServDataRequest* request,
                                                 Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "UpDateServData", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()), first = Day(request->first_date()),
                     last = Day(request->last_date()), forecast = request->forecast(),
                     billed = request->billed()](SqlSession& session) {
            const int days =
                Duplication(session).Run(branch, client, service, first, last, forecast, billed);
            return Answer{{}, {}, QStringLiteral("%1 dias gravados").arg(days)};
        });
    });
}

grpc::Status RdmEfetFaturService::PrxRelFatur(grpc::ServerContext*,
                                              const Fai00400::PrxRelFaturRequest* request,
                                              Fai00400::TextResult* result) {
    return Serve(workers_, log_, "PrxRelFatur", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch())](SqlSession& session) {
            const QString number = ListingReports(session).PrxRelFatur(branch);
            return Answer{{}, number, QStringLiteral("relatório %1").arg(number)};
        });
    });
}

grpc::Status RdmEfetFaturService::GeraRel(grpc::ServerContext*,
                                          const Fai00400::GeraRelRequest* request,
                                          Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "GeraRel", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch()), first = Day(request->first_date()),
                     last = Day(request->last_date()),
                     number = ReportNumberText(request->report_number())](SqlSession& session) {
            const int rows = ListingReports(session).GeraRel(branch, first, last, number);
            return Answer{
                {}, {}, QStringLiteral("%1 linhas no relatório %2").arg(rows).arg(number)};
        });
    });
}

grpc::Status RdmEfetFaturService::DeletaRel(grpc::ServerContext*,
                                            const Fai00400::DeletaRelRequest* request,
                                            Fai00400::ServerResult* result) {
    return Serve(workers_, log_, "DeletaRel", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch()),
                     number = ReportNumberText(request->report_number())](SqlSession& session) {
            ListingReports(session).DeletaRel(branch, number);
            return Answer{};
        });
    });
}

}  // namespace fai::appserver
