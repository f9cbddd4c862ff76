#include "DatabaseConnection.h"

#include "AppErrors.h"

#include <QDate>

namespace fai::appserver {

void DatabaseConnection::RunTogether(const std::vector<Run>& runs) {
    std::size_t ran = 0;
    try {
        for (; ran < runs.size(); ++ran) {
            if (runs[ran].statement)
                runs[ran].statement->Run(*runs[ran].params);
            else
                Execute(runs[ran].asItStands);
        }
    } catch (...) {
        for (std::size_t i = 0; i < ran; ++i)
            if (runs[i].statement) runs[i].statement->Finish();
        throw;
    }
}

void StatementFailed(const QString& reason, bool connectionLost) {
    if (connectionLost)
        throw EDatabaseUnavailable(
            QStringLiteral("Conexão com o banco de dados perdida: %1").arg(reason.simplified()));
    throw EDatabaseError(QStringLiteral("Falha no banco de dados: %1").arg(reason.trimmed()));
}

bool IsSqlNull(const QVariant& value) {
    if (value.isNull()) return true;
    switch (value.typeId()) {
        case QMetaType::QString:
            return static_cast<const QString*>(value.constData())->isNull();
        case QMetaType::QByteArray:
            return static_cast<const QByteArray*>(value.constData())->isNull();
        case QMetaType::QDate:
            return static_cast<const QDate*>(value.constData())->isNull();
        default:
            return false;
    }
}

}  // namespace fai::appserver
