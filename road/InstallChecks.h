// What the road checks after the install: the Add/Remove entry and the uninstall log
// (every file it names exists, every key it names holds its values), the product's
// files in their folders, the tools keys, the per-program locale values, the chart
// viewer's COM registration, and the shortcuts read back through the shell.
#pragma once

#include <string>
#include <vector>

#include "RoadReport.h"

namespace road {

// The installation as the wizard placed it.
struct TInstallation {
  std::string ProductName;
  std::string Destination;      // the product's folder
  std::string StartMenuFolder;  // the shortcuts' folder (full path)
  std::string DesktopFolder;    // the user's desktop folder
};

// The Add/Remove Programs key of a product.
std::string UninstallKeyOf(const std::string& ProductName);

// An uninstall log's files and keys as the uninstaller reads them.
struct TLoggedKey {
  int Root = 0;  // the registry layer's numbering: 0 classes root, 2 current user, 4 local machine
  std::string Key;
  std::vector<std::string> Entries;  // value names
};
struct TUninstallLog {
  std::vector<std::string> Files;    // "Files", "Files1", ... in order
  std::vector<std::string> ActiveX;  // paths of "ActiveX" (without their kind)
  std::vector<TLoggedKey> Keys;
};
TUninstallLog ReadUninstallLog(const std::string& ProductName);

// A shortcut read back through IShellLinkA: its target and arguments; for a ".URL"
// file its address. Empty texts when it cannot be read.
struct TShortcut {
  std::string Target;
  std::string Arguments;
};
TShortcut ReadShellLink(const std::string& LinkFile);
std::string ReadUrlFile(const std::string& UrlFile);

class TInstallCheck {
 public:
  TInstallCheck(TRoadReport& Report, TInstallation Installation);

  void CheckAll();
  void CheckAddRemoveEntry();
  void CheckUninstallLog();
  void CheckProductFiles();
  void CheckToolsKeys();
  void CheckLocaleValues();
  void CheckChartViewerRegistration();
  void CheckShortcuts();

 private:
  std::string Installed(const std::string& Relative) const;

  TRoadReport& FReport;
  TInstallation FInstallation;
  TUninstallLog FLog;
};

}  // namespace road
