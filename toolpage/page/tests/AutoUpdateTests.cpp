// Putting a command line into a start-up file: backup, attributes, failures.
#include <gtest/gtest.h>
#include <windows.h>

#include "AutoUpdate.h"
#include "Files.h"
#include "PageWaitCursor.h"
#include "core/Streams.h"
#include "gui/Screen.h"

using namespace toolpage;
using testsupport::ReadFile;
using testsupport::TScratchFolder;
using testsupport::WriteFile;

namespace {

const char* const kLoad = "Load TUVEK.NLM";

// Collects the failures UpdateLine reports instead of showing them.
struct TFailures {
  std::vector<std::string> Reports;
  TUpdateFailure Recorder() {
    return [this](const std::string& Name, const std::string& Reason) { Reports.push_back(Name + ": " + Reason); };
  }
};

}  // namespace

TEST(AutoUpdate, MatchingLinesReplacedAndBackupRenewed) {
  TScratchFolder dir("autoupd");
  const std::string ncf = dir / "AUTOEXEC.NCF";
  WriteFile(ncf, "MOUNT ALL\r\nload  tuvek.nlm\r\nLOAD TUVEK.NLM /X\r\n");
  WriteFile(dir / "AUTOEXEC.BAK", "old backup");
  TFailures failures;
  EXPECT_TRUE(UpdateLine(ncf, "", kLoad, failures.Recorder()));
  EXPECT_EQ(ReadFile(ncf), "MOUNT ALL\r\nLoad TUVEK.NLM\r\nLoad TUVEK.NLM\r\n");
  EXPECT_EQ(ReadFile(dir / "AUTOEXEC.BAK"), "MOUNT ALL\r\nload  tuvek.nlm\r\nLOAD TUVEK.NLM /X\r\n");
  EXPECT_TRUE(failures.Reports.empty());
  EXPECT_EQ(testsupport::NamesIn(dir.Path()).size(), 2u);  // no temporary file left
  EXPECT_EQ(WaitCursorLevel(), 0);
}

TEST(AutoUpdate, LineAppendedToProtectedFileWhichKeepsItsAttributes) {
  TScratchFolder dir("autoupd");
  const std::string ncf = dir / "AUTOEXEC.NCF";
  WriteFile(ncf, "MOUNT ALL");
  const DWORD protect = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  ASSERT_TRUE(SetFileAttributesA(ncf.c_str(), protect));
  TFailures failures;
  EXPECT_TRUE(UpdateLine(ncf, "", kLoad, failures.Recorder()));
  EXPECT_EQ(ReadFile(ncf), "MOUNT ALL\r\nLoad TUVEK.NLM\r\n");
  EXPECT_EQ(GetFileAttributesA(ncf.c_str()) & (protect | FILE_ATTRIBUTE_SYSTEM), protect);
  SetFileAttributesA(ncf.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA((dir / "AUTOEXEC.BAK").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(AutoUpdate, MissingFileOrNameChangesNothing) {
  TScratchFolder dir("autoupd");
  TFailures failures;
  EXPECT_FALSE(UpdateLine(dir / "AUTOEXEC.NCF", "", kLoad, failures.Recorder()));
  ASSERT_EQ(failures.Reports.size(), 1u);
  EXPECT_EQ(failures.Reports[0].rfind("AUTOEXEC.NCF: ", 0), 0u);
  EXPECT_TRUE(testsupport::NamesIn(dir.Path()).empty());
  EXPECT_FALSE(UpdateLine("", "", kLoad, failures.Recorder()));
  EXPECT_EQ(failures.Reports.size(), 1u);
}

TEST(AutoUpdate, FailedBackupNeverUsesAStaleCopy) {
  TScratchFolder dir("autoupd");
  const std::string ncf = dir / "AUTOEXEC.NCF";
  WriteFile(ncf, "MOUNT ALL\r\n");
  WriteFile(dir / "AUTOEXEC.BAK", "STALE\r\n");
  // The old copy cannot be replaced while another program holds it open.
  HANDLE held =
      CreateFileA((dir / "AUTOEXEC.BAK").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TFailures failures;
  EXPECT_FALSE(UpdateLine(ncf, "", kLoad, failures.Recorder()));
  CloseHandle(held);
  EXPECT_EQ(failures.Reports.size(), 1u);
  EXPECT_EQ(ReadFile(ncf), "MOUNT ALL\r\n");
}

TEST(AutoUpdate, WriteFailingHalfWayLeavesTheOldFile) {
  TScratchFolder dir("autoupd");
  const std::string ncf = dir / "AUTOEXEC.NCF";
  WriteFile(ncf, "MOUNT ALL\r\nLOAD MONITOR\r\n");
  ASSERT_TRUE(SetFileAttributesA(ncf.c_str(), FILE_ATTRIBUTE_READONLY));
  TFailures failures;
  auto halfWay = [](const std::string& FileName, const std::string& Data) {
    fw::TFileStream file(FileName, fw::fmCreate);
    file.WriteBuffer(Data.data(), Data.size() / 2);
    throw fw::EWriteError("Stream write error");
  };
  EXPECT_FALSE(UpdateLine(ncf, "", kLoad, failures.Recorder(), halfWay));
  EXPECT_EQ(failures.Reports, std::vector<std::string>{"AUTOEXEC.NCF: Stream write error"});
  EXPECT_EQ(ReadFile(ncf), "MOUNT ALL\r\nLOAD MONITOR\r\n");
  EXPECT_EQ(GetFileAttributesA(ncf.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(testsupport::NamesIn(dir.Path()).size(), 2u);  // the file and its copy, no temporary file
  EXPECT_EQ(WaitCursorLevel(), 0);
  SetFileAttributesA(ncf.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA((dir / "AUTOEXEC.BAK").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WaitCursor, OnlyTheOutermostPairChangesTheCursor) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(arrow);
  BeginWaitCursor();
  BeginWaitCursor();
  EXPECT_EQ(GetCursor(), wait);
  // The screen's cursor: windows keep showing it when the mouse moves.
  EXPECT_EQ(fw::ScreenCursor(), fw::crHourGlass);
  EndWaitCursor();
  EXPECT_EQ(GetCursor(), wait);
  EndWaitCursor();
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(fw::ScreenCursor(), fw::crDefault);
  EndWaitCursor();  // unbalanced: ignored
  EXPECT_EQ(WaitCursorLevel(), 0);
  BeginWaitCursor();
  EXPECT_EQ(WaitCursorLevel(), 1);
  EndWaitCursor();
}
