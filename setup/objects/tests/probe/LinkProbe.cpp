// A program that links the objects library but names none of its classes in code: only
// its form resource does. Every class of a linked library must still be found, whatever
// object files the linker happened to pull in. Exits 0 when the form loads as described.
#include <windows.h>

#include <cstdio>
#include <utility>

#include "archive/ArchiveStartup.h"
#include "gui/Forms.h"
#include "gui/GuiStartup.h"
#include "objects/ObjectsStartup.h"
#include "support/SupportStartup.h"

int main() {
  try {
    fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)),
                                     setup::SupportLibrary(), setup::ArchiveLibrary(), setup::ObjectsLibrary()});
    fw::TForm* form = new fw::TForm(fw::Application);
    form->InitFromResource();
    const std::pair<const char*, const char*> expected[] = {
        {"ToolKey", "TInstallRegistry"}, {"Windows", "TpsWindow"}, {"Launcher", "TProgramLauncher"}};
    for (auto [name, className] : expected) {
      fw::TComponent* component = form->FindComponent(name);
      if (component == nullptr || component->ClassName() != className) {
        std::printf("%s: %s was not created from the resource\n", name, className);
        return 1;
      }
    }
  } catch (const std::exception& e) {
    std::printf("%s\n", e.what());
    return 1;
  }
  return 0;
}
