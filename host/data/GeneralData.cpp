#include "GeneralData.h"

#include "Errors.h"

namespace fai {
namespace {

std::shared_ptr<GeneralData>& Current() {
    static std::shared_ptr<GeneralData> data;
    return data;
}

}  // namespace

void SetGeneralData(std::shared_ptr<GeneralData> data) { Current() = std::move(data); }

GeneralData& dtmDBGeral() {
    if (!Current())
        throw EError(
            QStringLiteral("Os dados gerais não estão disponíveis: o host não se ligou "
                           "ao servidor de aplicação."));
    return *Current();
}

}  // namespace fai
