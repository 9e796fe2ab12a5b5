// What the setup program ("bramset.exe") and its loader ("setup.exe") end with: the
// codes of the Windows Installer, so that whatever starts a setup (a script, a
// deployment tool) tells its outcomes apart as it does for other installers. The loader
// passes the installer's code through and ends with ecFailed when it cannot start it.
#pragma once

namespace setup {

enum TExitCode : int {
  ecSuccess = 0,
  ecCancelled = 1602,       // the user cancelled; the machine is as it was
  ecFailed = 1603,          // the installation (or build, or floppy copy) failed
  ecRestartPending = 3010,  // installed; files in use are replaced at the next restart
};

}  // namespace setup
