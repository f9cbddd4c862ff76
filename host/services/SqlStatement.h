#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace fai {

// An SQL text cut at its parameters: :NAME outside quotes (a "::" cast and a colon inside a
// quoted text are no parameters). The database gets a ? for each place a parameter is
// named, so that values are bound and never pasted into the text.
class SqlStatement {
  public:
    static SqlStatement Parse(const QString& sql);

    const QString& Text() const { return text_; }
    // Each parameter once, spelled as where it is first named, in that order.
    const QStringList& Names() const { return names_; }
    // Letter case ignored; -1 when the text does not name it.
    int IndexOf(const QString& name) const;
    // The parameter (its index in Names) named at each place, in the order of the text.
    const std::vector<int>& Places() const { return places_; }

    // The text with one ? at each place.
    QString Bound() const;
    // The text with placeholders[p] marks, separated by commas, wherever parameter p is
    // named: a list of values in "IN (:P)" gets a ? for each value.
    QString Bound(const std::vector<int>& placeholders) const;

    // One statement that only reads: it starts with SELECT or WITH and nothing follows a
    // semicolon. The server that runs it is what keeps it to reading.
    bool IsSingleSelect() const;

  private:
    QString text_;
    QStringList names_;
    std::vector<int> places_;
    QStringList pieces_;  // the text around the places: one more than there are places
};

}  // namespace fai
