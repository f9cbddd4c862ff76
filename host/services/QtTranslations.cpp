#include "QtTranslations.h"

#include "BrazilianText.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace fai {

bool LoadQtTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(BrazilianLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace fai
