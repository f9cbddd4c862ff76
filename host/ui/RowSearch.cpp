#include "RowSearch.h"

#include "ClientDataSet.h"

namespace fai {
namespace {

QString Folded(const QString& text) {
    QString folded;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing) folded += c.toCaseFolded();
    }
    return folded.simplified();
}

QString DigitsOf(const QString& text) {
    QString digits;
    for (QChar c : text) {
        if (c.isDigit()) digits += c;
    }
    return digits;
}

// Punctuation of codes, registration numbers and dates.
bool OnlyDigitsAndPunctuation(const QString& text) {
    for (QChar c : text) {
        if (!c.isDigit() && !c.isPunct() && !c.isSpace()) return false;
    }
    return true;
}

}  // namespace

RowSearch::RowSearch(const QString& typed) : text_(Folded(typed)) {
    if (OnlyDigitsAndPunctuation(typed)) digits_ = DigitsOf(typed);
}

int RowSearch::Rank(const QString& shown) const {
    const QString text = text_.isEmpty() ? QString() : Folded(shown);
    const QString digits = digits_.isEmpty() ? QString() : DigitsOf(shown);
    if (!text_.isEmpty() && text.startsWith(text_)) return 0;
    if (!digits_.isEmpty() && digits.startsWith(digits_)) return 1;
    if (!text_.isEmpty() && text.contains(text_)) return 2;
    if (!digits_.isEmpty() && digits.contains(digits_)) return 3;
    return kNoMatch;
}

int RowSearch::FindRow(ClientDataSet& dataSet, std::span<const Field* const> fields) const {
    if (IsEmpty()) return -1;
    int best = kNoMatch;
    int found = -1;
    int row = 0;
    dataSet.ForEachRow([&](const RowView& view) {
        for (const Field* field : fields) {
            if (best == 0) break;
            if (const int rank = Rank(view.DisplayText(*field)); rank < best) {
                best = rank;
                found = row;
            }
        }
        ++row;
    });
    return found;
}

}  // namespace fai
