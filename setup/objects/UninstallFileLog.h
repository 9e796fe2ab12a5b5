// The uninstall log of installed files: "File<n>" values in the "Files" subkey of the
// product's uninstall key (or in "Files1", "Files2", ... when a subkey is damaged), and
// COM-registered files in the "ActiveX" subkey with their kind.
#pragma once

#include <string>

namespace setup {

// Kinds of the "ActiveX" entries.
constexpr char kActiveXLibrary = '0';
constexpr char kActiveXServer = '1';
constexpr char kActiveXTypeLibrary = '2';

// Logs Path as the next "File<n>" in UninstallKey\Files, trying the numbered subkeys
// when one cannot take it; raises IECustomInstallFile when none of them can. A path one
// of them names already is not logged again.
void LogInstalledFile(const std::string& UninstallKey, const std::string& Path);
// Logs "Path;Kind" as the next "File<n>" in UninstallKey\ActiveX, unless it is there.
void LogActiveXFile(const std::string& UninstallKey, const std::string& Path, char Kind);
// Whether the log names Path already, as a file or a COM file of any kind (in any case).
bool IsFileLogged(const std::string& UninstallKey, const std::string& Path);

}  // namespace setup
