#pragma once

#include "TfrmPadraoGrid.h"

#include <QPointer>

namespace fai {

// The apportionment dialog: the diners of the current headcount row spread over the
// client's apportionment items. It owns no data: it edits the headcount screen's
// apportionment rows in place. The items are the server's; only their diners are typed.
class TfrmItRatEfet : public TfrmPadraoGrid {
    Q_OBJECT
  public:
    explicit TfrmItRatEfet(QWidget* parent = nullptr);

    void FormShow() override;
    // Escape closes the dialog once nothing is being typed; before that the grid's own Escape
    // closes the cell, then cancels the item's edit.
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    // Posts what is being typed, so that the total is taken over posted diners; a refused
    // post keeps the dialog open on its row.
    void FormClose(TCloseAction& action) override;
    void dtsPadraoStateChange() override;
    void Habilita();
};

extern QPointer<TfrmItRatEfet> frmItRatEfet;

// Shows the dialog modally and answers the total of the apportioned diners.
double CriaItRatEfet();

}  // namespace fai
