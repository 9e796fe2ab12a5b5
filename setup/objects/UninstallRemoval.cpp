#include "UninstallRemoval.h"

#include <windows.h>
// after windows.h
#include <objbase.h>

#include "support/RegistryObject.h"

namespace setup {

namespace {

// The running program in its long form when the product's uninstall command names it and
// the rules let it go; empty otherwise (a copy run from elsewhere stays).
std::string NamedOwnProgram(const std::string& UninstallKey, const std::string& ProductName,
                            const std::string& OwnProgram, const TFolderRules& Rules) {
  if (OwnProgram.empty()) return std::string();
  TqnlkRegistry product;
  product.SetRootKey(HKEY_LOCAL_MACHINE);
  std::string command, program, checked;
  try {
    if (!product.OpenKeyReadOnly("\\" + UninstallKey)) return std::string();
    command = product.ReadString("UninstallString");
  } catch (const ERegistryException&) {
    return std::string();
  }
  if (!ProgramOfUninstallCommand(command, ProductName, program)) return std::string();
  program = LongPath(program);
  if (!NormalizePath(program, checked) || !SamePath(program, LongPath(OwnProgram)) || !Rules.MayDeleteFile(program))
    return std::string();
  return program;
}

}  // namespace

std::string UninstallKeyOfProduct(const std::string& ProductName) {
  return std::string(kUninstallRoot) + "\\" + ProductName;
}

TUninstallReport UninstallProduct(const std::string& ProductName, const TFolderRules& Rules,
                                  const std::string& OwnProgram, const TSharedFileQuestion& RemoveShared) {
  TUninstallReport report;
  if (!IsValidProductName(ProductName)) {
    report.NotRemoved.push_back("\"" + ProductName + "\" (not a product name)");
    return report;
  }
  const std::string key = UninstallKeyOfProduct(ProductName);
  const TUninstallLog log = ReadUninstallLog(key);
  if (!log.Found) return report;
  report.Found = true;
  const HRESULT com = CoInitialize(nullptr);
  {
    TFileRemoval files(Rules, RemoveShared, OwnProgram, NamedOwnProgram(key, ProductName, OwnProgram, Rules),
                       report.NotRemoved);
    files.FindMadeFolders(log);
    const bool ownProgramGoes = files.OwnProgramMayGo(log);
    files.RemoveFiles(log);
    TRegistryRemoval registry(report.NotRemoved);
    registry.RemoveRegistryEntries(log.RegistryKeys);
    // The running program goes only once the entry that could start it again is gone.
    if (registry.RemoveProductEntry(key) && ownProgramGoes) files.RemoveOwnProgram();
    files.RemoveMadeFolders();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return report;
}

}  // namespace setup
