#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The protocol between the host and a module library it loads at run time. A module
// exports, with C linkage, Initialize and Finalize (run every unit's start-up and
// shut-down in table order), GetPackageInfoTable (its units) and its own operations.
namespace fai {

struct PackageUnitInfo {
    const char* name;
};

struct PackageInfoTable {
    const char* packageName;
    int unitCount;
    const PackageUnitInfo* units;
};

using PackageProcedure = void (*)();
using GetPackageInfoTableFunction = const PackageInfoTable* (*)();

// A report the host has a module write to a PDF without any screen (fai-host --report): the
// module checks what it is given as its screen would and throws EError with a message for
// the user on the first thing wrong.
struct ReportRequest {
    QString code;
    QString branch;  // empty: the working context's billing branch, or else its branch
    QDate first;
    QDate last;
    QStringList clients;   // empty: every client
    QStringList services;  // empty: every service
    QString title;         // the definition's title; empty: the code's first definition
    QString pdf;           // where the PDF goes
};
using ReportToPdfOperation = void (*)(const ReportRequest& request);

}  // namespace fai
