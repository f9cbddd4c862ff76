#include "CsvWriter.h"

#include "Errors.h"

#include <QIODevice>

namespace fai::appserver {
namespace {

QString Cell(QString text) {
    static const QString kFormulaStarts = QStringLiteral("=+-@");
    if (!text.isEmpty() && kFormulaStarts.contains(text.front())) text.prepend(u'\'');
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

}  // namespace

CsvWriter::CsvWriter(QIODevice& out) : out_(out) {
    if (out_.write("\xEF\xBB\xBF") != 3)
        throw EError(QStringLiteral("Não foi possível gravar: %1").arg(out_.errorString()));
}

void CsvWriter::Row(const QStringList& cells) {
    QStringList line;
    line.reserve(cells.size());
    for (const QString& cell : cells) line << Cell(cell);
    const QByteArray bytes = (line.join(u';') + QStringLiteral("\r\n")).toUtf8();
    if (out_.write(bytes) != bytes.size())
        throw EError(QStringLiteral("Não foi possível gravar: %1").arg(out_.errorString()));
}

}  // namespace fai::appserver
