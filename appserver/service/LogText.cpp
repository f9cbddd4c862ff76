#include "LogText.h"

#include "WireText.h"

#include <QRegularExpression>

namespace fai::appserver {
namespace {

constexpr qsizetype kMaxLineLength = 2000;
constexpr qsizetype kDigitsKept = 3;

// Digits written together, or as a CPF or a CNPJ is formatted.
QString Masked(const QString& line) {
    static const QRegularExpression number(QStringLiteral(
        "\\d{11,}|\\d{3}\\.\\d{3}\\.\\d{3}-\\d{2}|\\d{2}\\.\\d{3}\\.\\d{3}/\\d{4}-\\d{2}"));
    QString out = line;
    QRegularExpressionMatchIterator matches = number.globalMatch(line);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        qsizetype kept = 0;
        for (qsizetype i = match.capturedEnd() - 1; i >= match.capturedStart(); --i) {
            if (!out[i].isDigit()) continue;
            if (kept < kDigitsKept)
                ++kept;
            else
                out[i] = u'*';
        }
    }
    return out;
}

}  // namespace

QString LogSafe(const QString& line) {
    const QString escaped = Escaped(Masked(line));
    if (escaped.size() <= kMaxLineLength) return escaped;
    return escaped.left(kMaxLineLength) + QStringLiteral("…");
}

}  // namespace fai::appserver
