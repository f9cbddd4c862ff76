#include "HistoryExport.h"

#include "AdminCommand.h"
#include "BrazilianText.h"
#include "CsvWriter.h"
#include "DatabaseLocation.h"
#include "Errors.h"
#include "HistoryFields.h"
#include "HistoryReads.h"
#include "Schema.h"
#include "SqlSession.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace fai::appserver {
namespace {

using F = HistoryFields;

const QString kCommand = QStringLiteral("history");

const QStringList kHeader{QStringLiteral("Data e hora"),
                          QStringLiteral("Usuário"),
                          QStringLiteral("Máquina"),
                          QStringLiteral("Método"),
                          QStringLiteral("Operação"),
                          QStringLiteral("Filial"),
                          QStringLiteral("Cliente"),
                          QStringLiteral("Serviço"),
                          QStringLiteral("Data de faturamento"),
                          QStringLiteral("Turno"),
                          QStringLiteral("Item de rateio"),
                          QStringLiteral("Campo"),
                          QStringLiteral("Valor anterior"),
                          QStringLiteral("Valor novo")};

QString Operation(const QString& flag) {
    if (flag == u"I") return QStringLiteral("inclusão");
    if (flag == u"E") return QStringLiteral("exclusão");
    return QStringLiteral("alteração");
}

// Numbers with the decimal comma, as the spreadsheet reads them; other values as stored.
QString Shown(const QString& stored) {
    bool number = false;
    const double value = stored.toDouble(&number);
    return number ? FormatNumber(value) : stored;
}

QStringList Line(const DataPacket& page, const PacketRow& row) {
    const auto text = [&](packets::FieldName field) {
        const Value& value = row.values.at(page.FieldIndex(field));
        return value.IsText() ? value.Text() : QString();
    };
    const Value& moment = row.values.at(page.FieldIndex(F::DTHRALTERACAO));
    const Value& day = row.values.at(page.FieldIndex(F::DTFATURAM));
    return {QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(moment.Number()))
                .toLocalTime()
                .toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
            text(F::NMUSUARIO),
            text(F::NMMAQUINA),
            text(F::NMMETODO),
            Operation(text(F::IDOPERACAO)),
            text(F::CDFILIAL),
            text(F::CDCLIENTE),
            text(F::CDSERVFILI),
            day.IsDate() ? FormatDate(day.Date()) : QString(),
            text(F::CDTURNO),
            text(F::CDITEMRATEIOEFET),
            text(F::NMCAMPO),
            Shown(text(F::VLANTERIOR)),
            Shown(text(F::VLNOVO))};
}

class Command {
  public:
    Command()
        : database_(admin::DatabaseOption()),
          branch_(QStringLiteral("branch"), QStringLiteral("Filial."), QStringLiteral("filial")),
          from_(QStringLiteral("from"),
                QStringLiteral("Primeira data de faturamento (dd/mm/aaaa)."),
                QStringLiteral("data")),
          to_(QStringLiteral("to"), QStringLiteral("Última data de faturamento (dd/mm/aaaa)."),
              QStringLiteral("data")),
          output_({QStringLiteral("o"), QStringLiteral("output")},
                  QStringLiteral("Arquivo CSV a gravar (padrão: a saída padrão)."),
                  QStringLiteral("arquivo")) {
        parser_.setApplicationDescription(QStringLiteral(
            "Histórico dos efetivos de uma filial em CSV (UTF-8, separado por ponto e vírgula):\n"
            "  history --branch 0001 --from 01/03/2026 --to 31/03/2026 [--output ARQUIVO]"));
        parser_.addHelpOption();
        parser_.addOptions({database_, branch_, from_, to_, output_});
    }

    int Run(const QStringList& arguments) {
        if (!parser_.parse(arguments)) throw EError(parser_.errorText());
        if (parser_.isSet(QStringLiteral("help"))) {
            std::printf("%s", parser_.helpText().toUtf8().constData());
            return 0;
        }
        if (parser_.positionalArguments().size() != 1 || !parser_.isSet(branch_))
            throw EError(
                QStringLiteral("Uso: fai-appserver history --branch FILIAL --from DATA "
                               "--to DATA [--output ARQUIVO] (--help explica)."));
        const QDate first = Day(from_, QStringLiteral("--from"));
        const QDate last = Day(to_, QStringLiteral("--to"));
        SqlSession session(admin::ExistingDatabase(parser_.value(database_)));
        Schema::Upgrade(session);
        if (!parser_.isSet(output_)) {
            QFile out;
            if (!out.open(stdout, QIODevice::WriteOnly))
                throw EError(QStringLiteral("Não foi possível gravar na saída padrão."));
            Write(session, out, first, last);
            return 0;
        }
        // A file half written is never left in the place of the one asked for.
        QSaveFile out(parser_.value(output_));
        if (!out.open(QIODevice::WriteOnly))
            throw EError(QStringLiteral("Não foi possível criar %1: %2")
                             .arg(parser_.value(output_), out.errorString()));
        const int lines = Write(session, out, first, last);
        if (!out.commit())
            throw EError(QStringLiteral("Não foi possível gravar %1: %2")
                             .arg(parser_.value(output_), out.errorString()));
        std::printf("%s\n", QStringLiteral("%1 alterações gravadas em %2")
                                .arg(lines)
                                .arg(parser_.value(output_))
                                .toUtf8()
                                .constData());
        return 0;
    }

  private:
    QDate Day(const QCommandLineOption& option, const QString& name) const {
        if (!parser_.isSet(option)) throw EError(QStringLiteral("Informe %1.").arg(name));
        const std::optional<QDate> day = ParseDate(parser_.value(option));
        if (!day)
            throw EError(QStringLiteral("%1: data inválida \"%2\"; use dd/mm/aaaa.")
                             .arg(name, parser_.value(option)));
        return *day;
    }

    int Write(SqlSession& session, QIODevice& out, const QDate& first, const QDate& last) const {
        CsvWriter csv(out);
        csv.Row(kHeader);
        int lines = 0;
        HistoryReads(session).Each(parser_.value(branch_), first, last,
                                   [&](const DataPacket& page) {
                                       for (const PacketRow& row : page.rows)
                                           csv.Row(Line(page, row));
                                       lines += static_cast<int>(page.rows.size());
                                   });
        return lines;
    }

    QCommandLineParser parser_;
    QCommandLineOption database_;
    QCommandLineOption branch_;
    QCommandLineOption from_;
    QCommandLineOption to_;
    QCommandLineOption output_;
};

}  // namespace

bool HistoryExport::Asked(int argc, char* argv[]) { return admin::Asked(argc, argv, kCommand); }

int HistoryExport::Run(const QStringList& arguments) {
    return admin::Run([&] { return Command().Run(arguments); });
}

}  // namespace fai::appserver
