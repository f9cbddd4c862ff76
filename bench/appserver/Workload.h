#pragma once

#include "BenchPlan.h"
#include "DataPacket.h"
#include "HeadcountKey.h"
#include "TrdmEfetFaturDisp.h"

#include <functional>
#include <random>
#include <vector>

namespace fai::appserver {
class SqlSession;
}

namespace fai::appserver::bench {

// One call of a method, made twice: in process, as the server's worker runs it (its
// transaction and its code), to learn the SQL it sends; and through the client over gRPC.
struct MethodCall {
    std::function<void(SqlSession&)> inProcess;
    std::function<bool(TrdmEfetFaturDisp&)> overWire;  // whether the server answered success
};

// A stored headcount row that saves can change, with its counts as last saved.
struct SaveTarget {
    HeadcountKey key;
    HeadcountCounts counts;
};

// Every stored row of the service on the days open to saves at every branch.
std::vector<SaveTarget> OpenRows(SqlSession& session, const BenchPlan& plan,
                                 const QString& service);

// The delta of a save of one more billed diner on the target, as the headcount dataset sends
// it; the target takes the new counts.
DataPacket NextSave(SaveTarget& target);
// The null-field list the screen sends with such a row.
QString NullFieldsOfAnOpenRow();

// Calls of the methods measured, each on a row picked at random from the plan.
class Workload {
  public:
    Workload(const BenchPlan& plan, std::vector<SaveTarget> targets, unsigned seed);

    MethodCall GetEfetFatuByDay();
    MethodCall GetEfetFatuByService();
    MethodCall GetItRatEfet();
    MethodCall GetTurno();
    MethodCall UpdEfetFatu();
    // The listing's working data of a branch over the plan's last year, generated under the
    // branch's report number (numbers[branch]), as the listing screen asks for it.
    MethodCall GeraRelForAYear(const std::vector<QString>& numbers);

  private:
    int AnyClient();
    // A client of those with every `step`-th number.
    int OneClientIn(int step);
    QDate ServedDay(int client);
    HeadcountKey LunchOf(int client);

    const BenchPlan& plan_;
    std::vector<SaveTarget> targets_;
    std::mt19937 random_;
};

}  // namespace fai::appserver::bench
