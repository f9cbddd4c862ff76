#include "BrazilianText.h"

#include <cmath>

namespace fai {
namespace {

const QLocale& UngroupedLocale() {
    static const QLocale locale = [] {
        QLocale l = BrazilianLocale();
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

constexpr int kSignificantDigits = 15;

}  // namespace

const QLocale& BrazilianLocale() {
    static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    return locale;
}

QString FormatNumber(double value) {
    return UngroupedLocale().toString(value, 'g', kSignificantDigits);
}

std::optional<double> ParseNumber(QStringView text) {
    bool ok = false;
    const double value = BrazilianLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString FormatDate(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

std::optional<QDate> ParseDate(QStringView text) {
    const QDate date = QDate::fromString(text.trimmed().toString(), QStringLiteral("d/M/yyyy"));
    if (!date.isValid()) return std::nullopt;
    return date;
}

const QStringList& WeekdayNames() {
    static const QStringList names = {QStringLiteral("Domingo"), QStringLiteral("Segunda"),
                                      QStringLiteral("Terça"),   QStringLiteral("Quarta"),
                                      QStringLiteral("Quinta"),  QStringLiteral("Sexta"),
                                      QStringLiteral("Sábado")};
    return names;
}

QString WeekdayName(const QDate& date) {
    // Qt counts Monday as 1 and Sunday as 7.
    return date.isValid() ? WeekdayNames()[date.dayOfWeek() % 7] : QString();
}

}  // namespace fai
