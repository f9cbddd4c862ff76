#include "ServiceOfClient.h"

namespace fai {

QString ServiceNotOfClientMessage() {
    return QStringLiteral("Serviço não relacionado ao cliente e filial informados.");
}

}  // namespace fai
