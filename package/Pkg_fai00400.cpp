#include "Pkg_fai00400.h"

#include "Cli_fai00400.h"
#include "Cli_fai00401.h"
#include "Cli_fai00402.h"
#include "Cli_fai00403.h"
#include "Errors.h"
#include "ListingPdf.h"

#include <array>

namespace {

// A unit of the package: its start-up and shut-down (either may be absent) and a counter,
// so that a unit initialized twice starts once and shuts down on its last finalization.
struct Unit {
    fai::PackageUnitInfo info;
    void (*startUp)();
    void (*shutDown)();
    int initializations = 0;
};

std::array<Unit, 4> units = {{
    {{"Cli_fai00400"}, &fai::Cli_fai00400_StartUp, nullptr},
    {{"Cli_fai00401"}, &fai::Cli_fai00401_StartUp, &fai::Cli_fai00401_ShutDown},
    {{"Cli_fai00402"}, nullptr, &fai::Cli_fai00402_ShutDown},
    {{"Cli_fai00403"}, nullptr, nullptr},
}};

const std::array<fai::PackageUnitInfo, 4> unitInfo = {units[0].info, units[1].info, units[2].info,
                                                      units[3].info};

const fai::PackageInfoTable infoTable = {"Pkg_fai00400", static_cast<int>(unitInfo.size()),
                                         unitInfo.data()};

}  // namespace

namespace fai {

HeadcountScreen* HeadcountScreen::Open() { return frmEfetFatur.data(); }

}  // namespace fai

extern "C" {

void IniProc() { fai::CriaEfetFatur(); }

void CriaEfetFatur() { fai::CriaEfetFatur(); }

void cria_RelListComen() { fai::cria_RelListComen(); }

void CriaDupCom(const fai::DataPacket& assessedPeriods) { fai::CriaDupCom(assessedPeriods); }

double CriaItRatEfet() { return fai::CriaItRatEfet(); }

void GeraRelatorioPdf(const fai::ReportRequest& request) {
    if (request.code.compare(QLatin1String("Fai004"), Qt::CaseInsensitive) != 0)
        throw fai::EError(QStringLiteral("O módulo não tem o relatório %1: sem tela, ele gera o "
                                         "relatório Fai004 (listagem de comensais).")
                              .arg(request.code));
    fai::RelListComenPdf(request);
}

const fai::PackageInfoTable* GetPackageInfoTable() { return &infoTable; }

void Initialize() {
    for (Unit& unit : units) {
        if (unit.initializations++ == 0 && unit.startUp) unit.startUp();
    }
}

void Finalize() {
    for (Unit& unit : units) {
        if (unit.initializations > 0 && --unit.initializations == 0 && unit.shutDown)
            unit.shutDown();
    }
}
}
