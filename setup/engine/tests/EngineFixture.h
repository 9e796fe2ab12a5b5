// A configuration form with a test engine, loaded from text, and the registry keys an
// install run writes, put back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EngineTestObjects.h"
#include "Files.h"
#include "RegistrySnapshot.h"
#include "gui/Forms.h"

namespace setup::testing {

inline constexpr char kTestProduct[] = "Engine Test Product";

class EngineFixture : public ::testing::Test {
 protected:
  EngineFixture();
  ~EngineFixture() override;

  // Loads a form holding MainInstall (with EngineLines inside its object) and Objects.
  void Load(const std::string& Objects = "", const std::string& EngineLines = "");
  // Runs the installation as the message loop would: failures reach the application's
  // exception handler.
  void Run();
  void FreeForm();
  // The lines logged, from the first one equal to From on, keeping only those that
  // start with one of the prefixes.
  std::vector<std::string> Logged(const std::vector<std::string>& Prefixes) const;

  testsupport::TScratchFolder Scratch{"engine"};
  testsupport::TSavedRegistryTree SavedRecords{HKEY_LOCAL_MACHINE, "\\SOFTWARE\\URQ"};
  testsupport::TSavedRegistryTree SavedUninstall{
      HKEY_LOCAL_MACHINE, std::string("\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kTestProduct};
  testsupport::TSavedRegistryValues SavedUserRunOnce{
      HKEY_CURRENT_USER,
      "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
      {"QuenlarkUnfinished", "QuenlarkUnfinished1", "QuenlarkUnfinished2"}};
  testsupport::TSavedRegistryValues SavedMachineRunOnce{
      HKEY_LOCAL_MACHINE,
      "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
      {"QuenlarkUnfinished", "QuenlarkUnfinished1", "QuenlarkUnfinished2"}};
  std::unique_ptr<fw::TForm, fw::TFreeDeleter> Form;
  TTestInstall* Engine = nullptr;
};

// The value of the RunOnce entry Name under Root, empty when missing.
std::string RunOnceValue(HKEY Root, const std::string& Name);

}  // namespace setup::testing
