#pragma once

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

}  // namespace fai
