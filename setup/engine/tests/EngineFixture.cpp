#include "EngineFixture.h"

#include "objects/InstallLists.h"
#include "support/Registry.h"

namespace setup::testing {

EngineFixture::EngineFixture() {
  EngineLog().Lines.clear();
  TTestInstall::NextArguments() = {"-s" + Scratch.Path()};
  TTestInstall::NextProgramFile().clear();
  testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\URQ");
  if (InstallRecordKey() != nullptr) InstallRecordKey()->clear();
}

EngineFixture::~EngineFixture() {
  FreeForm();
  if (InstallRecordKey() != nullptr) InstallRecordKey()->clear();
  TTestInstall::NextArguments().clear();
  TTestInstall::NextProgramFile().clear();
}

void EngineFixture::Load(const std::string& Objects, const std::string& EngineLines) {
  FreeForm();
  Form.reset(new fw::TForm(nullptr));
  Form->InitFromText("object Form: TForm\n  object MainInstall: TTestInstall\n    Information.ProductName = '" +
                         std::string(kTestProduct) + "'\n" + EngineLines + "  end\n" + Objects + "end\n",
                     "TFORM");
  Engine = dynamic_cast<TTestInstall*>(Form->FindComponent("MainInstall"));
  ASSERT_NE(Engine, nullptr);
  Engine->LogEvents();
}

void EngineFixture::Run() {
  try {
    Engine->Process();
  } catch (...) {
    fw::Application->HandleException(Engine);
  }
}

void EngineFixture::FreeForm() {
  Form.reset();
  Engine = nullptr;
}

std::vector<std::string> EngineFixture::Logged(const std::vector<std::string>& Prefixes) const {
  std::vector<std::string> lines;
  for (const std::string& line : EngineLog().Lines)
    for (const std::string& prefix : Prefixes)
      if (line.rfind(prefix, 0) == 0) {
        lines.push_back(line);
        break;
      }
  return lines;
}

std::string RunOnceValue(HKEY Root, const std::string& Name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return {};
  char buffer[4096];
  DWORD size = sizeof(buffer);
  DWORD type = 0;
  std::string value;
  if (RegQueryValueExA(key, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
      type == REG_SZ)
    value.assign(buffer, strnlen(buffer, size));
  RegCloseKey(key);
  return value;
}

}  // namespace setup::testing
