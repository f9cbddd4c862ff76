#pragma once

namespace fai {

// Qt's own texts (the standard buttons, the print and file dialogs) in the program's language,
// Brazilian Portuguese, whatever the machine's locale. Returns false when Qt's translations
// are not installed (Debian's qt6-translations-l10n): those texts then stay in English.
bool LoadQtTranslations();

}  // namespace fai
