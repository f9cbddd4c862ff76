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
    using F = HeadcountFields;
    for (const FieldDef& field : F::Fields()) {
        headcounts.AddField(field);
        if (field.name == F::CDCLIENTE)
            headcounts.AddField({QString(F::DIASEMANA), FieldType::String, 15, true},
                                FieldKind::Calculated);
    }
    Hidden(headcounts.FieldByName(F::CDFILIAL)).SetEditMask(kBranchMask);
    Labelled(headcounts.FieldByName(F::CDSERVFILI), QStringLiteral("Código"))
        .SetEditMask(QStringLiteral("ccccc;0; "));
    Labelled(headcounts.FieldByName(F::NMSERVICO), QStringLiteral("Serviço"));
    Hidden(Labelled(headcounts.FieldByName(F::DTFATURAM), QStringLiteral("Data Faturamento")));
    Hidden(headcounts.FieldByName(F::CDCLIENTE));
    Hidden(headcounts.FieldByName(F::DIASEMANA));
    Field& billed =
        Labelled(headcounts.FieldByName(F::QTCOMEFATU), QStringLiteral("Nº Comensais Faturados"));
    billed.SetDisplayFormat(kCountFormat);
    billed.SetEditFormat(QStringLiteral("#0.000"));
    Hidden(headcounts.FieldByName(F::CDFILIFATU));
    Hidden(headcounts.FieldByName(F::NRAPURACFAT));
    // Edited without the thousands separator, as the billed count is: the length limit of
    // the by-service grid reads a dot as a decimal separator.
    Field& forecast =
        Labelled(headcounts.FieldByName(F::QTCOMEPREV), QStringLiteral("N° Comensais Previstos"));
    forecast.SetDisplayFormat(kCountFormat);
    forecast.SetEditFormat(QStringLiteral("#0.000"));
    Field& value =
        Hidden(Labelled(headcounts.FieldByName(F::VRSERVFATUDT), QStringLiteral("Valor Venda")));
    value.SetDisplayFormat(kValueFormat);
    value.SetEditFormat(kValueFormat);
    Labelled(headcounts.FieldByName(F::DSEMISSERCLI), QStringLiteral("Descrição para Emissão"));
}

void DefineClientFields(ClientDataSet& clients) {
    using F = ClientFields;
    clients.AddFields(F::Fields());
    Hidden(clients.FieldByName(F::CDCLIENTE));
    Hidden(clients.FieldByName(F::IDTPIJURCLIE));
    Labelled(clients.FieldByName(F::NRINSJURCLIE), QStringLiteral("Inscrição"));
    Labelled(clients.FieldByName(F::NMRAZSOCCLIE), QStringLiteral("Razão Social"));
    Labelled(clients.FieldByName(F::NMFANTCLIE), QStringLiteral("Nome Fantasia"));
}

void DefineServiceFields(ClientDataSet& services) {
    using F = ServiceFields;
    services.AddFields(F::Fields());
    Labelled(services.FieldByName(F::CDSERVFILI), QStringLiteral("Código"));
    Labelled(services.FieldByName(F::NMSERVICO), QStringLiteral("Descrição"));
    Hidden(services.FieldByName(F::IDCONSCOMFAT));
    Hidden(services.FieldByName(F::IDVLRVARDATA));
}

void DefineCheckFields(ClientDataSet& validaData, ClientDataSet& verifServ,
                       ClientDataSet& verifData, ClientDataSet& fatuPla, ClientDataSet& verifSoma,
                       ClientDataSet& vdServClie, ClientDataSet& somaTurno) {
    validaData.AddFields(BillingDateFields::Fields());
    Hidden(verifServ.AddField({QString(ServiceFields::CDSERVFILI), FieldType::String, 5}));
    verifData.AddFields(BillingDateFields::Fields());
    verifData.FieldByName(BillingDateFields::DTFATURAM).SetReadOnly(true);
    fatuPla.AddFields(PlannedCountFields::Fields());
    verifSoma.AddFields(ShiftSumFields::Fields());
    vdServClie.AddFields(ServiceOfClientFields::Fields());
    somaTurno.AddFields(ShiftSumFields::Fields());
}

void DefineParamsFields(ClientDataSet& params) {
    params.AddFields(BranchParamFields::Fields());
    params.FieldByName(BranchParamFields::CDFILIAL).SetEditMask(kBranchMask);
}

void DefineAssessedPeriodFields(ClientDataSet& periods) {
    periods.AddFields(AssessedPeriodFields::Fields());
    periods.FieldByName(AssessedPeriodFields::CDFILIAL).SetEditMask(kBranchMask);
}

void DefineShiftFields(ClientDataSet& shifts) {
    shifts.AddFields(ShiftFields::Fields());
    shifts.FieldByName(ShiftFields::CDFILIAL).SetEditMask(kBranchMask);
    Field& quantity =
        Labelled(shifts.FieldByName(ShiftFields::QTCOMFATUTUR), QStringLiteral("Quantidade"));
    quantity.SetDisplayFormat(kValueFormat);
    quantity.SetEditFormat(kValueFormat);
}

void DefineApportionmentFields(ClientDataSet& items) {
    using F = ApportionmentFields;
    items.AddFields(F::Fields());
    for (packets::FieldName hidden : {F::NRITRATEFECLIFAT, F::CDFILIAL, F::CDSERVFILI, F::CDCLIENTE,
                                      F::DTFATURAM, F::CDSERVPLAN, F::NRITEMRATEIOEFET})
        Hidden(items.FieldByName(hidden));
    Labelled(items.FieldByName(F::CDITEMRATEIOEFET), QStringLiteral("Código"));
    Labelled(items.FieldByName(F::NMITEMRATEIOEFET), QStringLiteral("Nome"));
    Hidden(Labelled(items.FieldByName(F::QTEFETIVOS), QStringLiteral("Efetivos")));
    items.SetIndexFieldNames(QString(F::CDITEMRATEIOEFET));
}

void DefineBranchFields(ClientDataSet& branches) {
    Labelled(branches.AddField({QString(BranchFields::CDFILIAL), FieldType::String, 4}),
             QStringLiteral("Código"))
        .SetRequired(true);
    Labelled(branches.AddField({QString(BranchFields::NMFILIAL), FieldType::String, 30}),
             QStringLiteral("Nome"));
}

ClosedDayRule ClosedDayRuleOf(const ClientDataSet& params) {
    if (params.IsEmpty()) return {};
    return ClosedDayRule(params.FieldByName(BranchParamFields::IDUTILDTPROC).AsString(),
                         params.FieldByName(BranchParamFields::IDBLQEFEDIAFECH).AsString(),
                         params.FieldByName(BranchParamFields::DTPROCESSA).AsDateTime(),
                         params.FieldByName(BranchParamFields::NRDIAANTDTPROC).AsFloat());
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

packets::FieldName RowKeyField(bool byService) {
    return byService ? HeadcountFields::DTFATURAM : HeadcountFields::CDSERVFILI;
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
