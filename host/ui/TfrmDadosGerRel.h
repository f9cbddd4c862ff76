#pragma once

#include "ReportCatalog.h"
#include "TBaseForm.h"
#include "TReportDesignerDialog.h"

#include <memory>

class QComboBox;
class QGroupBox;

namespace fai {

class ReportDocument;

// The base report-parameter screen: the parameter group grbDadosRel (the screen fills it),
// the report panel panRelat with the list of report definitions cbbReportNames, the tool
// panel panMenu with the report-code label lblCodRel, the screen code and the print,
// preview, save-as and edit-layout buttons, and the report designer component rpddPadrao,
// whose before-get-query-parameters handler every run raises.
//
// cbbReportNames lists the definitions of the screen's report code found in the report
// folders (installed first, then the site's and the user's, each by title) and starts on
// the first. Print and preview run the chosen definition; save-as copies it under a new
// title into the user's folder; edit opens the designer on it, and lists again the
// definitions when it was saved, choosing the one saved. Messages Arq_Rel_Err, NovoCaption and
// NovoPrompt come from the screen's table, or the standard texts when it has none of them.
class TfrmDadosGerRel : public TBaseForm {
    Q_OBJECT
  public:
    explicit TfrmDadosGerRel(QWidget* parent = nullptr);
    ~TfrmDadosGerRel() override;

    void SetReportCode(const QString& code);
    QString ReportCode() const;

    void FormCreate() override;

    virtual void sbtPrintClick();
    virtual void sbtPreviewClick();
    virtual void sbtSalvarComoClick();
    virtual void sbtReportEditClick();

    // Lists the code's definitions again and chooses the one at `path` (the first when it is
    // not among them). A definition file that cannot be read is said once, with its reason.
    void LoadReportNames(const QString& path = {});
    // The chosen definition; Arq_Rel_Err (and abort) when the code has none.
    ReportEntry ChosenReport();

    QGroupBox* grbDadosRel;
    QWidget* panRelat;
    QComboBox* cbbReportNames;
    QWidget* panMenu;
    QLabel* lblCodRel;
    TButtonFlat* sbtPrint;
    TButtonFlat* sbtPreview;
    TButtonFlat* sbtSalvarComo;
    TButtonFlat* sbtReportEdit;
    TReportDesignerDialog rpddPadrao;

  private:
    // Runs the chosen definition with the screen's parameters.
    std::unique_ptr<ReportDocument> RunChosenReport();
    QString ReportMessage(const QString& key) const;

    ReportCatalog catalog_;
};

}  // namespace fai
