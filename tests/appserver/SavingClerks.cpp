#include "SavingClerks.h"

#include "Deltas.h"
#include "Errors.h"
#include "SampleData.h"

#include <QThread>

namespace fai::appserver::test {

using namespace sample;

SavingClerks::SavingClerks(const Connect& connect, int clerks, int round, int savesAtMost)
    : round_(round), savedBy_(clerks, 0) {
    for (int c = 0; c < clerks; ++c)
        threads_.emplace_back([this, connect, c, savesAtMost] {
            try {
                const std::unique_ptr<TNetConnection> connection = connect();
                for (int s = 0; s < savesAtMost; ++s) {
                    if (!Save(connection->AppServer(), c, s).success) return;
                    {
                        std::lock_guard lock(mutex_);
                        savedBy_[c] = s + 1;
                    }
                    ++acknowledged_;
                }
            } catch (const EError&) {
                // The connection went with the server.
            }
        });
}

SavingClerks::~SavingClerks() { Join(); }

bool SavingClerks::WaitFor(int saves) const {
    for (int wait = 0; wait < 20'000 && acknowledged_ < saves; ++wait) QThread::msleep(1);
    return acknowledged_ >= saves;
}

void SavingClerks::Join() {
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
}

std::vector<int> SavingClerks::SavedByNow() const {
    std::lock_guard lock(mutex_);
    return savedBy_;
}

QString SavingClerks::Missing(TestSeed& database, const std::vector<int>& savedBy) const {
    for (int c = 0; c < int(savedBy.size()); ++c)
        for (int s = 0; s < savedBy[c]; ++s) {
            const auto stored = database.Headcount(KeyOf(c, s));
            if (!stored || stored->billed != c * 1000 + s || stored->forecast != s)
                return QStringLiteral("a gravação %1 do escriturário %2 não está como enviada")
                    .arg(s)
                    .arg(c);
        }
    return {};
}

ServerResult SavingClerks::Save(TrdmEfetFaturDisp& methods, int clerk, int save) const {
    OptionalPacket headcounts = InsertedHeadcount(KeyOf(clerk, save), clerk * 1000 + save, save);
    QString nullFields;
    OptionalPacket apportionment;
    return methods.UpdEfetFatu(headcounts, nullFields, apportionment);
}

TestSeed::Key SavingClerks::KeyOf(int clerk, int save) const {
    return {kBranch, kAlfa, kLunch, kDay.addDays(round_ * 10'000 + clerk * 1'000 + save)};
}

}  // namespace fai::appserver::test
