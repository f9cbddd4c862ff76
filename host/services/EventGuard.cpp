#include "EventGuard.h"

#include "DialogService.h"
#include "Errors.h"

namespace fai {

bool GuardEvent(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const EAbort&) {
    } catch (const EError& e) {
        DialogService::Instance().Error(e.Message());
    } catch (const std::exception& e) {
        DialogService::Instance().Error(
            QStringLiteral("Erro inesperado: %1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        DialogService::Instance().Error(QStringLiteral("Erro inesperado."));
    }
    return false;
}

}  // namespace fai
