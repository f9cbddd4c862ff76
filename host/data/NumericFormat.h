#pragma once

#include <QLocale>
#include <QString>

namespace fai {

// A display or edit format of a float field, such as "#,##0.000" or "#0.000": a comma in the
// integer part groups thousands, the zeros after the point are decimals always shown and the
// hashes after them decimals shown only when not zero. The integer part holds at most one
// zero (an integer part of "#" alone drops the leading zero of values below one). The text
// is Brazilian: "#,##0.000" shows 1234.5 as "1.234,500".
class NumericFormat {
  public:
    // Throws EError for a pattern outside that grammar.
    static NumericFormat Parse(const QString& pattern);

    QString Format(double value) const;

  private:
    NumericFormat() = default;

    QLocale locale_;  // Brazilian, with or without the thousands separator
    bool leadingZero_ = true;
    int minDecimals_ = 0;
    int maxDecimals_ = 0;
};

}  // namespace fai
