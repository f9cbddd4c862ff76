#pragma once

#include "TBaseForm.h"

class QGroupBox;
class QProgressBar;

namespace fai {

// The base batch-operation screen: the data group grbDadosRel (the screen fills it), the
// progress panel panProgresso with pgbProgresso, and the tool panel panMenu / panBotoes with
// the run button sbtImportExport and the screen code. What the run does is the screen's.
class TfrmPadrImportExport : public TBaseForm {
    Q_OBJECT
  public:
    explicit TfrmPadrImportExport(QWidget* parent = nullptr);

    virtual void sbtImportExportClick() = 0;

    QGroupBox* grbDadosRel;
    QWidget* panProgresso;
    QProgressBar* pgbProgresso;
    QWidget* panMenu;
    QWidget* panBotoes;
    TButtonFlat* sbtImportExport;
};

}  // namespace fai
