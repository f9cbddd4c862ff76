#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace fai::testing {

// What a program prints for the arguments (pdftotext, pdffonts, pdfinfo, pdfimages); empty
// when it cannot be run or does not finish in a minute.
inline QString ProgramOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What a PDF reader gets out of the file: the text of each page, as laid out.
inline QStringList PdfPages(const QString& path) {
    QStringList pages =
        ProgramOutput("pdftotext", {"-layout", "-enc", "UTF-8", path, "-"}).split(QChar('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

}  // namespace fai::testing
