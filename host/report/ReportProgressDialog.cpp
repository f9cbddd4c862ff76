#include "ReportProgressDialog.h"

#include "BrazilianText.h"
#include "Errors.h"

#include <QApplication>
#include <QProgressDialog>

#include <limits>

namespace fai {

ReportProgressDialog::ReportProgressDialog(QWidget* parent, std::chrono::milliseconds showAfter)
    : dialog_(new QProgressDialog(parent)), showAfter_(showAfter) {
    dialog_->setObjectName(QStringLiteral("frmProgressoRelatorio"));
    dialog_->setWindowTitle(QStringLiteral("Relatório"));
    dialog_->setCancelButtonText(QStringLiteral("Cancelar"));
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    // Shown by Step, which knows how long the run has gone on; never by a timer of its own.
    dialog_->setMinimumDuration(std::numeric_limits<int>::max());
    dialog_->reset();
    dialog_->hide();
    started_.start();
}

ReportProgressDialog::~ReportProgressDialog() { delete dialog_.data(); }

void ReportProgressDialog::Step(const QString& stage, int done, int total) {
    if (!dialog_) return;
    if (!dialog_->isVisible()) {
        if (started_.elapsed() < showAfter_.count()) return;
        dialog_->show();
    }
    const QString count = BrazilianLocale().toString(done);
    dialog_->setLabelText(
        total > 0
            ? QStringLiteral("%1: %2 de %3").arg(stage, count, BrazilianLocale().toString(total))
            : QStringLiteral("%1: %2").arg(stage, count));
    dialog_->setMaximum(std::max(total, 0));
    dialog_->setValue(total > 0 ? std::min(done, total) : 0);
    QApplication::processEvents();
    if (dialog_->wasCanceled()) throw EAbort();
}

}  // namespace fai
