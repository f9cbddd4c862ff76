#pragma once

#include <QString>

namespace fai::appserver {

// Brazilian registration numbers with their check digits (modulo 11): the CPF of a person
// (9 digits + 2) and the CNPJ of a company (12 digits + 2). The argument holds the digits
// before the check digits; the result is the whole number, digits only.
QString CpfWithCheckDigits(const QString& nineDigits);
QString CnpjWithCheckDigits(const QString& twelveDigits);

}  // namespace fai::appserver
