#include "ListingPdf.h"

#include "Consiste.h"
#include "ListingLookups.h"
#include "ListingRun.h"
#include "ReportCatalog.h"
#include "ReportDocument.h"
#include "ReportFile.h"
#include "ReportOutput.h"
#include "SelectionKeys.h"
#include "TADOIBQuery.h"
#include "TMessages.h"
#include "TNetConnection.h"
#include "UserBranches.h"
#include "Value.h"
#include "WorkingContext.h"

namespace fai {
namespace {

const QString kCode = QStringLiteral("Fai004");

class Listing {
  public:
    explicit Listing(const ReportRequest& request)
        : request_(request), messages_(RelListComenMessages()) {
        DefineQryFilial(branches_);
        DefineQryCliente(clients_);
        DefineQryServico(services_);
    }

    void Run() {
        ListingChoice choice;
        choice.branch = Branch();
        CheckPeriod();
        choice.first = request_.first;
        choice.last = request_.last;
        choice.allClients = request_.clients.isEmpty();
        if (!choice.allClients) choice.clients = JoinKeys(Clients(choice.branch));
        choice.allServices = request_.services.isEmpty();
        if (!choice.allServices) choice.services = JoinKeys(Services(choice.branch));
        const ReportDefinition definition = ReadReportFile(ChosenDefinition());
        Write(definition, choice);
    }

  private:
    [[noreturn]] void Fail(const QString& key) const { throw EError(messages_.Msg(key)); }

    QString Branch() {
        QString branch = request_.branch;
        if (EmptyString(branch)) branch = FiliProcFat();
        if (EmptyString(branch)) branch = FiliProc();
        if (EmptyString(branch)) Fail(QStringLiteral("Filial_inf"));
        branch = Ajusta(branch.trimmed().toUpper(), 4);
        CheckUserBranch(branch);
        Open(branches_, branch, QStringLiteral("P_TCDFILIAL"));
        if (branches_.IsEmpty()) Fail(QStringLiteral("Filial_nc"));
        return branch;
    }

    void CheckPeriod() const {
        const auto blank = [](const QDate& date) { return !date.isValid() || date == ZeroDate(); };
        if (blank(request_.first)) Fail(QStringLiteral("dtinicial_inf"));
        if (blank(request_.last)) Fail(QStringLiteral("dtfinal_inf"));
        if (request_.last < request_.first) Fail(QStringLiteral("DTINI_DEV"));
    }

    static void Open(TADOIBQuery& query, const QString& branch, const QString& allParam = {}) {
        query.Close();
        query.ParamByName(QStringLiteral("P_CDFILIAL")).SetAsString(branch);
        if (!allParam.isEmpty()) query.ParamByName(allParam).SetAsString(QString());
        query.Open();
    }

    // Each client given by its code or by its registration number, punctuated or not.
    QStringList Clients(const QString& branch) {
        Open(clients_, branch);
        ClientDataSet& rows = clients_.DataSet();
        QStringList codes;
        for (const QString& given : request_.clients) {
            QString number = given;
            Ajusta_Inscricao(number);
            bool found = false;
            for (rows.First(); !rows.Eof() && !found; rows.Next()) {
                const QString code = rows.FieldByName("CDCLIENTE").AsString();
                found = code == number || rows.FieldByName("NRINSJURCLIE").AsString() == number;
                if (found && !codes.contains(code)) codes << code;
            }
            if (!found)
                throw EError(QStringLiteral("Cliente %1 não está vinculado à filial %2.")
                                 .arg(given.trimmed(), branch));
        }
        return codes;
    }

    QStringList Services(const QString& branch) {
        Open(services_, branch);
        ClientDataSet& rows = services_.DataSet();
        QStringList codes;
        for (const QString& given : request_.services) {
            const QString code = Ajusta(given.trimmed(), 5);
            bool found = false;
            for (rows.First(); !rows.Eof() && !found; rows.Next())
                found = rows.FieldByName("CDSERVFILI").AsString() == code;
            if (!found)
                throw EError(QStringLiteral("Serviço %1 não cadastrado na filial %2.")
                                 .arg(given.trimmed(), branch));
            if (!codes.contains(code)) codes << code;
        }
        return codes;
    }

    QString ChosenDefinition() const {
        const ReportFolders folders = CurrentReportFolders();
        const ReportCatalog catalog = ReportCatalog::Scan(folders, kCode);
        if (catalog.Entries().empty())
            throw EError(
                Format(messages_.Msg(QStringLiteral("Arq_Rel_Err")), {kCode, folders.installed}));
        if (request_.title.trimmed().isEmpty()) return catalog.Entries().front().path;
        QStringList titles;
        for (const ReportEntry& entry : catalog.Entries()) {
            if (entry.title.compare(request_.title.trimmed(), Qt::CaseInsensitive) == 0)
                return entry.path;
            titles << QStringLiteral("\"%1\"").arg(entry.title);
        }
        throw EError(QStringLiteral("Não há relatório \"%1\" de código %2; há %3.")
                         .arg(request_.title.trimmed(), kCode, titles.join(QStringLiteral(", "))));
    }

    // The working data goes whatever happens once it was asked for; a deletion that fails
    // after the PDF was written is said, since the data then waits for the server's purge.
    void Write(const ReportDefinition& definition, const ListingChoice& choice) {
        TNetConnection connection;
        connection.SetServerName(QStringLiteral("Fai00400.rdmEfetFatur"));
        connection.BeforeConnect = [](TNetConnection& c) {
            c.SetHost(WebURL());
            c.SetPort(WebPort());
        };
        connection.Connect();
        QStringList branches;
        QStringList numbers;
        ListingRegistry registry(branches, numbers);
        try {
            registry.Generate(connection, choice.branch, choice.first, choice.last);
            NoProgress progress;
            const auto document = RunReport(
                definition,
                [&](ReportParams& params) {
                    SetListingParams(params, choice, registry.NumberOf(choice.branch));
                },
                progress);
            ExportPdf(*document, request_.pdf, progress);
        } catch (...) {
            try {
                registry.DeleteAll(connection);
            } catch (const std::exception&) {
                // The failure that stopped the run is the one to tell.
            }
            throw;
        }
        try {
            registry.DeleteAll(connection);
        } catch (const EError& e) {
            throw EError(QStringLiteral("O relatório foi gravado em %1, mas os dados de trabalho "
                                        "não foram excluídos no servidor (%2); o servidor os "
                                        "descarta depois de um tempo sem uso.")
                             .arg(request_.pdf, e.Message()));
        }
    }

    const ReportRequest& request_;
    TMessages messages_;
    TADOIBQuery branches_{QStringLiteral("qryFilial")};
    TADOIBQuery clients_{QStringLiteral("qryCliente")};
    TADOIBQuery services_{QStringLiteral("qryServico")};
};

}  // namespace

void RelListComenPdf(const ReportRequest& request) { Listing(request).Run(); }

}  // namespace fai
