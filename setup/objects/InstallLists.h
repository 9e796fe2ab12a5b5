// The unit's global state: the lists of all installable objects and of all install
// files, the failed COM registrations, the installer forms, the installation record
// key, the used-ID table of install files and the shared archive object. Everything is
// made when the program starts and freed when it ends; after that the accessors give
// nil and objects that go late skip the lists.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/Classes.h"

namespace setup {

class TInstallContainer;
class TCustomInstallFile;
class TQnlkCompress;

// A list that refuses nil and owns nothing.
template <class T>
class TReferenceList {
 public:
  explicit TReferenceList(const char* ListName) : FListName(ListName) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError outside 0..Count-1.
  T* GetItem(int Index) const;
  // Raises IEInstallContainer "Cannot add a blank entry to the <list> object" for nil.
  int Add(T* Item);
  // Removes the item (every entry of it); nothing when it is not there.
  void Remove(T* Item);
  int IndexOf(const T* Item) const;
  const std::vector<T*>& Items() const { return FItems; }

 private:
  const char* FListName;
  std::vector<T*> FItems;
};

using TInstallContainerList = TReferenceList<TInstallContainer>;
using TCustomInstallFileList = TReferenceList<TCustomInstallFile>;

// Identifiers 0..1999 that install files have taken, and whether the table was cleared
// once in this run.
struct TUsedIDTable {
  std::array<bool, 2000> Used{};
  bool ClearedOnce = false;
};

TInstallContainerList* AllInstallObjects();
TCustomInstallFileList* AllInstallFiles();
TCustomInstallFileList* FailedRegistrationFiles();
std::vector<fw::TComponent*>* InstallerForms();
TUsedIDTable* UsedIDTable();
std::string* InstallRecordKey();
// The archive component that all objects share; it also carries the installation-wide
// Abort flag.
TQnlkCompress* SharedArchive();

}  // namespace setup
