#pragma once

#include "DataPacket.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace fai::appserver {

// The null-field list a screen sends with a save: the names of the saved row's empty fields,
// each followed by "|" ("CDFILIFATU|NRAPURACFAT|"), the empty text when none is empty. The
// fields it names are stored as null whatever value the row carries.
class NullFieldList {
  public:
    // `fields` and `calculated` are the fields of the screen's dataset; the list may name
    // only those. Throws EBadRequest for any other text.
    NullFieldList(const QString& text, const std::vector<FieldDef>& fields,
                  const QStringList& calculated = {});

    bool Names(const QString& field) const;
    // The row's values, in the packet's field order, with the named fields null.
    std::vector<Value> Applied(const DataPacket& packet, const std::vector<Value>& values) const;

  private:
    QSet<QString> names_;  // upper case: field names match regardless of case
};

}  // namespace fai::appserver
