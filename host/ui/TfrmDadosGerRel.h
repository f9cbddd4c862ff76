#pragma once

#include "TBaseForm.h"

class QComboBox;
class QGroupBox;

namespace fai {

// The base report-parameter screen: the parameter group grbDadosRel (the screen fills it),
// the report panel panRelat with the list of report definitions cbbReportNames, and the tool
// panel panMenu with the report-code label lblCodRel, the screen code and the print,
// preview, save-as and edit-layout buttons. Until the report engine is in, the four report
// actions say through the dialog service that they are not available yet.
class TfrmDadosGerRel : public TBaseForm {
    Q_OBJECT
  public:
    explicit TfrmDadosGerRel(QWidget* parent = nullptr);

    void SetReportCode(const QString& code);

    virtual void sbtPrintClick();
    virtual void sbtPreviewClick();
    virtual void sbtSalvarComoClick();
    virtual void sbtReportEditClick();

    QGroupBox* grbDadosRel;
    QWidget* panRelat;
    QComboBox* cbbReportNames;
    QWidget* panMenu;
    QLabel* lblCodRel;
    TButtonFlat* sbtPrint;
    TButtonFlat* sbtPreview;
    TButtonFlat* sbtSalvarComo;
    TButtonFlat* sbtReportEdit;

  private:
    void ReportActionNotAvailable();
};

}  // namespace fai
