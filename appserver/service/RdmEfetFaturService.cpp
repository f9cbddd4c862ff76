// The one place where requests and results of the server meet their protobuf form.
#include "RdmEfetFaturService.h"

#include "AppErrors.h"
#include "ArenaBlocks.h"
#include "Authorization.h"
#include "CallServing.h"
#include "Duplication.h"
#include "EfetFaturReads.h"
#include "HeadcountSave.h"
#include "HistoryReads.h"
#include "HistoryRepository.h"
#include "HostQueries.h"
#include "ListingReports.h"
#include "NamedBranches.h"
#include "PacketConversion.h"
#include "PartedCall.h"
#include "RequestChecks.h"
#include "ShiftAgreement.h"
#include "ShiftSave.h"
#include "SqlSession.h"
#include "TransportImport.h"
#include "WireText.h"

#include <google/protobuf/arena.h>
#include <grpcpp/support/message_allocator.h>

#include <chrono>
#include <functional>
#include <type_traits>

namespace fai::appserver {
namespace {

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

// Moved in: a list of braces would copy the message.
Answer One(Fai00400::DataPacket packet) {
    Answer answer;
    answer.packets.push_back(std::move(packet));
    return answer;
}

// Each call's request and answer on an arena of their own: a packet of thousands of cells is
// built and freed in kept blocks instead of a heap allocation per cell.
template <class Request, class Reply>
class ArenaAllocator final : public grpc::MessageAllocator<Request, Reply> {
  public:
    grpc::MessageHolder<Request, Reply>* AllocateMessages() override { return new Holder; }

  private:
    class Holder final : public grpc::MessageHolder<Request, Reply> {
      public:
        Holder() : arena_(KeptArenaBlocks()) {
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

RdmEfetFaturService::RdmEfetFaturService(const Serving& serving, Authorization& authorization)
    : serving_(serving), authorization_(authorization) {
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
    OnArena(*this, &RdmEfetFaturService::SetMessageAllocatorFor_GetHistEfetFatu);
}

// Admits the caller before the work: a session when the server asks for one, and every
// branch the request names among the user's; the log line of the call names the user. A call
// that reads runs in a writing transaction when the session's use is due to be written down.
template <class Reply>
grpc::ServerUnaryReactor* RdmEfetFaturService::Admitting(
    const NamedBranches& named, grpc::CallbackServerContext* call, const char* method, Reply* reply,
    Access access, const std::function<AdmittedWork()>& decode) {
    const QString token = SessionTokenOf(*call);
    const Access admitted =
        access == Access::Read && authorization_.UseDue(token) ? Access::Write : access;
    return Serve(
        serving_, call, method, reply, admitted, [this, &token, &named, admitted, &decode] {
            return Work([this, token, branches = named.List(), writing = admitted == Access::Write,
                         work = decode()](SqlSession& session) {
                const QString login = authorization_.Admit(session, token, branches, writing).login;
                Answer answer = work(session, login);
                if (!login.isEmpty())
                    answer.note =
                        QStringLiteral("usuário ") + login +
                        (answer.note.isEmpty() ? QString() : QStringLiteral(", ") + answer.note);
                return answer;
            });
        });
}

template <class Reply>
grpc::ServerUnaryReactor* RdmEfetFaturService::Guarded(const NamedBranches& named,
                                                       grpc::CallbackServerContext* call,
                                                       const char* method, Reply* reply,
                                                       Access access,
                                                       const std::function<Work()>& decode) {
    return Admitting(named, call, method, reply, access, [&decode] {
        return AdmittedWork(
            [work = decode()](SqlSession& session, const QString&) { return work(session); });
    });
}

// The author of the changes is the signed-in user; a server running open takes the local user
// the host reports.
grpc::ServerUnaryReactor* RdmEfetFaturService::Writing(const NamedBranches& named,
                                                       grpc::CallbackServerContext* call,
                                                       const char* method,
                                                       Fai00400::ServerResult* reply,
                                                       const std::function<WritingWork()>& decode) {
    return Admitting(named, call, method, reply, Access::Write,
                     [&decode, method, station = WorkstationOf(*call)] {
                         return AdmittedWork([work = decode(), method, station](
                                                 SqlSession& session, const QString& login) {
                             HistoryRepository history(
                                 session, {login.isEmpty() ? station.user : login, station.machine,
                                           QString::fromLatin1(method)});
                             Answer answer = work(session, history);
                             history.Flush();
                             return answer;
                         });
                     });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetParams(grpc::CallbackServerContext* call,
                                                         const Fai00400::GetParamsRequest* request,
                                                         Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetParams", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch())](SqlSession& session) {
            return One(EfetFaturReads(session).GetParams(branch));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetCliente(
    grpc::CallbackServerContext* call, const Fai00400::GetClienteRequest* request,
    Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetCliente", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetServico", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetServico(branch, client, service));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetEfetFatu(
    grpc::CallbackServerContext* call, const Fai00400::GetEfetFatuRequest* request,
    Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetEfetFatu", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Writing(named, call, "ImportaEfetTrans", result, [request] {
        return WritingWork(
            [client = ClientText(request->client()), branch = BranchText(request->branch()),
             service = ServiceText(request->service()), date = Day(request->date()),
             mode = request->mode()](SqlSession& session, HistoryRepository& history) {
                TransportImport::Outcome outcome =
                    TransportImport(session, history).Run(client, branch, service, date, mode);
                return Answer{std::move(outcome.packets),
                              {},
                              QStringLiteral("%1 efetivos transportados importados, %2 de dias "
                                             "fechados ou apurados deixados de fora")
                                  .arg(outcome.taken)
                                  .arg(outcome.closed + outcome.assessed)};
            });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetValidaData(
    grpc::CallbackServerContext* call, const Fai00400::GetValidaDataRequest* request,
    Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetValidaData", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetVerifData", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetVlrFatPla", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Packet(request->headcounts());
    return Guarded(named, call, "GetVerifSoma", result, Access::Read, [request] {
        return Work([headcounts = Packet(request->headcounts())](SqlSession& session) {
            return Answer{{}, ShiftAgreement(session).FirstDisagreeing(headcounts), {}};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::UpdEfetFatu(
    grpc::CallbackServerContext* call, const Fai00400::UpdEfetFatuRequest* request,
    Fai00400::ServerResult* result) {
    const NamedBranches named =
        NamedBranches().Packet(request->headcount_delta()).Packet(request->apportionment_delta());
    return Writing(named, call, "UpdEfetFatu", result, [request] {
        return WritingWork(
            [headcounts = PacketOrNull(request->has_headcount_delta(), request->headcount_delta()),
             nullFields = NullFieldsText(request->null_fields()),
             apportionment =
                 PacketOrNull(request->has_apportionment_delta(), request->apportionment_delta())](
                SqlSession& session, HistoryRepository& history) {
                HeadcountSave(session, history).Run(headcounts, nullFields, apportionment);
                return Answer{};
            });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetTurno(grpc::CallbackServerContext* call,
                                                        const Fai00400::GetTurnoRequest* request,
                                                        Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetTurno", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Packet(request->shift_delta());
    return Writing(named, call, "SetTurno", result, [request] {
        return WritingWork([shifts = Packet(request->shift_delta()),
                            nullFields = NullFieldsText(request->null_fields())](
                               SqlSession& session, HistoryRepository& history) {
            ShiftSave(session, history).Run(shifts, nullFields);
            return Answer{};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetSomaTurno(
    grpc::CallbackServerContext* call, const Fai00400::GetTurnoRequest* request,
    Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetSomaTurno", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetVdServClie", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service())](SqlSession& session) {
            return One(EfetFaturReads(session).GetVdServClie(branch, client, service));
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetItRatEfet(
    grpc::CallbackServerContext* call, const Fai00400::GetItRatEfetRequest* request,
    Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetItRatEfet", result, Access::Read, [request] {
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
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Writing(named, call, "UpDateServData", result, [request] {
        return WritingWork(
            [branch = BranchText(request->branch()), client = ClientText(request->client()),
             service = ServiceText(request->service()), first = Day(request->first_date()),
             last = Day(request->last_date()), forecast = request->forecast(),
             billed = request->billed()](SqlSession& session, HistoryRepository& history) {
                const int days = Duplication(session, history)
                                     .Run(branch, client, service, first, last, forecast, billed);
                return Answer{{}, {}, QStringLiteral("%1 dias gravados").arg(days)};
            });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::PrxRelFatur(
    grpc::CallbackServerContext* call, const Fai00400::PrxRelFaturRequest* request,
    Fai00400::TextResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "PrxRelFatur", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch())](SqlSession& session) {
            const QString number = ListingReports(session).PrxRelFatur(branch);
            return Answer{{}, number, QStringLiteral("relatório %1").arg(number)};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GeraRel(grpc::CallbackServerContext* call,
                                                       const Fai00400::GeraRelRequest* request,
                                                       Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GeraRel", result, Access::Write, [request] {
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
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "DeletaRel", result, Access::Write, [request] {
        return Work([branch = BranchText(request->branch()),
                     number = ReportNumberText(request->report_number())](SqlSession& session) {
            ListingReports(session).DeletaRel(branch, number);
            return Answer{};
        });
    });
}

grpc::ServerUnaryReactor* RdmEfetFaturService::GetHistEfetFatu(
    grpc::CallbackServerContext* call, const Fai00400::GetHistEfetFatuRequest* request,
    Fai00400::ServerResult* result) {
    const NamedBranches named = NamedBranches().Argument(request->branch());
    return Guarded(named, call, "GetHistEfetFatu", result, Access::Read, [request] {
        return Work([branch = BranchText(request->branch()), client = ClientText(request->client()),
                     service = ServiceText(request->service()), first = Day(request->first_date()),
                     last = Day(request->last_date()), page = request->page(),
                     size = request->page_size()](SqlSession& session) {
            return One(
                HistoryReads(session).Page(branch, client, service, first, last, page, size));
        });
    });
}

}  // namespace fai::appserver

namespace fai::appserver {
namespace {

// The query's rows, read again on a new connection when the database dropped the worker's
// before anything was sent: what a clerk's next action after a database restart meets.
int ReadParts(WorkerPool::Context& worker, const HostQueryRequest& request, const ReadScope& scope,
              PartedCall& call) {
    bool sent = false;
    const auto send = [&](const Fai00400::ConsultaHostParte& part) {
        sent = true;
        if (!call.Send(part)) throw CallAbandoned();
    };
    for (bool again = true;; again = false) {
        try {
            return HostQueryParts::Run(worker.HostReads(), request, scope, send);
        } catch (const EQueryRefused& e) {
            // Named as the host named it: the clerk or the designer's user knows which.
            throw EBadRequest(
                request.name.isEmpty()
                    ? QStringLiteral("A consulta %1").arg(e.Message())
                    : QStringLiteral("A consulta '%1' %2").arg(Excerpt(request.name), e.Message()));
        } catch (const EDatabaseUnavailable&) {
            worker.DiscardHostReads();
            if (!again || sent) throw;
        } catch (const EDatabaseError&) {
            worker.DiscardHostReads();
            throw;
        }
    }
}

}  // namespace

grpc::ServerWriteReactor<Fai00400::ConsultaHostParte>* RdmEfetFaturService::ConsultaHost(
    grpc::CallbackServerContext* context, const Fai00400::ConsultaHostRequest* request) {
    const auto started = std::chrono::steady_clock::now();
    PartedCall* call = PartedCall::Open(serving_.calls, context);
    const auto end = [this, call, started](const Failure* failure, const QString& note) {
        const auto took = std::chrono::steady_clock::now() - started;
        if (!failure) {
            serving_.log.Record("ConsultaHost", took, CallLog::Outcome::Ok, note);
            call->End(grpc::Status::OK);
            return;
        }
        serving_.log.Record("ConsultaHost", took, failure->outcome,
                            failure->detail.isEmpty()
                                ? failure->message
                                : failure->message + QStringLiteral(" (") + failure->detail + u')');
        call->End(grpc::Status(failure->code, failure->message.toStdString()));
    };
    if (!call->Admitted()) {
        const Failure busy = Busy(serving_.calls.MaxCalls());
        end(&busy, {});
        call->Release();
        return call;
    }
    try {
        serving_.workers.Post([this, call, end, judged = HostQueryRequest::From(*request),
                               token = SessionTokenOf(*context)](WorkerPool::Context& worker) {
            try {
                if (call->Abandoned()) throw CallAbandoned();
                // Who asks, in a transaction of its own on the worker's connection; the
                // query then runs on the host-read connection, bounded by their branches.
                Authorization::Caller caller;
                const bool writing = authorization_.UseDue(token);
                Transacted(
                    worker, writing ? Access::Write : Access::Read,
                    [&](SqlSession& session) {
                        caller = authorization_.Admit(session, token, {}, writing);
                        return Answer{};
                    },
                    [] {});
                const int rows = ReadParts(worker, judged, caller.scope, *call);
                QString note =
                    QStringLiteral("%1, %2 linha(s)").arg(Excerpt(judged.name)).arg(rows);
                if (!caller.login.isEmpty())
                    note = QStringLiteral("usuário %1, %2").arg(caller.login, note);
                end(nullptr, note);
            } catch (...) {
                const Failure failure = Judged(std::current_exception());
                end(&failure, {});
            }
            call->Release();
        });
    } catch (...) {
        const Failure failure = Judged(std::current_exception());
        end(&failure, {});
        call->Release();
    }
    return call;
}

}  // namespace fai::appserver
