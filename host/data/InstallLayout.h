#pragma once

#include <QString>

namespace fai {

// Where the host's own files are. Installed (cmake --install, the Debian package), they sit
// beside the program's folder: <prefix>/bin/fai-host, the libraries and the module in
// <prefix>/<libdir>/fai-host, the data in <prefix>/share/fai-host. Run from its build tree,
// the same names lead to the build's and the sources' folders instead, given by the caller.

// <prefix>/share/fai-host/<name> when the program runs installed, else `buildTreeFolder`.
QString InstalledDataFolder(const QString& name, const QString& buildTreeFolder);

// The folder of the libraries the program loads by name (the module): <prefix>/<libdir>/
// fai-host when installed, else the program's own folder.
QString InstalledLibraryFolder();

}  // namespace fai
