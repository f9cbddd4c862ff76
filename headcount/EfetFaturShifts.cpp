// The "Turno" tab: the billed diners of the current row broken down by meal shift, each
// change saved at once.
#include "Cli_fai00400.h"

namespace fai {

void TfrmEfetFatur::ConnectShiftHandlers() {}

void TfrmEfetFatur::pgcPadraoChange() {
    Verifica_Nbk();
    ControlaBotoes();
}

}  // namespace fai
