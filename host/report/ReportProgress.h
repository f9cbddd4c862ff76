#pragma once

#include <QString>

namespace fai {

// What a run of a report tells as it goes (reading rows, laying out, writing pages) and where
// it learns that the user gave up: Step throws EAbort then, and the run ends with nothing
// half-done left behind.
class ReportProgress {
  public:
    virtual ~ReportProgress() = default;
    // `done` of `total` (total 0 when not known yet) in the stage named by `stage`.
    virtual void Step(const QString& stage, int done, int total) = 0;
};

// For runs nobody watches.
class NoProgress : public ReportProgress {
  public:
    void Step(const QString&, int, int) override {}
};

}  // namespace fai
