#pragma once

#include "BackendTest.h"
#include "RunningServer.h"
#include "SampleData.h"

#include <memory>

namespace fai::appserver::test {

// A test on a fresh database that holds the sample's rows, with the server running on it.
class SampleTest : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        server_ = std::make_unique<RunningServer>(Location());
        seed_ = std::make_unique<TestSeed>(Location());
        sample::Seed(*seed_);
        SeedMore(*seed_);
    }

    // The rows a group of tests needs besides the sample's.
    virtual void SeedMore(TestSeed&) {}

    // A headcount key of the sample's company at the sample's branch.
    static TestSeed::Key Key(const QString& service, const QDate& day) {
        return {sample::kBranch, sample::kAlfa, service, day};
    }

    std::unique_ptr<RunningServer> server_;
    std::unique_ptr<TestSeed> seed_;
};

}  // namespace fai::appserver::test
