#pragma once

#include "ReportProgress.h"

#include <QElapsedTimer>
#include <QPointer>

#include <chrono>

class QProgressDialog;
class QWidget;

namespace fai {

// Progress of a run shown to the user once the run has taken longer than `showAfter` (a
// quick run shows nothing), with a button that cancels it: the next step then throws
// EAbort. The window ("frmProgressoRelatorio") goes when this goes.
class ReportProgressDialog : public ReportProgress {
  public:
    explicit ReportProgressDialog(QWidget* parent,
                                  std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~ReportProgressDialog() override;
    ReportProgressDialog(const ReportProgressDialog&) = delete;
    ReportProgressDialog& operator=(const ReportProgressDialog&) = delete;

    void Step(const QString& stage, int done, int total) override;

  private:
    QPointer<QProgressDialog> dialog_;
    QElapsedTimer started_;
    std::chrono::milliseconds showAfter_;
};

}  // namespace fai
