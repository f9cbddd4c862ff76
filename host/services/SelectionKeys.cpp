#include "SelectionKeys.h"

namespace fai {

QString JoinKeys(const QStringList& keys) {
    QStringList quoted;
    for (QString key : keys)
        quoted << QLatin1Char('\'') + key.replace(QLatin1Char('\''), QStringLiteral("''")) +
                      QLatin1Char('\'');
    return quoted.join(QLatin1Char(','));
}

QStringList SplitKeys(const QString& text) {
    QStringList keys;
    QString key;
    bool started = false;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            const bool doubled =
                c == QLatin1Char('\'') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\'');
            if (doubled) ++i;
            if (c != QLatin1Char('\'') || doubled) {
                key += c;
            } else {
                quoted = false;
            }
        } else if (c == QLatin1Char('\'')) {
            quoted = started = true;
        } else if (c == QLatin1Char(',')) {
            if (started) keys << key;
            key.clear();
            started = false;
        } else if (!c.isSpace()) {
            key += c;
            started = true;
        }
    }
    if (started) keys << key;
    return keys;
}

}  // namespace fai
