#pragma once

#include <QString>

namespace fai {

// The screens' help: one HTML page per help file and context, at
// <help directory>/<help file's base name>/<context>.html ("FaiHelp.hlp", 13300400 ->
// FaiHelp/13300400.html). The directory is the one set here, else the FAI_HELP_DIR
// environment variable, else the pages installed with the program, else those of the
// sources.
void SetHelpDirectory(const QString& directory);
QString HelpDirectory();
QString HelpPagePath(const QString& helpFile, int context);

// Shows the page in a modal help window (through the dialog service, objectName
// "frmAjuda", browser "txbAjuda"); a missing page is said through the dialog service.
void ShowHelp(const QString& helpFile, int context);

}  // namespace fai
