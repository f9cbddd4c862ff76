#include "CallServing.h"

#include "AppErrors.h"
#include "PacketConversion.h"
#include "SessionMetadata.h"

namespace fai::appserver {
namespace {

Failure AbandonedCall() {
    return {CallLog::Outcome::Failed,
            grpc::StatusCode::CANCELLED,
            QStringLiteral("Chamada abandonada pelo cliente antes do fim; nada foi gravado."),
            {}};
}

}  // namespace

Failure Judged(const std::exception_ptr& raised) {
    try {
        std::rethrow_exception(raised);
    } catch (const EBadRequest& e) {
        return {CallLog::Outcome::Refused, grpc::StatusCode::INVALID_ARGUMENT, e.Message(), {}};
    } catch (const ESessionRequired& e) {
        return {
            CallLog::Outcome::Refused, grpc::StatusCode::UNAUTHENTICATED, e.Message(), {}, true};
    } catch (const EForbidden& e) {
        return {CallLog::Outcome::Refused, grpc::StatusCode::PERMISSION_DENIED, e.Message(), {}};
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
    for (const Fai00400::DataPacket& packet : answer.packets)
        result->add_payload()->CopyFrom(packet);
}

void Deliver(const Answer& answer, Fai00400::TextResult* result) {
    result->set_text(answer.text.toStdString());
}

grpc::Status Refusal(const Failure& failure, Fai00400::ServerResult* result) {
    if (failure.asStatus) return grpc::Status(failure.code, failure.message.toStdString());
    result->Clear();
    result->set_success(false);
    result->set_error(failure.message.toStdString());
    return grpc::Status::OK;
}

Answer Transacted(WorkerPool::Context& worker, Access access, const Work& work,
                  const std::function<void()>& beforeCommit) {
    for (bool again = access != Access::Own && worker.Connected();; again = false) {
        bool committing = false;
        try {
            if (access == Access::Own) {
                Answer done = work(worker.Session());
                beforeCommit();
                return done;
            }
            const std::unique_ptr<Transaction> transaction = worker.Begin(
                access == Access::Write ? Transaction::Kind::Write : Transaction::Kind::Query);
            Answer done = work(worker.Session());
            beforeCommit();
            committing = true;
            transaction->Commit();
            return done;
        } catch (const EDatabaseUnavailable&) {
            worker.DiscardSession();
            if (!again || committing) throw;
        } catch (const EDatabaseError&) {
            worker.DiscardSession();
            throw;
        }
    }
}

namespace {

QString MetadataText(const grpc::CallbackServerContext& context, const char* key) {
    const auto& metadata = context.client_metadata();
    const auto found = metadata.find(key);
    if (found == metadata.end()) return {};
    QString text =
        QString::fromUtf8(found->second.data(), static_cast<qsizetype>(found->second.size()));
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control) c = u' ';
    return text.trimmed();
}

}  // namespace

Workstation WorkstationOf(const grpc::CallbackServerContext& context) {
    return {MetadataText(context, kLocalUserMetadataKey),
            MetadataText(context, kMachineMetadataKey)};
}

QString SessionTokenOf(const grpc::CallbackServerContext& context) {
    const auto& metadata = context.client_metadata();
    const auto found = metadata.find(kSessionMetadataKey);
    if (found == metadata.end()) return {};
    return QString::fromLatin1(found->second.data(), static_cast<qsizetype>(found->second.size()));
}

}  // namespace fai::appserver
