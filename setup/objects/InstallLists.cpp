#include "InstallLists.h"

#include <algorithm>
#include <memory>

#include "InstallContainer.h"
#include "archive/QnlkCompress.h"
#include "objects/ObjectsStartup.h"

namespace setup {

template <class T>
T* TReferenceList<T>::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) throw fw::EListError(fw::Format("List index out of bounds (%d)", Index));
  return FItems[static_cast<size_t>(Index)];
}

template <class T>
int TReferenceList<T>::Add(T* Item) {
  if (Item == nullptr) throw IEInstallContainer(fw::Format("Cannot add a blank entry to the %s object", FListName));
  FItems.push_back(Item);
  return Count() - 1;
}

template <class T>
void TReferenceList<T>::Remove(T* Item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
}

template <class T>
int TReferenceList<T>::IndexOf(const T* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

template class TReferenceList<TInstallContainer>;
template class TReferenceList<TCustomInstallFile>;

namespace {

TUsedIDTable* gUsedIDs = nullptr;
TCustomInstallFileList* gFailedRegistrations = nullptr;
std::string* gInstallRecordKey = nullptr;
std::vector<fw::TComponent*>* gInstallerForms = nullptr;
TCustomInstallFileList* gAllInstallFiles = nullptr;
TQnlkCompress* gSharedArchive = nullptr;
TInstallContainerList* gAllInstallObjects = nullptr;

// Frees one piece of the state; a failure stops the remaining frees silently.
template <class T>
bool Release(T*& Item) {
  try {
    T* item = Item;
    Item = nullptr;
    delete item;
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

void StartInstallLists() {
  gUsedIDs = new TUsedIDTable();
  gFailedRegistrations = new TCustomInstallFileList("TCustomInstallFileList");
  gInstallRecordKey = new std::string();
  gInstallerForms = new std::vector<fw::TComponent*>();
  gAllInstallFiles = new TCustomInstallFileList("TCustomInstallFileList");
  gSharedArchive = new TQnlkCompress(nullptr);
  gAllInstallObjects = new TInstallContainerList("TInstallContainerList");
}

void StopInstallLists() {
  bool ok = Release(gFailedRegistrations) && Release(gInstallerForms) && Release(gAllInstallFiles);
  if (ok && gSharedArchive != nullptr) {
    TQnlkCompress* archive = gSharedArchive;
    gSharedArchive = nullptr;
    try {
      archive->Free();
    } catch (...) {
      ok = false;
    }
  }
  ok = ok && Release(gAllInstallObjects) && Release(gInstallRecordKey) && Release(gUsedIDs);
}

TInstallContainerList* AllInstallObjects() {
  return gAllInstallObjects;
}
TCustomInstallFileList* AllInstallFiles() {
  return gAllInstallFiles;
}
TCustomInstallFileList* FailedRegistrationFiles() {
  return gFailedRegistrations;
}
std::vector<fw::TComponent*>* InstallerForms() {
  return gInstallerForms;
}
TUsedIDTable* UsedIDTable() {
  return gUsedIDs;
}
std::string* InstallRecordKey() {
  return gInstallRecordKey;
}
TQnlkCompress* SharedArchive() {
  return gSharedArchive;
}

}  // namespace setup
