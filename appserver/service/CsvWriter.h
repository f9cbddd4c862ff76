#pragma once

#include <QStringList>

class QIODevice;

namespace fai::appserver {

// A CSV file as Brazilian spreadsheets open it: UTF-8 with a byte order mark (without it they
// read the text in the system's code page and spoil the accents), ";" between cells (the
// comma is the decimal separator), lines ended by CR LF. A cell holding ";", a quote or a line
// break is quoted, its quotes doubled. A text that a spreadsheet would take for a formula
// ("=", "+", "-", "@" first) is kept as text with a leading apostrophe: the names in it come
// from the machines that made the changes.
class CsvWriter {
  public:
    // Writes the byte order mark.
    explicit CsvWriter(QIODevice& out);

    // Numbers and dates are written as given: format them before.
    void Row(const QStringList& cells);

  private:
    QIODevice& out_;
};

}  // namespace fai::appserver
