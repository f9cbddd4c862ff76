#pragma once

#include "TfrmPadraoGrid.h"

#include <QPointer>

namespace fai {

// The apportionment dialog: the diners of the current headcount row spread over the
// client's apportionment items. It owns no data: it edits the headcount screen's
// apportionment rows in place.
class TfrmItRatEfet : public TfrmPadraoGrid {
    Q_OBJECT
  public:
    explicit TfrmItRatEfet(QWidget* parent = nullptr);
};

extern QPointer<TfrmItRatEfet> frmItRatEfet;

// Shows the dialog modally and answers the total of the apportioned diners.
double CriaItRatEfet();

}  // namespace fai
