#include "ListingRun.h"

#include "CheckResultServ.h"
#include "ConnectionError.h"
#include "ReportParams.h"
#include "TNetConnection.h"
#include "Value.h"

namespace fai {
namespace {

const QString kAll = QStringLiteral("T");

void SetDate(ReportParams& params, const char* name, const QDate& date) {
    const QString parameter = QString::fromLatin1(name);
    if (!params.ExistParam(parameter)) return;
    if (date.isValid() && date != ZeroDate()) {
        params.ParamByName(parameter).SetAsDateTime(date);
    } else {
        params.ParamByName(parameter).Clear();
    }
}

void SetText(ReportParams& params, const char* name, const QString& text) {
    const QString parameter = QString::fromLatin1(name);
    if (params.ExistParam(parameter)) params.ParamByName(parameter).SetAsString(text);
}

}  // namespace

void ListingRegistry::Generate(TNetConnection& connection, const QString& branch,
                               const QDate& first, const QDate& last) {
    if (!branches_.contains(branch)) {
        const QString number = connection.AppServer().PrxRelFatur(branch);
        branches_ << branch;
        numbers_ << number;
    }
    CheckResultServ(connection.AppServer().GeraRel(branch, first, last, NumberOf(branch)), true, 0);
}

QString ListingRegistry::NumberOf(const QString& branch) const {
    const qsizetype at = branches_.indexOf(branch);
    return at < 0 ? QString() : numbers_[at];
}

void ListingRegistry::DeleteAll(TNetConnection& connection) const {
    QStringList none;
    DeleteAll(connection, none);
}

std::vector<ListingRegistry::Refusal> ListingRegistry::DeleteAll(TNetConnection& connection,
                                                                 QStringList& refused) const {
    std::vector<Refusal> again;
    for (qsizetype i = 0; i < branches_.size(); ++i) {
        try {
            CheckResultServ(connection.AppServer().DeletaRel(branches_[i], numbers_[i]), true, 0);
        } catch (const EConnectionError&) {
            throw;
        } catch (const EError& e) {
            const QString entry = branches_[i] + QLatin1Char('/') + numbers_[i];
            if (!refused.contains(entry)) {
                refused << entry;
                throw;
            }
            again.push_back({branches_[i], numbers_[i], e.Message()});
        }
    }
    return again;
}

void SetListingParams(ReportParams& params, const ListingChoice& choice,
                      const QString& reportNumber) {
    SetText(params, "P_CDFILIAL", choice.branch);
    SetText(params, "P_NRAPURACGD", reportNumber);
    SetDate(params, "P_DTINICIAL", choice.first);
    SetDate(params, "P_DTFINAL", choice.last);
    if (params.ExistParam(QStringLiteral("P_DTFINALCOMP"))) {
        ReportParam& dayAfter = params.ParamByName(QStringLiteral("P_DTFINALCOMP"));
        if (choice.last.isValid() && choice.last != ZeroDate()) {
            dayAfter.SetAsFloat(double(ToDaySerial(choice.last) + 1));
        } else {
            dayAfter.Clear();
        }
    }
    SetDate(params, "P_DTINICIAL_D", choice.first);
    SetDate(params, "P_DTFINAL_D", choice.last);
    SetText(params, "P_CDCLIENTE", choice.allClients ? kAll : choice.clients);
    if (choice.allServices) {
        SetText(params, "P_CDSERVFILI", kAll);
    } else {
        params.ParamByName(QStringLiteral("P_CDSERVFILI")).SetAsString(choice.services);
    }
}

}  // namespace fai
