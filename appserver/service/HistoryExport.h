#pragma once

#include <QStringList>

namespace fai::appserver {

// "fai-appserver history": the history of the headcount rows of a branch over billing dates,
// for auditors, as a CSV file a spreadsheet opens (CsvWriter), oldest change first, on the
// database the server uses, while servers run or not.
//
//   history --branch 0001 --from 01/03/2026 --to 31/03/2026 [--output FILE] [--database ...]
//
// Without --output the file goes to standard output.
class HistoryExport {
  public:
    static bool Asked(int argc, char* argv[]);
    // The program's exit code: 0 done, 1 refused (the reason on standard error).
    static int Run(const QStringList& arguments);
};

}  // namespace fai::appserver
