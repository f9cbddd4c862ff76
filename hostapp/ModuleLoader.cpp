#include "ModuleLoader.h"

#include "Errors.h"

namespace fai {

const QStringList& ModuleLoader::RequiredOperations() {
    static const QStringList operations = {
        QStringLiteral("Initialize"),          QStringLiteral("Finalize"),
        QStringLiteral("GetPackageInfoTable"), QStringLiteral("IniProc"),
        QStringLiteral("CriaEfetFatur"),       QStringLiteral("cria_RelListComen"),
        QStringLiteral("CriaDupCom"),          QStringLiteral("CriaItRatEfet"),
        QStringLiteral("GeraRelatorioPdf"),
    };
    return operations;
}

ModuleLoader::~ModuleLoader() { Unload(); }

void ModuleLoader::Load(const QString& path) {
    Unload();
    library_.setFileName(path);
    if (!library_.load())
        throw EError(QStringLiteral("Não foi possível carregar o módulo %1: %2")
                         .arg(path, library_.errorString()));
    for (const QString& operation : RequiredOperations()) {
        if (!library_.resolve(operation.toLatin1().constData())) {
            library_.unload();
            throw EError(
                QStringLiteral("O módulo %1 não exporta a operação %2.").arg(path, operation));
        }
    }
    info_ = Operation<GetPackageInfoTableFunction>("GetPackageInfoTable")();
    if (!info_ || info_->unitCount < 0 || (info_->unitCount > 0 && !info_->units)) {
        library_.unload();
        throw EError(QStringLiteral("O módulo %1 não informa suas unidades.").arg(path));
    }
    Operation<PackageProcedure>("Initialize")();
    initialized_ = true;
}

void ModuleLoader::Unload() {
    if (initialized_) {
        initialized_ = false;
        Operation<PackageProcedure>("Finalize")();
    }
    info_ = nullptr;
    if (library_.isLoaded()) library_.unload();
}

QStringList ModuleLoader::UnitNames() const {
    QStringList names;
    for (int i = 0; info_ && i < info_->unitCount; ++i)
        names << QString::fromUtf8(info_->units[i].name);
    return names;
}

}  // namespace fai
