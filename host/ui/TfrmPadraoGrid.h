#pragma once

#include "TfrmPadraoSimples.h"

namespace fai {

class TDBNavigator;
class TDBText;

// The base maintenance screen over one grid: the navigator dbnPadrao and the name label
// dbtNome above the grid dbgPadrao, all on dtsPadrao. The screen names dbtNome's field.
class TfrmPadraoGrid : public TfrmPadraoSimples {
    Q_OBJECT
  public:
    explicit TfrmPadraoGrid(QWidget* parent = nullptr);

    TDBGrid* dbgPadrao;
    TDBNavigator* dbnPadrao;
    TDBText* dbtNome;
};

}  // namespace fai
