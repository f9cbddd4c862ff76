#include "ReadOnlyCalls.h"

#include <algorithm>
#include <array>

namespace fai {
namespace {

// The methods whose server side runs in a read transaction. Any method missing here is taken
// as one that writes.
constexpr std::array<std::string_view, 15> kReads = {
    "GetParams",     "GetCliente",   "GetServico",    "GetEfetFatu",     "GetValidaData",
    "GetVerifData",  "GetVlrFatPla", "GetVerifSoma",  "GetTurno",        "GetSomaTurno",
    "GetVdServClie", "GetItRatEfet", "GetAccessMode", "GetHistEfetFatu", "ConsultaHost",
};

}  // namespace

bool ChangesNothing(std::string_view method) {
    return std::find(kReads.begin(), kReads.end(), method) != kReads.end();
}

}  // namespace fai
