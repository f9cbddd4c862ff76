#include "RegistrationNumbers.h"

#include <stdexcept>
#include <vector>

namespace fai::appserver {
namespace {

QChar CheckDigit(const QString& digits, const std::vector<int>& weights) {
    int sum = 0;
    for (std::size_t i = 0; i < weights.size(); ++i)
        sum += digits[static_cast<qsizetype>(i)].digitValue() * weights[i];
    const int rest = sum % 11;
    return QChar(u'0' + (rest < 2 ? 0 : 11 - rest));
}

void RequireDigits(const QString& digits, qsizetype count) {
    if (digits.size() != count)
        throw std::invalid_argument("registration number: wrong number of digits");
    for (QChar c : digits)
        if (!c.isDigit()) throw std::invalid_argument("registration number: not a digit");
}

}  // namespace

QString CpfWithCheckDigits(const QString& nineDigits) {
    RequireDigits(nineDigits, 9);
    QString number = nineDigits;
    number += CheckDigit(number, {10, 9, 8, 7, 6, 5, 4, 3, 2});
    number += CheckDigit(number, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2});
    return number;
}

QString CnpjWithCheckDigits(const QString& twelveDigits) {
    RequireDigits(twelveDigits, 12);
    QString number = twelveDigits;
    number += CheckDigit(number, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
    number += CheckDigit(number, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
    return number;
}

}  // namespace fai::appserver
