#include "EditMask.h"

#include <QStringList>

namespace fai {
namespace {

// The classic placeholders and their input-mask counterparts.
QChar InputMaskPlaceholder(QChar c) {
    switch (c.unicode()) {
        case 'L':
            return QLatin1Char('A');
        case 'l':
            return QLatin1Char('a');
        case 'A':
            return QLatin1Char('N');
        case 'a':
            return QLatin1Char('n');
        case 'C':
            return QLatin1Char('X');
        case 'c':
            return QLatin1Char('x');
        case '0':
            return QLatin1Char('9');
        case '9':
            return QLatin1Char('0');
        case '#':
            return QLatin1Char('#');
        default:
            return QChar();
    }
}

// Characters the input mask would read as meta characters unless escaped.
bool IsInputMaskMeta(QChar c) { return QStringLiteral("AaNnXx90DdHhBb#><!\\[]{};").contains(c); }

}  // namespace

EditMask::EditMask(const QString& mask) : source_(mask) {
    if (mask.isEmpty()) return;
    QStringList parts = mask.split(QLatin1Char(';'));
    blank_ = QLatin1Char('_');
    if (parts.size() >= 3) {
        const QString blank = parts.takeLast();
        blank_ = blank.isEmpty() ? QLatin1Char(' ') : blank.front();
    }
    if (parts.size() >= 2) saveLiterals_ = parts.takeLast().trimmed() != QLatin1String("0");
    const QString pattern = parts.join(QLatin1Char(';'));

    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('!')) continue;
        if (c == QLatin1Char('>') && i + 1 < pattern.size() && pattern[i + 1] == QLatin1Char('<')) {
            inputMask_ += QLatin1Char('!');
            ++i;
            continue;
        }
        if (c == QLatin1Char('>') || c == QLatin1Char('<')) {
            inputMask_ += c;
            continue;
        }
        const bool escaped = c == QLatin1Char('\\') && i + 1 < pattern.size();
        const QChar literal = escaped ? pattern[++i] : c;
        const QChar placeholder = escaped ? QChar() : InputMaskPlaceholder(c);
        if (!placeholder.isNull()) {
            inputMask_ += placeholder;
            slots_.append({false, QChar()});
        } else {
            if (IsInputMaskMeta(literal)) inputMask_ += QLatin1Char('\\');
            inputMask_ += literal;
            slots_.append({true, literal});
        }
    }
    if (!slots_.isEmpty()) inputMask_ += QLatin1Char(';') + QString(blank_);
}

QString EditMask::ValueOf(const QString& shown) const {
    if (IsEmpty()) return shown;
    QString value;
    const qsizetype length = std::min<qsizetype>(shown.size(), slots_.size());
    for (qsizetype i = 0; i < length; ++i) {
        const Slot& slot = slots_[i];
        if (slot.literal) {
            if (saveLiterals_) value += slot.character;
        } else if (shown[i] != blank_) {
            value += shown[i];
        } else if (saveLiterals_) {
            value += QLatin1Char(' ');
        }
    }
    return value;
}

QString EditMask::ShownFor(const QString& value) const {
    if (IsEmpty() || saveLiterals_) return value;
    QString shown;
    qsizetype next = 0;
    for (const Slot& slot : slots_) {
        if (slot.literal) {
            shown += slot.character;
        } else {
            shown += next < value.size() ? value[next++] : blank_;
        }
    }
    return shown;
}

}  // namespace fai
