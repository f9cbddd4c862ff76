#pragma once

#include "PackageProtocol.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

namespace fai {

// Loads a module library at run time, checks that it exports every operation the host
// calls, runs its units' start-up after loading and their shut-down before unloading.
class ModuleLoader {
  public:
    // The operations every module of this host must export.
    static const QStringList& RequiredOperations();

    ModuleLoader() = default;
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // Throws EError with a message naming the library or the missing operation.
    void Load(const QString& path);
    void Unload();
    bool Loaded() const { return initialized_; }

    const PackageInfoTable& Info() const { return *info_; }
    QStringList UnitNames() const;

    // Resolves an exported operation that Load already checked.
    template <typename Function>
    Function Operation(const char* name) const {
        return reinterpret_cast<Function>(library_.resolve(name));
    }

  private:
    mutable QLibrary library_;
    const PackageInfoTable* info_ = nullptr;
    bool initialized_ = false;
};

}  // namespace fai
