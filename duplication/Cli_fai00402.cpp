#include "Cli_fai00402.h"

#include "DialogService.h"
#include "HostApplication.h"
#include "TButtonFlat.h"

namespace fai {

QPointer<TfrmDupCom> frmDupCom;
QString stDataFatur;

TfrmDupCom::TfrmDupCom(QWidget* parent) : TfrmPadrImportExport(parent) {
    setObjectName(QStringLiteral("frmDupCom"));
    setWindowTitle(QStringLiteral("Duplicação de Comensais"));
    SetScreenCode(QStringLiteral("FAI00402"));
    SetHelpFile(QStringLiteral("RodIVIV.hlp"));
    SetHelpContext(13002900);
    resize(424, 154);
    sbtImportExport->setToolTip(QStringLiteral("Duplicação de Comensais"));
    cdsVdCliFat.AddField({QStringLiteral("CDFILIAL"), FieldType::String, 4})
        .SetEditMask(QStringLiteral(">aaaa;0; "));
    cdsVdCliFat.AddField({QStringLiteral("CDCLIENTE"), FieldType::String, 21});
    cdsVdCliFat.AddField({QStringLiteral("NRAPURACFAT"), FieldType::String, 10});
    cdsVdCliFat.AddField({QStringLiteral("DTINIAPURAC"), FieldType::DateTime});
    cdsVdCliFat.AddField({QStringLiteral("DTFIMAPURAC"), FieldType::DateTime});
}

void TfrmDupCom::FormCreate() {
    TfrmPadrImportExport::FormCreate();
    stDataFatur.clear();
}

void TfrmDupCom::sbtImportExportClick() {
    DialogService::Instance().Message(
        DialogKind::Information,
        QStringLiteral("A duplicação de comensais ainda não está disponível nesta versão."), mbOk);
}

void CriaDupCom(const DataPacket& assessedPeriods) {
    // The screen loads its own copy; the caller's packet stays untouched.
    const DataPacket periods = assessedPeriods;
    frmDupCom = CreateForm<TfrmDupCom>(HostApplication::Instance().MainForm());
    frmDupCom->ShowChild();
    frmDupCom->cdsVdCliFat.SetData(periods);
}

void Cli_fai00402_ShutDown() { stDataFatur.clear(); }

}  // namespace fai
