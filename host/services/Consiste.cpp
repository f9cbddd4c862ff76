#include "Consiste.h"

#include "BrazilianText.h"
#include "DialogService.h"
#include "Errors.h"

#include <QLocale>
#include <QWidget>

#include <algorithm>

namespace fai {
namespace {

const QLocale& Brazil() {
    static const QLocale locale = [] {
        QLocale l(QLocale::Portuguese, QLocale::Brazil);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

// Characters of an edit mask that take one character of the value; the rest are literals.
bool IsMaskPlaceholder(QChar c) {
    switch (c.unicode()) {
        case 'L':
        case 'l':
        case 'A':
        case 'a':
        case 'C':
        case 'c':
        case '0':
        case '9':
        case '#':
            return true;
        default:
            return false;
    }
}

bool IsDecimalSeparator(QChar c) { return c == QLatin1Char(',') || c == QLatin1Char('.'); }

}  // namespace

bool EmptyString(const QString& text) {
    for (QChar c : text) {
        if (c.isLetterOrNumber()) return false;
    }
    return true;
}

QString Ajusta(const QString& code, int width) {
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty() || trimmed.size() >= width) return trimmed;
    return trimmed.rightJustified(width, QLatin1Char('0'));
}

void Ajusta_Inscricao(QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (c.isLetterOrNumber()) kept += c.toUpper();
    }
    text = kept;
}

QString PictPess(const QString& personType) {
    if (personType == QLatin1String("J")) return QStringLiteral("99.999.999/9999-99;0;_");
    if (personType == QLatin1String("F")) return QStringLiteral("999.999.999-99;0;_");
    return {};
}

QString FormatMaskText(const QString& mask, const QString& value) {
    const QString pattern = mask.section(QLatin1Char(';'), 0, 0);
    if (pattern.isEmpty()) return value;
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size() && next < value.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('!') || c == QLatin1Char('>') || c == QLatin1Char('<')) continue;
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            out += pattern[++i];
        } else if (IsMaskPlaceholder(c)) {
            out += value[next++];
        } else {
            out += c;
        }
    }
    // Characters beyond the mask are not dropped: a stored value never loses data on show.
    return out + value.mid(next);
}

bool MaxNumber(const QString& text, int integerDigits, int decimals, QChar key, int selStart,
               int selLength) {
    if (key.unicode() < 32) return true;
    if (!key.isDigit() && !IsDecimalSeparator(key) && key != QLatin1Char('-')) return false;
    const qsizetype start = std::clamp<qsizetype>(selStart, 0, text.size());
    const qsizetype length = std::clamp<qsizetype>(selLength, 0, text.size() - start);
    const QString result = text.left(start) + key + text.mid(start + length);

    int before = 0, after = 0;
    bool separatorSeen = false;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar c = result[i];
        if (c == QLatin1Char('-')) {
            if (i != 0) return false;
        } else if (IsDecimalSeparator(c)) {
            if (separatorSeen) return false;
            separatorSeen = true;
        } else if (c.isDigit()) {
            (separatorSeen ? after : before)++;
        } else {
            return false;
        }
    }
    return before <= integerDigits && after <= decimals;
}

QString DateMask() { return QStringLiteral("!99/99/9999;1;_"); }

QString NomeSemana(const QDate& date) {
    if (date == QDate(1899, 12, 30)) return {};
    return WeekdayName(date);
}

QString DateToStr(const QDate& date) {
    return Brazil().toString(date, QStringLiteral("dd/MM/yyyy"));
}

QString FloatToStr(double value) { return Brazil().toString(value, 'g', 15); }

QString Format(const QString& message, const QStringList& texts) {
    QString result;
    qsizetype next = 0;
    for (qsizetype i = 0; i < message.size(); ++i) {
        const QChar c = message[i];
        const QChar following = i + 1 < message.size() ? message[i + 1] : QChar();
        if (c == QLatin1Char('%') && following == QLatin1Char('%')) {
            result += c;
            ++i;
        } else if (c == QLatin1Char('%') && following == QLatin1Char('s') && next < texts.size()) {
            result += texts[next++];
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

void MensErro(const QString& text, bool abort) {
    DialogService::Instance().Error(text);
    if (abort) throw EAbort();
}

void SetChildEnabled(QWidget* container, bool enabled) {
    if (!container) return;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setEnabled(enabled);
}

}  // namespace fai
