// The one place where requests and results of the server meet their protobuf form.
#include "RdmEfetFaturService.h"

#include "AppErrors.h"
#include "CallGate.h"
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

#include <google/protobuf/arena.h>
#include <grpcpp/support/message_allocator.h>

#include <chrono>
#include <functional>
#include <type_traits>

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
    QString message;        // for the client
    QString detail;         // for the log only
};

// Raised on the worker when the call ended before its work did: its client went away, or
// it was answered for its deadline. Nothing of the work is committed.
struct CallAbandoned {};

Failure AbandonedCall() {
    return {CallLog::Outcome::Failed,
            grpc::StatusCode::CANCELLED,
            QStringLiteral("Chamada abandonada pelo cliente antes do fim; nada foi gravado."),
            {}};
}

Failure Judged(const std::exception_ptr& raised) {
    try {
        std::rethrow_exception(raised);
    } catch (const EBadRequest& e) {
        return {CallLog::Outcome::Refused, grpc::StatusCode::INVALID_ARGUMENT, e.Message(), {}};
    } catch (const EConflict& e) {
        return {CallLog::Outcome::Conflict, grpc::StatusCode::ABORTED, e.Message(), {}};
    } catch (const CallAbandoned&) {
        return AbandonedCall();
    } catch (const EDatabaseUnavailable& e) {
        // The database's address and the driver's words help the administrator, not the
        // clerk. UNAVAILABLE would read, to the client, as this server being unreachable.
        return {CallLog::Outcome::Failed, grpc::StatusCode::INTERNAL,
                QStringLiteral("Banco de dados indisponível; tente novamente."), e.Message()};
    } catch (const EDatabaseError& e) {
        return {CallLog::Outcome::Failed, grpc::StatusCode::INTERNAL, e.Message(), {}};
    } catch (const EError& e) {
        return {CallLog::Outcome::Failed, grpc::StatusCode::INTERNAL, e.Message(), {}};
    } catch (const std::exception& e) {
        return {CallLog::Outcome::Failed,
                grpc::StatusCode::INTERNAL,
                QStringLiteral("Erro interno do servidor de aplicação: %1")
                    .arg(QString::fromUtf8(e.what())),
                {}};
    }
}

Failure Busy(int maxCalls) {
    return {CallLog::Outcome::Refused,
            grpc::StatusCode::RESOURCE_EXHAUSTED,
            QStringLiteral("Servidor ocupado: o servidor de aplicação já atende %1 chamadas. "
                           "Tente novamente em instantes.")
                .arg(maxCalls),
            {}};
}

Failure GivenUp(ServerCall::Ending ending, std::chrono::seconds timeout) {
    if (ending == ServerCall::Ending::Abandoned) return AbandonedCall();
    return {
        CallLog::Outcome::Failed,
        grpc::StatusCode::DEADLINE_EXCEEDED,
        QStringLiteral("Tempo esgotado: o servidor de aplicação não concluiu a chamada em %1 s. "
                       "Nada foi gravado; tente novamente.")
            .arg(timeout.count()),
        {}};
}

void Deliver(const Answer& answer, Fai00400::ServerResult* result) {
    result->set_success(true);
    for (const DataPacket& packet : answer.packets) ToProto(packet, result->add_payload());
}

void Deliver(const Answer& answer, Fai00400::TextResult* result) {
    result->set_text(answer.text.toStdString());
}

grpc::Status Refusal(const Failure& failure, Fai00400::ServerResult* result) {
    result->Clear();
    result->set_success(false);
    result->set_error(failure.message.toStdString());
    return grpc::Status::OK;
}

grpc::Status Refusal(const Failure& failure, Fai00400::TextResult*) {
    return grpc::Status(failure.code, failure.message.toStdString());
}

// The work in one transaction on the worker's connection, committed only when all of it
// succeeded and `beforeCommit` lets it. A call that only reads may begin nothing (see
// SqlDialect::BeginQuery): a connection the database dropped just before is then found out by
// its own first statement, and since a read changes nothing it runs again on a new
// connection, as a transaction's beginning would.
Answer Transacted(WorkerPool::Context& worker, Access access, const Work& work,
                  const std::function<void()>& beforeCommit) {
    for (bool again = access == Access::Read && worker.Connected();; again = false) {
        try {
            const std::unique_ptr<Transaction> transaction = worker.Begin(
                access == Access::Write ? Transaction::Kind::Write : Transaction::Kind::Query);
            Answer done = work(worker.Session());
            beforeCommit();
            transaction->Commit();
            return done;
        } catch (const EDatabaseUnavailable&) {
            worker.DiscardSession();
            if (!again) throw;
        } catch (const EDatabaseError&) {
            worker.DiscardSession();
            throw;
        }
    }
}

// One call's answer, whoever gives it: its work, its deadline or its client's going away.
template <class Reply>
class Answering {
  public:
    Answering(CallLog& log, const char* method, Reply* reply)
        : log_(log), method_(method), reply_(reply), started_(Clock::now()) {}

    // Only by the one whose claim on the answer succeeded.
    void Refuse(ServerCall& call, const Failure& failure) const {
        Log(failure.outcome, failure.detail.isEmpty()
                                 ? failure.message
                                 : failure.message + QStringLiteral(" (") + failure.detail + u')');
        call.Answer(Refusal(failure, reply_));
    }

    // Refuses the call when no one has answered it yet, and lets go of it.
    void RefuseNow(ServerCall& call, const Failure& failure) const {
        if (call.Claim()) Refuse(call, failure);
        call.Release();
    }

    // On a database worker. The work claims the answer just before it commits: a client
    // that went away, or whose call was answered for its deadline, was told the call failed,
    // and what it sent must then not be found written.
    void Run(ServerCall& call, WorkerPool::Context& worker, Access access, const Work& work) const {
        bool mine = false;
        try {
            if (call.Abandoned()) throw CallAbandoned();
            const Answer answer = Transacted(worker, access, work, [&call, &mine] {
                mine = call.Claim();
                if (!mine || call.Abandoned()) throw CallAbandoned();
            });
            Deliver(answer, reply_);
            Log(CallLog::Outcome::Ok, answer.note);
            call.Answer(grpc::Status::OK);
        } catch (...) {
            if (mine || call.Claim()) Refuse(call, Judged(std::current_exception()));
        }
    }

  private:
    void Log(CallLog::Outcome outcome, const QString& message) const {
        log_.Record(method_, Clock::now() - started_, outcome, message);
    }

    CallLog& log_;
    const char* method_;
    Reply* reply_;
    Clock::time_point started_;
};

// `decode` judges the request's form and returns the work, which runs on a database worker
// unless the call is answered before its turn comes.
template <class Reply>
grpc::ServerUnaryReactor* Serve(const Serving& serving, grpc::CallbackServerContext* context,
                                const char* method, Reply* reply, Access access,
                                const std::function<Work()>& decode) {
    const Answering<Reply> answering(serving.log, method, reply);
    ServerCall* call =
        serving.calls.Open(context, [answering, timeout = serving.calls.Timeout()](
                                        ServerCall& call, ServerCall::Ending ending) {
            answering.Refuse(call, GivenUp(ending, timeout));
        });
    if (!call->Admitted()) {
        answering.RefuseNow(*call, Busy(serving.calls.MaxCalls()));
        return call;
    }
    try {
        serving.workers.Post(
            [answering, call, access, work = decode()](WorkerPool::Context& worker) {
                if (call->Pending()) answering.Run(*call, worker, access, work);
                call->Release();
            });
    } catch (...) {
        answering.RefuseNow(*call, Judged(std::current_exception()));
    }
    return call;
}

// Each call's request and answer on an arena of their own: a packet of thousands of cells is
// built and freed as a few blocks instead of a heap allocation per cell.
template <class Request, class Reply>
class ArenaAllocator final : public grpc::MessageAllocator<Request, Reply> {
  public:
    grpc::MessageHolder<Request, Reply>* AllocateMessages() override { return new Holder; }

  private:
    class Holder final : public grpc::MessageHolder<Request, Reply> {
      public:
        Holder() {
            this->set_request(google::protobuf::Arena::CreateMessage<Request>(&arena_));
            this->set_response(google::protobuf::Arena::CreateMessage<Reply>(&arena_));
        }
        void Release() override { delete this; }

      private:
        google::protobuf::Arena arena_;
    };
};

template <class Method, class Request, class Reply>
void OnArena(std::type_identity_t<Method>& service,
             void (Method::*use)(grpc::MessageAllocator<Request, Reply>*)) {
    static ArenaAllocator<Request, Reply> allocator;
    (service.*use)(&allocator);
}

}  // namespace

RdmEfetFaturService::RdmEfetFaturService(const Serving& serving) : serving_(serving) {
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetParams);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetCliente);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetServico);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetEfetFatu);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_ImportaEfetTrans);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetValidaData);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetVerifData);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetVlrFatPla);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetVerifSoma);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_UpdEfetFatu);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetTurno);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_SetTurno);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetSomaTurno);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetVdServClie);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetItRatEfet);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_UpDateServData);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_PrxRelFatur);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GeraRel);
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_DeletaRel);
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetParams(grpc::CallbackServerContext* call,
                                                         const Fai00400::GetParamsRequest* request,
                                                         Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetParams", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch())](SqlSession& session) {
            return One(EfetFaturReads(session).GetParams(branch));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetCliente(
    grpc::CallbackServerContext* call, const Fai00400::GetClienteRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetCliente", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()),
                     number = RegistrationText(request->registration_number()),
                     client = ClientText(request->client())](SqlSession& session) {
            return One(EfetFaturReads(session).GetCliente(branch, number, client));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetServico(
    grpc::CallbackServerContext* call, const Fai00400::GetServicoRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetServico", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetServico(branch, client, service));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetEfetFatu(
    grpc::CallbackServerContext* call, const Fai00400::GetEfetFatuRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetEfetFatu", result, Access::Read, [request] {
        return Work([client = ClientText(request->client()), branch = BranchText(request->branch()),
                     service = ServiceText(request->service()), date = Day(request->date()),
                     mode = request->mode()](SqlSession& session) {
            return Answer{
                EfetFaturReads(session).GetEfetFatu(client, branch, service, date, mode), {}, {}};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::ImportaEfetTrans(
    grpc::CallbackServerContext* call, const Fai00400::GetEfetFatuRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "ImportaEfetTrans", result, Access::Write, [request] {
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

grpc::ServerUnaryReactor* RdmEfetFaturService::GetValidaData(
    grpc::CallbackServerContext* call, const Fai00400::GetValidaDataRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetValidaData", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetValidaData(branch, client, service, date));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetVerifData(
    grpc::CallbackServerContext* call, const Fai00400::GetVerifDataRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetVerifData", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()),
                     service = ServiceText(request->service()),
                     client = ClientText(request->client())](SqlSession& session) {
            return One(EfetFaturReads(session).GetVerifData(branch, service, client));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetVlrFatPla(
    grpc::CallbackServerContext* call, const Fai00400::GetVlrFatPlaRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetVlrFatPla", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()),
                     service = ServiceText(request->service()),
                     client = ClientText(request->client()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetVlrFatPla(branch, service, client, date));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetVerifSoma(
    grpc::CallbackServerContext* call, const Fai00400::GetVerifSomaRequest* request,
    Fai00400::TextResult* result) {
    return Serve(serving_, call, "GetVerifSoma", result, Access::Read, [request] {
        return Work([headcounts = Packet(request->headcounts())](SqlSession& session) {
            return Answer{{}, ShiftAgreement(session).FirstDisagreeing(headcounts), {}};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::UpdEfetFatu(
    grpc::CallbackServerContext* call, const Fai00400::UpdEfetFatuRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "UpdEfetFatu", result, Access::Write, [request] {
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

grpc::ServerUnaryReactor* RdmEfetFaturService::GetTurno(grpc::CallbackServerContext* call,
                                                        const Fai00400::GetTurnoRequest* request,
                                                        Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetTurno", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetTurno(branch, client, service, date));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::SetTurno(grpc::CallbackServerContext* call,
                                                        const Fai00400::SetTurnoRequest* request,
                                                        Fai00400::ServerResult* result) {
    return Serve(serving_, call, "SetTurno", result, Access::Write, [request] {
        return Work([shifts = Packet(request->shift_delta()),
                     nullFields = NullFieldsText(request->null_fields())](SqlSession& session) {
            ShiftSave(session).Run(shifts, nullFields);
            return Answer{};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetSomaTurno(
    grpc::CallbackServerContext* call, const Fai00400::GetTurnoRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetSomaTurno", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()),
                     date = Day(request->date())](SqlSession& session) {
            return One(EfetFaturReads(session).GetSomaTurno(branch, client, service, date));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetVdServClie(
    grpc::CallbackServerContext* call, const Fai00400::GetVdServClieRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetVdServClie", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetVdServClie(branch, client, service));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetItRatEfet(
    grpc::CallbackServerContext* call, const Fai00400::GetItRatEfetRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GetItRatEfet", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     date = Day(request->date()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetItRatEfet(branch, client, date, service));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::UpDateServData(
    grpc::CallbackServerContext* call, const Fai00400::UpDateServDataRequest* request,
    Fai00400::ServerResult* result) {
    return Serve(serving_, call, "UpDateServData", result, Access::Write, [request] {
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

grpc::ServerUnaryReactor* RdmEfetFaturService::PrxRelFatur(
    grpc::CallbackServerContext* call, const Fai00400::PrxRelFaturRequest* request,
    Fai00400::TextResult* result) {
    return Serve(serving_, call, "PrxRelFatur", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch())](SqlSession& session) {
            const QString number = ListingReports(session).PrxRelFatur(branch);
            return Answer{{}, number, QStringLiteral("relatório %1").arg(number)};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GeraRel(grpc::CallbackServerContext* call,
                                                       const Fai00400::GeraRelRequest* request,
                                                       Fai00400::ServerResult* result) {
    return Serve(serving_, call, "GeraRel", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch()), first = Day(request->first_date()),
                     last = Day(request->last_date()),
                     number = ReportNumberText(request->report_number())](SqlSession& session) {
            const int rows = ListingReports(session).GeraRel(branch, first, last, number);
            return Answer{
                {}, {}, QStringLiteral("%1 linhas no relatório %2").arg(rows).arg(number)};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::DeletaRel(grpc::CallbackServerContext* call,
                                                         const Fai00400::DeletaRelRequest* request,
                                                         Fai00400::ServerResult* result) {
    return Serve(serving_, call, "DeletaRel", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch()),
                     number = ReportNumberText(request->report_number())](SqlSession& session) {
            ListingReports(session).DeletaRel(branch, number);
            return Answer{};
        });
    });
}

}  // namespace fai::appserver
