#include "ListingLookups.h"

#include "TADOIBQuery.h"
#include "UserBranches.h"

namespace fai {
namespace {

Field& Text(TADOIBQuery& query, const char* name, int size, const QString& label = {}) {
    Field& field = query.DataSet().AddField({QString::fromLatin1(name), FieldType::String, size});
    if (!label.isEmpty()) field.SetDisplayLabel(label);
    return field;
}

}  // namespace

void DefineQryFilial(TADOIBQuery& query) {
    query.SetSQL({QStringLiteral("SELECT"), QStringLiteral("   CDFILIAL,"),
                  QStringLiteral("   NMFILIAL"), QStringLiteral("FROM"),
                  QStringLiteral("   FILIAL"), QStringLiteral("WHERE"),
                  QStringLiteral("   (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T')"),
                  QStringLiteral("ORDER BY"), QStringLiteral("   CDFILIAL")});
    Text(query, "CDFILIAL", 4, QStringLiteral("Código")).SetRequired(true);
    Text(query, "NMFILIAL", 30, QStringLiteral("Nome"));
    RestrictToUserBranches(query);
}

void DefineQryServico(TADOIBQuery& query) {
    query.SetSQL({QStringLiteral("SELECT"), QStringLiteral("   CDSERVFILI, NMSERVICO"),
                  QStringLiteral("FROM"), QStringLiteral("   SERVICO"), QStringLiteral("WHERE"),
                  QStringLiteral("   CDFILIAL = :P_CDFILIAL"), QStringLiteral("ORDER BY"),
                  QStringLiteral("   CDSERVFILI")});
    Text(query, "CDSERVFILI", 5, QStringLiteral("Código")).SetRequired(true);
    Text(query, "NMSERVICO", 40, QStringLiteral("Nome"));
}

void DefineQryCliente(TADOIBQuery& query) {
    query.SetSQL({QStringLiteral("SELECT"), QStringLiteral("   B.CDCLIENTE,"),
                  QStringLiteral("   B.IDTPIJURCLIE,   "), QStringLiteral("   B.NRINSJURCLIE,"),
                  QStringLiteral("   B.NMRAZSOCCLIE,"), QStringLiteral("   B.NMFANTCLIE"),
                  QStringLiteral("FROM"), QStringLiteral("   CLIENFILIAL A, CLIENTE B"),
                  QStringLiteral("WHERE"), QStringLiteral("   (A.CDFILIAL = :P_CDFILIAL)  AND"),
                  QStringLiteral("   (A.CDCLIENTE = B.CDCLIENTE)    "), QStringLiteral("ORDER BY"),
                  QStringLiteral("   B.NMRAZSOCCLIE")});
    Field& code = Text(query, "CDCLIENTE", 21);
    code.SetRequired(true);
    code.SetVisible(false);
    Text(query, "NRINSJURCLIE", 20, QStringLiteral("Inscrição"));
    Text(query, "NMRAZSOCCLIE", 50, QStringLiteral("Razão Social"));
    Text(query, "NMFANTCLIE", 50, QStringLiteral("Nome Fantasia"));
    Text(query, "IDTPIJURCLIE", 1).SetVisible(false);
}

QStringList RelListComenMessages() {
    return {
        QStringLiteral("Arq_Rel_Err|O arquivo contendo a definição do relatório de código '%s' "
                       "não foi encontrado no diretório '%s'."),
        QStringLiteral("NovoCaption|Título do relatório"),
        QStringLiteral("NovoPrompt|Informe o título do relatório:"),
        QStringLiteral("Filial_inf|Filial deve ser informada."),
        QStringLiteral("Filial_nc|Filial não cadastrada."),
        QStringLiteral("Cliente_nh|Não há cliente cadastrado."),
        QStringLiteral("cliente|Cliente"),
        QStringLiteral("Cliente_inf|Cliente deve ser informado."),
        QStringLiteral("Servico_inf|Serviço deve ser informado."),
        QStringLiteral("Servico_nh|Não há serviço cadastrado."),
        QStringLiteral("servico|Serviço"),
        QStringLiteral("dtinicial_inf|Data do período inicial deve ser informada. "),
        QStringLiteral("dtfinal_inf|Data do período final deve ser informada."),
        QStringLiteral("DTINI_DEV|Data Inicial deve ser menor ou igual a Data Final."),
        // Closing gives up a deletion the server refuses a second time, rather than keep the
        // modal screen, and the host behind it, open for ever.
        QStringLiteral("DeletaRel_Desiste|O servidor recusou outra vez a exclusão dos dados do "
                       "relatório %s da filial %s: %s\nA tela será fechada assim mesmo; o "
                       "servidor descarta esses dados quando passar o seu tempo de retenção "
                       "sem uso."),
    };
}

}  // namespace fai
