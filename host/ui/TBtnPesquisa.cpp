#include "TBtnPesquisa.h"

#include "DataSource.h"
#include "DialogService.h"
#include "EventGuard.h"
#include "LookupDialog.h"

#include <QLineEdit>

namespace fai {

TBtnPesquisa::TBtnPesquisa(QWidget* parent) : QToolButton(parent) {
    setText(QStringLiteral("…"));
    setToolTip(QStringLiteral("Pesquisar"));
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QToolButton::clicked, this, [this] {
        GuardEvent([this] {
            if (OnClick) {
                OnClick();
            } else {
                Execute();
            }
        });
    });
}

bool TBtnPesquisa::Execute() {
    bool show = true;
    if (OnBeforePesq) OnBeforePesq(show);
    if (!show) return false;
    ClientDataSet* dataSet =
        source_ && source_->State() != DataSetState::Inactive ? source_->DataSet() : nullptr;
    if (!dataSet || dataSet->IsEmpty()) {
        DialogService::Instance().Error(emptyError_.isEmpty()
                                            ? QStringLiteral("Não há registros para pesquisar.")
                                            : emptyError_);
        return false;
    }
    const int before = dataSet->RecNo();
    LookupDialog list(*source_, title_, window());
    if (associate_) {
        list.SearchBox()->setText(associate_->text().trimmed());
        list.Search(list.SearchBox()->text());
    }
    if (DialogService::Instance().ExecModal(list) != QDialog::Accepted) {
        if (dataSet->RecordCount() >= before && before > 0) dataSet->SetRecNo(before);
        return false;
    }
    if (OnAfterPesq) OnAfterPesq();
    if (associate_ && associate_->isEnabled()) associate_->setFocus();
    return true;
}

}  // namespace fai
