#pragma once

#include "DataPacket.h"
#include "PackageProtocol.h"

// The operations the module exports to its host, with C linkage so that the host finds them
// by name.
extern "C" {
void IniProc();
void CriaEfetFatur();
void cria_RelListComen();
void CriaDupCom(const fai::DataPacket& assessedPeriods);
double CriaItRatEfet();
// Writes a report of the module to a PDF without any screen; throws EError saying why not.
void GeraRelatorioPdf(const fai::ReportRequest& request);
const fai::PackageInfoTable* GetPackageInfoTable();
void Initialize();
void Finalize();
}
