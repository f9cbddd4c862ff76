#include "HealthWatch.h"

#include "CallLog.h"
#include "Errors.h"
#include "SqlSession.h"

#include <grpcpp/health_check_service_interface.h>

namespace fai::appserver {

HealthWatch::HealthWatch(DatabaseLocation location, grpc::HealthCheckServiceInterface& health,
                         CallLog& log, std::chrono::milliseconds interval)
    : location_(std::move(location)),
      health_(health),
      log_(log),
      // Said before the first check can run, so that the check's word is the last.
      serving_((health.SetServingStatus(true), true)),
      task_(interval, [this] { Check(); }) {}

HealthWatch::~HealthWatch() = default;

void HealthWatch::Check() {
    const bool answers = DatabaseAnswers();
    if (answers == serving_) return;
    serving_ = answers;
    health_.SetServingStatus(answers);
    log_.Note(answers ? QStringLiteral("saúde: o banco de dados responde de novo; em serviço")
                      : QStringLiteral("saúde: o banco de dados não responde; fora de serviço"));
}

bool HealthWatch::DatabaseAnswers() {
    try {
        SqlSession(location_).Run(QStringLiteral("SELECT 1"));
        return true;
    } catch (const EError&) {
        return false;
    }
}

}  // namespace fai::appserver
