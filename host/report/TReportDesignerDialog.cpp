#include "TReportDesignerDialog.h"

#include "DialogService.h"
#include "ReportDesigner.h"

namespace fai {

QString TReportDesignerDialog::Execute(const QString& path, QWidget* parent) const {
    ReportDesigner designer(path, BeforeGetQueryParams, parent);
    DialogService::Instance().ExecModal(designer);
    return designer.Design().Saved() ? designer.Design().Path() : QString();
}

}  // namespace fai
