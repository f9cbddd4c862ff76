#pragma once

#include <QFile>
#include <QString>

namespace fai::appserver {

// The call log in a file that never grows past a size: when a line would take it past, the
// file becomes FILE.1 (FILE.1 becomes FILE.2, and so on, the oldest beyond `keep` deleted)
// and a new FILE is begun. The files are readable by their owner only, like the database
// whose calls they tell. Not safe to share between threads: CallLog writes one line at a
// time.
class RotatingLogFile {
  public:
    // Appends to FILE; throws EError for the administrator when it cannot be opened.
    RotatingLogFile(const QString& path, qint64 maxBytes, int keep);

    // A line that cannot be written to the file goes to standard error, never nowhere.
    void Write(const QString& line);

  private:
    bool Open();
    void Rotate();

    QString path_;
    qint64 maxBytes_;
    int keep_;
    QFile file_;
};

}  // namespace fai::appserver
