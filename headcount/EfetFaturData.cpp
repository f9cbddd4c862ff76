#include "EfetFaturData.h"

#include "AssessedPeriod.h"
#include "Planning.h"
#include "ServiceOfClient.h"
#include "ShiftSum.h"

namespace fai {
namespace {

const QString kBranchMask = QStringLiteral(">aaaa;0; ");
const QString kCountFormat = QStringLiteral("#,##0.000");
const QString kValueFormat = QStringLiteral("#,##0.00000");

Field& Text(ClientDataSet& dataSet, const char* name, int size) {
    return dataSet.AddField({QString::fromLatin1(name), FieldType::String, size});
}

Field& Flag(ClientDataSet& dataSet, const char* name) {
    return dataSet.AddField({QString::fromLatin1(name), FieldType::String, 1, true});
}

Field& Number(ClientDataSet& dataSet, const char* name) {
    return dataSet.AddField({QString::fromLatin1(name), FieldType::Float});
}

Field& Day(ClientDataSet& dataSet, const char* name) {
    return dataSet.AddField({QString::fromLatin1(name), FieldType::DateTime});
}

// A message table entry whose text is a billing rule's.
QString Entry(const char* key, const QString& text) {
    return QLatin1String(key) + QLatin1Char('|') + text;
}

Field& Labelled(Field& field, const QString& label) {
    field.SetDisplayLabel(label);
    return field;
}

Field& Hidden(Field& field) {
    field.SetVisible(false);
    return field;
}

}  // namespace

void DefineHeadcountFields(ClientDataSet& headcounts) {
    Hidden(Text(headcounts, "CDFILIAL", 4)).SetEditMask(kBranchMask);
    Labelled(Text(headcounts, "CDSERVFILI", 5), QStringLiteral("Código"))
        .SetEditMask(QStringLiteral("ccccc;0; "));
    Labelled(Text(headcounts, "NMSERVICO", 40), QStringLiteral("Serviço"));
    Hidden(Labelled(Day(headcounts, "DTFATURAM"), QStringLiteral("Data Faturamento")));
    Hidden(Text(headcounts, "CDCLIENTE", 21));
    Hidden(headcounts.AddField({QStringLiteral("DIASEMANA"), FieldType::String, 15, true},
                               FieldKind::Calculated));
    Field& billed =
        Labelled(Number(headcounts, "QTCOMEFATU"), QStringLiteral("Nº Comensais Faturados"));
    billed.SetDisplayFormat(kCountFormat);
    billed.SetEditFormat(QStringLiteral("#0.000"));
    Hidden(Text(headcounts, "CDFILIFATU", 4));
    Hidden(Text(headcounts, "NRAPURACFAT", 10));
    // Edited without the thousands separator, as the billed count is: the length limit of
    // the by-service grid reads a dot as a decimal separator.
    Field& forecast =
        Labelled(Number(headcounts, "QTCOMEPREV"), QStringLiteral("N° Comensais Previstos"));
    forecast.SetDisplayFormat(kCountFormat);
    forecast.SetEditFormat(QStringLiteral("#0.000"));
    Field& value =
        Hidden(Labelled(Number(headcounts, "VRSERVFATUDT"), QStringLiteral("Valor Venda")));
    value.SetDisplayFormat(kValueFormat);
    value.SetEditFormat(kValueFormat);
    Labelled(Text(headcounts, "DSEMISSERCLI", 400), QStringLiteral("Descrição para Emissão"));
}

void DefineClientFields(ClientDataSet& clients) {
    Hidden(Text(clients, "CDCLIENTE", 21));
    Hidden(Text(clients, "IDTPIJURCLIE", 1));
    Labelled(Text(clients, "NRINSJURCLIE", 20), QStringLiteral("Inscrição"));
    Labelled(Text(clients, "NMRAZSOCCLIE", 50), QStringLiteral("Razão Social"));
    Labelled(Text(clients, "NMFANTCLIE", 50), QStringLiteral("Nome Fantasia"));
}

void DefineServiceFields(ClientDataSet& services) {
    Labelled(Text(services, "CDSERVFILI", 5), QStringLiteral("Código"));
    Labelled(Text(services, "NMSERVICO", 40), QStringLiteral("Descrição"));
    Hidden(Flag(services, "IDCONSCOMFAT"));
    Hidden(Flag(services, "IDVLRVARDATA"));
}

void DefineCheckFields(ClientDataSet& validaData, ClientDataSet& verifServ,
                       ClientDataSet& verifData, ClientDataSet& fatuPla, ClientDataSet& verifSoma,
                       ClientDataSet& vdServClie, ClientDataSet& somaTurno) {
    Day(validaData, "DTFATURAM");
    Hidden(Text(verifServ, "CDSERVFILI", 5));
    Day(verifData, "DTFATURAM").SetReadOnly(true);
    Number(fatuPla, "QTCOMEFETCLI");
    Number(verifSoma, "SOMA");
    Text(vdServClie, "CDSERVFILI", 20);
    Number(somaTurno, "SOMA");
}

void DefineParamsFields(ClientDataSet& params) {
    Text(params, "CDFILIAL", 4).SetEditMask(kBranchMask);
    Day(params, "DTPROCESSA");
    Text(params, "IDBLQEFEDIAFECH", 1);
    Number(params, "NRDIAANTDTPROC");
    Text(params, "IDUTILDTPROC", 1);
}

void DefineAssessedPeriodFields(ClientDataSet& periods) {
    Text(periods, "CDFILIAL", 4).SetEditMask(kBranchMask);
    Text(periods, "CDCLIENTE", 21);
    Text(periods, "NRAPURACFAT", 10);
    Day(periods, "DTINIAPURAC");
    Day(periods, "DTFIMAPURAC");
}

void DefineShiftFields(ClientDataSet& shifts) {
    Text(shifts, "CDTURNO", 1);
    Text(shifts, "NMTURNO", 10);
    Text(shifts, "CDFILIAL", 4).SetEditMask(kBranchMask);
    Text(shifts, "CDSERVFILI", 5);
    Text(shifts, "CDCLIENTE", 21);
    Day(shifts, "DTFATURAMTUR");
    Field& quantity = Labelled(Number(shifts, "QTCOMFATUTUR"), QStringLiteral("Quantidade"));
    quantity.SetDisplayFormat(kValueFormat);
    quantity.SetEditFormat(kValueFormat);
}

void DefineApportionmentFields(ClientDataSet& items) {
    Hidden(Number(items, "NRITRATEFECLIFAT"));
    Hidden(Text(items, "CDFILIAL", 4));
    Hidden(Text(items, "CDSERVFILI", 5));
    Hidden(Text(items, "CDCLIENTE", 21));
    Hidden(Day(items, "DTFATURAM"));
    Hidden(Text(items, "CDSERVPLAN", 5));
    Hidden(Number(items, "NRITEMRATEIOEFET"));
    Labelled(Text(items, "CDITEMRATEIOEFET", 5), QStringLiteral("Código"));
    Labelled(Text(items, "NMITEMRATEIOEFET", 50), QStringLiteral("Nome"));
    Hidden(Labelled(Number(items, "QTEFETIVOS"), QStringLiteral("Efetivos")));
    items.SetIndexFieldNames(QStringLiteral("CDITEMRATEIOEFET"));
}

void DefineBranchFields(ClientDataSet& branches) {
    Labelled(Text(branches, "CDFILIAL", 4), QStringLiteral("Código")).SetRequired(true);
    Labelled(Text(branches, "NMFILIAL", 30), QStringLiteral("Nome"));
}

ClosedDayRule ClosedDayRuleOf(const ClientDataSet& params) {
    if (params.IsEmpty()) return {};
    return ClosedDayRule(params.FieldByName("IDUTILDTPROC").AsString(),
                         params.FieldByName("IDBLQEFEDIAFECH").AsString(),
                         params.FieldByName("DTPROCESSA").AsDateTime(),
                         params.FieldByName("NRDIAANTDTPROC").AsFloat());
}

QStringList HeadcountMessages() {
    return {
        QStringLiteral("Excl|Confirma exclusão?"),
        QStringLiteral("Filial_Emp|Filial deve ser informada."),
        QStringLiteral("Filial_Cad|Filial não cadastrada."),
        QStringLiteral("Serv_cad|Serviço não cadastrado."),
        QStringLiteral("Serv_Emp|Serviço deve ser informado."),
        QStringLiteral("Serv_ja_cad|Efetivos para faturamento já cadastrado."),
        QStringLiteral("Data_ja_cad|Data faturamento já cadastrada."),
        QStringLiteral("Data_Emp|Data faturamento deve ser informada."),
        QStringLiteral("Cliente_cad|Cliente não cadastrado."),
        QStringLiteral("Cliente_Inv|Cliente deve ser informado."),
        QStringLiteral("NCome_Inv|Nº comensais deve ser maior ou igual a zero."),
        QStringLiteral("Servico|Serviço"),
        QStringLiteral("NCome_Inf|Nº comensais faturados deve ser informado."),
        QStringLiteral("DtFat_inf|Data faturamento deve ser informada."),
        QStringLiteral("N_Ha_Serv|Não há serviço cadastrado."),
        QStringLiteral("Cod_Emp|Código deve ser informado."),
        QStringLiteral("get_cdsEfetFatu|Carregando efetivos para faturamento..."),
        QStringLiteral("upd_cdsEfetFatu|Atualizando efetivos para faturamento..."),
        QStringLiteral("get_cdsValidaData|Verificando efetivos para faturamento (Data)..."),
        QStringLiteral("get_cdsVerifServ|Verificando efetivos para faturamentos (Serviços)..."),
        QStringLiteral("get_cdsVerifData|Verificando efetivos para faturamento (Data)..."),
        QStringLiteral("GetCliente|Recebendo clientes do servidor..."),
        Entry("Efet_Apur", AssessedPeriod::DayMessage()),
        QStringLiteral("NComePrev_Inv|N° comensais previstos deve ser maior ou igual a zero."),
        QStringLiteral("Get_Turno|Carregando valores do serviço por cliente e turno."),
        Entry("EfetDifere_Inf", PlanningDiffersMessage()),
        QStringLiteral("Comen_Inf|Comensais Faturados deve ser informado."),
        Entry("VerifSoma_Inf", RowsDisagreeWithShiftsMessage()),
        QStringLiteral("QtTurno_Inf|Quantidade por turno deve ser informada."),
        Entry("Serv_n", ServiceNotOfClientMessage()),
        QStringLiteral("Get_SomaTurno|Buscando dados do turno no servidor..."),
        Entry("SomaTurno_inf", ShiftSumDiffersMessage()),
        QStringLiteral("NComeFatu_Inv|N° comensais faturados deve ser maior ou igual a zero."),
        QStringLiteral("ValoVend_Inv|Valor Venda deve ser maior ou igual a zero."),
        QStringLiteral("Quant_Inv|Quantidade deve ser maior ou igual a zero."),
        Entry("DATA_BLOQ", ClosedDayRule::Message()),
        QStringLiteral("EXISTE_RATEIO_EFET|Existe rateio de efetivos para o cliente. Deseja "
                       "utilizar o valor do rateio?"),
        QStringLiteral("QTEFET<0|Quantidade de efetivos deve ser maior que zero."),
    };
}

QString NullFieldList(const ClientDataSet& dataSet) {
    QString list;
    for (const Field* field : dataSet.Fields()) {
        if (field->IsNull() || field->AsString().isEmpty())
            list += field->FieldName() + QLatin1Char('|');
    }
    return list;
}

}  // namespace fai
