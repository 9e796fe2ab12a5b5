#include "UniqueName.h"

#include "Errors.h"
#include "core/Classes.h"

namespace setup {

namespace {

// The installed-file classes live in a later layer; they are known by their base's name.
bool IsInstallFile(const fw::TComponent* Component) {
  for (const fw::TClass* c = &Component->ClassType(); c != nullptr; c = c->ClassParent())
    if (c->ClassName() == "TCustomInstallFile") return true;
  return false;
}

std::string IdentifierChars(const std::string& S) {
  std::string result;
  for (char c : S)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') result += c;
  return result;
}

}  // namespace

std::string UniqueNameCandidate(const std::string& Base, bool InstallFile, int Try) {
  std::string name = Base;
  if (InstallFile) {
    size_t dot = Base.rfind('.');
    std::string stem = dot == std::string::npos ? Base : Base.substr(0, dot);
    std::string extension = dot == std::string::npos ? std::string() : Base.substr(dot + 1);
    name = "IF" + IdentifierChars(stem) + "_" + IdentifierChars(extension);
  }
  if (Try > 0) name += std::to_string(Try);
  return name;
}

void SetUniqueComponentName(fw::TComponent* Component, const std::string& Base) {
  bool installFile = IsInstallFile(Component);
  std::string lastError;
  for (int attempt = 0; attempt < kMaxUniqueNameTries; ++attempt) {
    try {
      Component->SetName(UniqueNameCandidate(Base, installFile, attempt));
      return;
    } catch (const fw::Exception& e) {
      lastError = e.Message();
    }
  }
  throw EAPIRoutines(fw::Format("Cannot find a name for a component from \"%s\" after %d tries: %s", Base,
                                kMaxUniqueNameTries, lastError));
}

}  // namespace setup
