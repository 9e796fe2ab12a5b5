// A run through the engine that fails is taken back before the bad-install page; one that
// ends well lets go of what it kept to take itself back.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "engine/ExitCodes.h"

using namespace setup;
using namespace setup::testing;

namespace {

class EngineUndo : public EngineFixture {
 protected:
  // The setup's program over app\program.exe, then a shortcut (of a later phase) that
  // fails when Fail.
  void LoadProgramThen(bool Fail) {
    Load("  object Listener: TListener\n    Container = MainInstall\n  end\n"
         "  object Program: TInstallFile\n    Container = MainInstall\n"
         "    FileName = 'launcher_probe.exe'\n    DestName = 'program.exe'\n    DestDir = '" +
         App + "'\n    IncludeFromDir = '" + testsupport::ProgramFolder() +
         "'\n    ArchiveFileType = psContainerArchiveFile\n  end\n"
         "  object Link: TLinkObject\n    Container = MainInstall\n    Fail = " +
         (Fail ? "True" : "False") + "\n  end\n");
    Engine->Compress(46);  // the setup's archive, as a build makes it
  }

  const std::string App = Scratch / "app";
};

TEST_F(EngineUndo, AFailedRunGivesTheFilesItReplacedBackAndAGoodOneKeepsNoOldFile) {
  ASSERT_TRUE(CreateDirectoryA(App.c_str(), nullptr));
  const std::string program = App + "\\program.exe";
  testsupport::WriteFile(program, "the program an earlier version installed");

  LoadProgramThen(true);
  Run();
  EXPECT_EQ(Engine->ExitCode(), ecFailed);
  EXPECT_EQ(Engine->Errors, std::vector<std::string>{"Link failed"});
  EXPECT_TRUE(testsupport::ReadFile(program) == "the program an earlier version installed") << "the earlier program";
  EXPECT_EQ(testsupport::NamesIn(App), std::vector<std::string>{"program.exe"});

  LoadProgramThen(false);
  Run();
  EXPECT_EQ(Engine->ExitCode(), ecSuccess);
  EXPECT_TRUE(testsupport::ReadFile(program) == testsupport::ReadFile(testsupport::BesideProgram("launcher_probe.exe")));
  EXPECT_EQ(testsupport::NamesIn(App), std::vector<std::string>{"program.exe"}) << "no old file stays";
}

// What the run made but another program changed since stays, and the user is told.
TEST_F(EngineUndo, WhatCannotBeTakenBackIsTold) {
  const std::string program = App + "\\program.exe";
  LoadProgramThen(true);
  Engine->OnAfterInstallObjects = [&](TInstallContainer*, bool) {
    testsupport::WriteFile(App + "\\other.exe", "another program's");
    MoveFileExA((App + "\\other.exe").c_str(), program.c_str(), MOVEFILE_REPLACE_EXISTING);
  };
  Run();
  EXPECT_EQ(testsupport::ReadFile(program), "another program's");
  EXPECT_EQ(Engine->Messages,
            std::vector<std::string>{"Setup could not take back everything it did. These stay:\n" + program +
                                     " (no longer the file the installation made; kept)"});
  EXPECT_EQ(Engine->Errors, std::vector<std::string>{"Link failed"});
}

// However much stayed, the box keeps to the first lines and counts the rest.
TEST(UndoLeft, TheToldLinesAreBounded) {
  std::vector<std::string> stayed;
  for (int i = 1; i <= 25; ++i) stayed.push_back("C:\\App\\file" + std::to_string(i) + ".txt (kept)");
  const std::string text = UndoLeftText(stayed);
  EXPECT_NE(text.find("file20.txt"), std::string::npos);
  EXPECT_EQ(text.find("file21.txt"), std::string::npos);
  EXPECT_EQ(text.substr(text.rfind('\n') + 1), "and 5 more");
}

}  // namespace
