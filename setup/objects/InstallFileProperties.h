// The published properties of an installed file, in their order: TInstallFile publishes
// them, and so does every other file class that a form describes (the uninstaller),
// which adds its own after them.
#pragma once

#include "FileContainer.h"
#include "InstallFile.h"
#include "InstallTypes.h"
#include "archive/OverwriteDecision.h"
#include "core/ClassDef.h"
#include "support/OSVersion.h"

namespace setup {

template <class T>
fw::TClassDef<T>& PublishInstallFileProperties(fw::TClassDef<T>& Def) {
  static_assert(std::is_base_of_v<TCustomInstallFile, T>);
  return Def.String("ArchiveFile", &T::ArchiveFile, &T::SetArchiveFile)
      .Component("ArchiveFileType", &T::ArchiveFileType, &T::SetArchiveFileType)
      .Enum("AddToArchive", LzhCommandInfo(), &T::AddToArchive, &T::SetAddToArchive)
      .Component("Container", &T::Container, &T::SetContainer)
      .String("DestDir", &T::DestDir, &T::SetDestDir)
      .Component("DestDirType", &T::DestDirType, &T::SetDestDirType)
      .Boolean("Include", &T::Include, &T::SetInclude)
      .Set("InstallTypes", InstallTypeInfo(), &T::InstallTypes, &T::SetInstallTypes)
      .Boolean("Net", &T::Net, &T::SetNet)
      .Component("NetLocation", &T::NetLocationComponent, &T::SetNetLocationComponent)
      .Set("OS", OSVerTypeInfo(), &T::OS, &T::SetOS)
      .String("RunParameters", &T::RunParameters, &T::SetRunParameters)
      .Boolean("Uninstall", &T::Uninstall, &T::SetUninstall)
      .Set("InstallAttributes", QnlkFileAttributesInfo(), &T::InstallAttributes, &T::SetInstallAttributes)
      .Boolean("ActiveX", &T::ActiveX, &T::SetActiveX)
      .String("DestName", &T::DestName, &T::SetDestName)
      .String("FileName", &T::FileName, &T::SetFileName)
      .Enum("FileType", InstallFileTypeInfo(), &T::FileType, &T::SetFileType)
      .String("IncludeFromDir", &T::IncludeFromDir, &T::SetIncludeFromDir)
      .Enum("OverwriteMode", OverwriteTypeInfo(), &T::OverwriteMode, &T::SetOverwriteMode)
      .Boolean("RegisterAsHelp", &T::RegisterAsHelp, &T::SetRegisterAsHelp)
      .Boolean("RunAfterInstall", &T::RunAfterInstall, &T::SetRunAfterInstall)
      .Boolean("UpdateDLLCounter", &T::UpdateDLLCounter, &T::SetUpdateDLLCounter)
      .Integer("UniqueID", &T::UniqueID, &T::SetUniqueID)
      .Event("OnAfterCompress", static_cast<TInstallFileNotifyEvent T::*>(&T::OnAfterCompress))
      .Event("OnAfterCopy", static_cast<TInstallFileNotifyEvent T::*>(&T::OnAfterCopy))
      .Event("OnAfterInstall", static_cast<TInstallFileNotifyEvent T::*>(&T::OnAfterInstall))
      .Event("OnBeforeCompress", static_cast<TInstallFileNotifyEvent T::*>(&T::OnBeforeCompress))
      .Event("OnBeforeCopy", static_cast<TInstallFileNotifyEvent T::*>(&T::OnBeforeCopy))
      .Event("OnBeforeInstall", static_cast<TInstallFileNotifyEvent T::*>(&T::OnBeforeInstall))
      .Event("OnStatus", static_cast<TInstallFileStatusEvent T::*>(&T::OnStatus))
      .Event("OnNewDisk", static_cast<TInstallFileNewDiskEvent T::*>(&T::OnNewDisk))
      .Event("OnReplacing", static_cast<TInstallFileNotifyEvent T::*>(&T::OnReplacing));
}

}  // namespace setup
