#include "LinkMetaVariables.h"

#include "MetaVariables.h"
#include "ShellFolders.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "support/PathStrings.h"
#include "support/WinFolders.h"

namespace setup {

namespace {

std::string LinkFolder(TInstallObject* Link) {
  if (Link == nullptr)
    throw EAICannotExpandContainerDirMV(
        TranslateEnglishText("Cannot expand the %a meta variable because the component is Nil"));
  return Link->GetFullDestDir();
}

std::string ContainerFolder(TInstallObject* Link) {
  if (Link == nullptr)
    throw EAICannotExpandContainerDirMV(
        TranslateEnglishText("Cannot expand the %c meta variable because the component is Nil"));
  if (Link->Container() == nullptr)
    throw EAICannotExpandContainerDirMV(
        TranslateEnglishText("Cannot expand the %c meta variable because the Container property is Nil"));
  return Link->Container()->GetFullDestDir();
}

std::string InstallFolder() {
  if (GlobalInstall() == nullptr)
    throw EAICannotExpandInstallDirMV(
        TranslateEnglishText("Cannot expand the %i meta variable because there is no TInstall component"));
  return GlobalInstall()->EngineContainer().GetFullDestDir();
}

std::string MetaValue(char Letter, TInstallObject* Link) {
  switch (Letter) {
    case 'a':
      return LinkFolder(Link);
    case 'b':
      return GetProgramsMenuDir();
    case 'c':
      return ContainerFolder(Link);
    case 'd':
      return GetDesktopDir();
    case 'f':
      return GetCommonFilesDir();
    case 'i':
      return InstallFolder();
    case 'm':
      return GetStartMenuDir();
    case 'p':
      return GetProgramFilesDir();
    case 's':
      return GetSystemDir();
    case 'w':
      return GetWindowsDir();
    default:
      return std::string();
  }
}

}  // namespace

std::string ExpandMetaVariables(const std::string& Text, TInstallObject* Link) {
  return ExpandMetaText(Text, [Link](char Letter) { return RemoveTrailingBackslash(MetaValue(Letter, Link)); });
}

}  // namespace setup
