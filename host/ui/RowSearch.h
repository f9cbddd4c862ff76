#pragma once

#include <QString>

#include <span>

namespace fai {

class ClientDataSet;
class Field;

// What a clerk types to find a row in a list: a part of any text shown (letter case and
// accents ignored), or of a code or registration number, with or without its punctuation
// ("12.345.678" and "12345678" both find "12.345.678/0001-95").
class RowSearch {
  public:
    explicit RowSearch(const QString& typed);

    bool IsEmpty() const { return text_.isEmpty() && digits_.isEmpty(); }
    // How well the shown text answers what was typed, best first: it begins with the text as
    // typed, begins with its digits, holds the text, holds the digits; kNoMatch otherwise.
    int Rank(const QString& shown) const;
    static constexpr int kNoMatch = 4;

    // The first visible row of the dataset whose shown text in one of the fields ranks best;
    // -1 when none matches. The cursor stays.
    int FindRow(ClientDataSet& dataSet, std::span<const Field* const> fields) const;

  private:
    QString text_;
    // The digits typed, when nothing but digits and punctuation was.
    QString digits_;
};

}  // namespace fai
