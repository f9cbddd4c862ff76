#pragma once

#include "PackageProtocol.h"

namespace fai {

// The diners listing written to a PDF without a screen, for month-end runs from a scheduler:
// what the screen checks is checked with the screen's messages, the working data is generated
// and the parameters set as the screen does, the definition is chosen by its title, and the
// working data is deleted on the server afterwards, also when the run fails. Clients are given
// by code or registration number, services by code. Throws EError saying what went wrong.
void RelListComenPdf(const ReportRequest& request);

}  // namespace fai
