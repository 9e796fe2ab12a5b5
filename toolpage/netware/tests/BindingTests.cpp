// Binding the client libraries by ordinal, on workstations with and without the client.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "ClientApi.h"
#include "ClientLibraries.h"
#include "ClientWarning.h"
#include "Files.h"
#include "gui/WinHandles.h"

using namespace toolpage;
using ::testing::HasSubstr;

namespace {

// The tests of this program run with the client libraries of the build bound.
class TNetWareEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { NetWareLibraryStartup(); }
  void TearDown() override { NetWareLibraryShutdown(); }
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TNetWareEnvironment);

// Runs the probe in its scenario folder (there it finds only that folder's libraries)
// and returns its output; the exit code goes to ExitCode.
std::string RunProbe(const std::string& Scenario, const std::string& Args, DWORD& ExitCode) {
  std::string dir = testsupport::BesideProgram("nwprobe-" + Scenario);
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  fw::TKernelHandle readEnd, writeEnd;
  CreatePipe(readEnd.Put(), writeEnd.Put(), &sa, 0);
  SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd.Get();
  si.hStdError = writeEnd.Get();
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::string command = "\"" + dir + "\\nwbinding_probe.exe\" " + Args;
  ExitCode = 0xFFFFFFFF;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(), &si, &pi))
    return "cannot start " + command;
  fw::TKernelHandle process(pi.hProcess), thread(pi.hThread);
  writeEnd.Reset();  // the probe holds the only writing end: reading ends when it ends
  std::string output;
  char buffer[512];
  DWORD n;
  while (ReadFile(readEnd.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) output.append(buffer, n);
  WaitForSingleObject(process.Get(), 30000);
  GetExitCodeProcess(process.Get(), &ExitCode);
  return output;
}

TEST(ClientBinding, AllLibrariesPresent) {
  DWORD exitCode;
  std::string out = RunProbe("all", "", exitCode);
  EXPECT_EQ(exitCode, 0u) << out;
  EXPECT_THAT(out, HasSubstr("CALWIN32 1"));
  EXPECT_THAT(out, HasSubstr("CLXWIN32 1"));
  EXPECT_THAT(out, HasSubstr("NETWIN32 1"));
  EXPECT_THAT(out, HasSubstr("LOGIN LGNWNT32.DLL"));
  // Each library's initialisation is called once, with (0, 0), right after binding.
  EXPECT_THAT(out, HasSubstr("INIT START CALWIN32 1 (0, 0)"));
  EXPECT_THAT(out, HasSubstr("INIT START NETWIN32 1 (0, 0)"));
  EXPECT_THAT(out, HasSubstr("INIT AGAIN CALWIN32 1 (0, 0)"));
  EXPECT_THAT(out, HasSubstr("INIT AGAIN NETWIN32 1 (0, 0)"));
  // No server configured: the calls reach the client, which answers with codes.
  EXPECT_THAT(out, HasSubstr("CONSOLE1 RESULT 8801"));
  EXPECT_THAT(out, HasSubstr("CLOSE RESULT 8801"));
  EXPECT_THAT(out, HasSubstr("DIALOGS 0"));
  EXPECT_THAT(out, HasSubstr("ALIVE"));
}

TEST(ClientBinding, MissingCalWin32WarnsOnceAndEveryCallRaises) {
  DWORD exitCode;
  std::string out = RunProbe("nocal", "", exitCode);
  EXPECT_EQ(exitCode, 0u) << out;
  EXPECT_THAT(out, HasSubstr("CALWIN32 0"));
  EXPECT_THAT(out, HasSubstr("CLXWIN32 1"));
  // NETWIN32 and LOCWIN32 are there: their initialisation does not depend on CALWIN32.
  EXPECT_THAT(out, HasSubstr("INIT START CALWIN32 0"));
  EXPECT_THAT(out, HasSubstr("INIT START NETWIN32 1 (0, 0)"));
  EXPECT_THAT(out, HasSubstr("CONSOLE1 RAISED NWCLIENT: Uninitialized procedure called"));
  EXPECT_THAT(out, HasSubstr("CONSOLE2 RAISED NWCLIENT: Uninitialized procedure called"));
  EXPECT_THAT(out, HasSubstr("LOAD RAISED NWCLIENT: Uninitialized procedure called"));
  // The libraries that are there still answer.
  EXPECT_THAT(out, HasSubstr("CLOSE RESULT 8801"));
  EXPECT_THAT(out, HasSubstr("DIALOGS 1"));
  // The host is not ended.
  EXPECT_THAT(out, HasSubstr("ALIVE"));
}

TEST(ClientBinding, MissingClientShowsTheRealDialogOnce) {
  DWORD exitCode;
  std::string out = RunProbe("nocal", "--real-dialog", exitCode);
  EXPECT_EQ(exitCode, 0u) << out;
  EXPECT_THAT(out, HasSubstr("DIALOG-LINK https://download.novell.com/"));
  EXPECT_THAT(out, HasSubstr("DIALOGS 1"));
  EXPECT_THAT(out, HasSubstr("CONSOLE2 RAISED NWCLIENT: Uninitialized procedure called"));
  EXPECT_THAT(out, HasSubstr("ALIVE"));
}

TEST(ClientBinding, OlderLoginLibraryIsBoundWhenTheNtOneIsMissing) {
  DWORD exitCode;
  std::string out = RunProbe("lgnw95", "", exitCode);
  EXPECT_EQ(exitCode, 0u) << out;
  EXPECT_THAT(out, HasSubstr("LOGIN LGNW9532.DLL"));
  EXPECT_THAT(out, HasSubstr("CALWIN32 1"));
  EXPECT_THAT(out, HasSubstr("DIALOGS 0"));
}

TEST(ClientBinding, BindClientProcByOrdinal) {
  HMODULE cal = GetModuleHandleA("CALWIN32.DLL");
  ASSERT_NE(cal, nullptr);
  EXPECT_EQ(BindClientProc(cal, 471), reinterpret_cast<TClientProc>(GetProcAddress(cal, MAKEINTRESOURCEA(471))));
  EXPECT_NE(BindClientProc(cal, 471), nullptr);
  EXPECT_EQ(BindClientProc(cal, 9999), nullptr);
  EXPECT_EQ(BindClientProc(nullptr, 471), reinterpret_cast<TClientProc>(&UninitializedProcStub));
  EXPECT_EQ(ClientLibraryFileName(TClientLib::Lgnw), "LGNWNT32.DLL");
  EXPECT_NE(GetProcAddress(cal, "NWScanMountedVolumeList"), nullptr);
}

TEST(ClientWarning, StubFromAnotherThreadRaisesTheThreadAssertion) {
  // The first stub call comes from a worker thread: the dialog cannot be shown there.
  int dialogs = 0;
  auto previous = SetClientWarningDialog([&] { ++dialogs; });
  std::string error;
  std::thread worker([&] {
    try {
      UninitializedProcStub();
    } catch (const fw::Exception& e) {
      error = e.what();
    }
  });
  worker.join();
  EXPECT_EQ(error, "Synchronize: can't find current thread object!");
  EXPECT_EQ(dialogs, 0);
  // The warning counts as given: later calls only raise.
  try {
    UninitializedProcStub();
  } catch (const fw::Exception& e) {
    error = e.what();
  }
  EXPECT_EQ(error, "NWCLIENT: Uninitialized procedure called");
  EXPECT_EQ(dialogs, 0);
  SetClientWarningDialog(previous);
}

}  // namespace
