// Result-code texts, time-outs, the browser command split and the main-thread rule.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "ExThreads.h"
#include "GoToWeb.h"
#include "NwErrors.h"
#include "Timeout.h"
#include "gui/WinHandles.h"

using namespace toolpage;

namespace {

TEST(NWErrorConstName, KnowsTheTellingRows) {
  const std::pair<NWCCODE, const char*> rows[] = {
      {0x0000, "SUCCESS"},
      {0x8800, "SHELL_ERROR"},
      {0x8801, "INVALID_CONNECTION"},
      {0x8810, "NO_ROUTER_FOUND"},
      {0x8836, "INVALID_PARAMETER"},
      {0x898B, "NO_RENAME_PRIVILEGES"},
      {0x8996, "ERR_TARGET_NOT_A_SUBDIRECTORY / SERVER_OUT_OF_MEMORY"},
      {0x8998, "VOLUME_DOES_NOT_EXIST"},
      {0x899C, "INVALID_PATH / NO_MORE_TRUSTEES"},
      {0x89A8, "ERR_ACCESS_DENIED"},
      {0x89BF, "INVALID_NAME_SPACE"},
      {0x89C6, "NO_CONSOLE_PRIVILEGES"},
      {0x89FB, "ERR_NCP_NOT_SUPPORTED / INVALID_PARAMETERS / NO_SUCH_PROPERTY"},
      {0x89FF, "GENERAL_FAILURE"},
      {0x10002, "NWDP_LE_FLT_BAD_MATCH_SEQ"},
  };
  for (const auto& [code, name] : rows) EXPECT_EQ(NWErrorConstName(code), name) << std::hex << code;
}

TEST(NWErrorConstName, UnknownCodesAndOtherFamilies) {
  EXPECT_EQ(NWErrorConstName(0x1234), "");
  EXPECT_EQ(NWErrorConstName(0x189BF), "");  // family 1 does not hold the server codes
  // Family 0xFFFF is looked up by the low 16 bits in family 0.
  EXPECT_EQ(NWErrorConstName(0xFFFF89BF), "INVALID_NAME_SPACE");
  EXPECT_EQ(NWErrorConstName(0xFFFF0000), "SUCCESS");
  EXPECT_GT(NWErrorConstNameCount(), 100u);
}

TEST(NWErrorText, MessagesNamesAndHexCode) {
  EXPECT_EQ(NWErrorText(0), "");
  EXPECT_EQ(NWErrorText(0x89BF), "Invalid name space (89BF)");
  EXPECT_EQ(NWErrorText(0x8990), "File is \"read-only\" (8990)");
  EXPECT_EQ(NWErrorText(0x0203), "Unable to mount specified volume (0203)");
  EXPECT_EQ(NWErrorText(0x89A8), "Access denied (89A8)");
  // Not among the messages: the constant name.
  EXPECT_EQ(NWErrorText(0x8836), "INVALID_PARAMETER (8836)");
  EXPECT_EQ(NWErrorText(0x1234), "Error code: (1234)");
  EXPECT_EQ(NWErrorText(0x10002), "NWDP_LE_FLT_BAD_MATCH_SEQ (10002)");
  EXPECT_EQ(NWErrorText(0xFFFF89C6), "NO_CONSOLE_PRIVILEGES (FFFF89C6)");
  EXPECT_EQ(NWErrorText(0x5), "Error code: (0005)");
}

TEST(CheckNWError, RaisesWithContextAndCode) {
  EXPECT_NO_THROW(CheckNWError("Unable to rename file\rA.TXT", 0));
  try {
    CheckNWError(fw::Format("Unable to rename file\r%s", "A.TXT"), 0x898B);
    FAIL() << "no exception";
  } catch (const TNWException& e) {
    EXPECT_EQ(e.ErrorCode(), 0x898Bu);
    EXPECT_EQ(e.Message(), "Unable to rename file\rA.TXT\rYou don't have sufficient rights to rename entry (898B)");
  }
}

TEST(TimeoutExpired, BoundaryWrapAndNegative) {
  const uint32_t start = 1000000;
  EXPECT_FALSE(TimeoutExpiredAt(start + 30000, start, 30000));
  EXPECT_TRUE(TimeoutExpiredAt(start + 30001, start, 30000));
  EXPECT_FALSE(TimeoutExpiredAt(start, start, 0));
  EXPECT_TRUE(TimeoutExpiredAt(start + 1, start, 0));
  // The counter wrapped since the start.
  EXPECT_TRUE(TimeoutExpiredAt(5, 0xFFFFFF00u, 30000));
  EXPECT_FALSE(TimeoutExpiredAt(start + 0x7FFFFFFF, start, -1));
  EXPECT_FALSE(TimeoutExpiredAt(5, 0xFFFFFF00u, -1));
}

TEST(SplitBrowserCommand, ProgramAndParameters) {
  std::string program, params;
  SplitBrowserCommand("\"C:\\Program Files\\Web\\browser.exe\" -nohome \"%1\"", program, params);
  EXPECT_EQ(program, "C:\\Program Files\\Web\\browser.exe");
  EXPECT_EQ(params, "-nohome");

  SplitBrowserCommand("C:\\WEB\\BROWSE.EXE", program, params);
  EXPECT_EQ(program, "C:\\WEB\\BROWSE.EXE");
  EXPECT_EQ(params, "");

  // The last extension counts, in any case; placeholders go wherever they stand.
  SplitBrowserCommand("c:\\tools.exe\\start.Bat %1 -new %2 -x", program, params);
  EXPECT_EQ(program, "c:\\tools.exe\\start.Bat");
  EXPECT_EQ(params, "-new  -x");

  // No known extension: the scan ends and the whole command is the program.
  SplitBrowserCommand("\"browser\" %1", program, params);
  EXPECT_EQ(program, "browser\" %1");
  EXPECT_EQ(params, "");
  SplitBrowserCommand("", program, params);
  EXPECT_EQ(program, "");
}

TEST(GoToWeb, PublishedPropertiesAndShowCommand) {
  const fw::TClass& cls = TGoToWeb::StaticClass();
  ASSERT_NE(cls.FindProperty("Url"), nullptr);
  ASSERT_NE(cls.FindProperty("BrowserState"), nullptr);
  TGoToWeb web(nullptr);
  EXPECT_EQ(web.BrowserState(), gwMaximized);
  cls.FindProperty("BrowserState")->SetOrd(&web, gwNormal);
  EXPECT_EQ(web.BrowserState(), gwNormal);
  EXPECT_EQ(BrowserStateToShowCmd(gwMaximized), SW_SHOWMAXIMIZED);
  EXPECT_EQ(BrowserStateToShowCmd(gwNormal), SW_SHOWNORMAL);
}

TEST(RunInMainThread, CallsInMainThreadAndRefusesOthers) {
  int calls = 0;
  RunInMainThread([&] { ++calls; });
  EXPECT_EQ(calls, 1);
  std::string error;
  std::thread worker([&] {
    try {
      RunInMainThread([&] { ++calls; });
    } catch (const EAssertionFailed& e) {
      error = e.Message();
    }
  });
  worker.join();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(error, "Synchronize: can't find current thread object!");
}

TEST(WritablePChar, EmptyAndOwnedText) {
  std::string empty, text = "SYS:SYSTEM";
  ASSERT_NE(WritablePChar(empty), nullptr);
  EXPECT_EQ(*WritablePChar(empty), '\0');
  char* p = WritablePChar(text);
  EXPECT_EQ(p, text.data());
  p[0] = 'X';
  EXPECT_EQ(text, "XYS:SYSTEM");
}

}  // namespace

namespace {

// A registered file type whose open command names a browser, removed again at the end
// (in the machine's classes: the test prefix is private).
class TRegisteredBrowser {
 public:
  TRegisteredBrowser(const char* Extension, const char* FileType, const char* Command)
      : FExt(Extension), FType(FileType) {
    Set(std::string("Software\\Classes\\") + Extension, FileType);
    if (*FileType)
      Set(std::string("Software\\Classes\\") + FileType + "\\shell\\open\\command", Command);
    else
      Set(std::string("Software\\Classes\\") + Extension + "\\shell\\open\\command", Command);
  }
  ~TRegisteredBrowser() {
    for (const std::string& base : {FExt, FType}) {
      if (base.empty()) continue;
      std::string key = "Software\\Classes\\" + base;
      for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (key + sub).c_str());
    }
  }

 private:
  static void Set(const std::string& Key, const std::string& Value) {
    fw::TRegKeyHandle key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
      return;
    if (!Value.empty())
      RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                     static_cast<DWORD>(Value.size() + 1));
  }
  std::string FExt, FType;
};

bool ClassRegistered(const char* Name) {
  fw::TRegKeyHandle key;
  return RegOpenKeyExA(HKEY_CLASSES_ROOT, Name, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

TEST(FindBrowserCommand, FileTypeFirstThenTheExtensionsOwnCommand) {
  if (ClassRegistered(".HTM") || ClassRegistered(".HTML") || ClassRegistered(".SHTML") || ClassRegistered(".SHTM"))
    GTEST_SKIP() << "this prefix registers HTML files itself";
  EXPECT_EQ(FindBrowserCommand(), "");
  {
    TRegisteredBrowser web(".shtm", "", "\"C:\\Web\\own.exe\" %1");
    EXPECT_EQ(FindBrowserCommand(), "\"C:\\Web\\own.exe\" %1");
  }
  {
    TRegisteredBrowser web(".shtml", "StavrelTestPage", "\"C:\\Web\\browser.exe\" -nohome \"%1\"");
    EXPECT_EQ(FindBrowserCommand(), "\"C:\\Web\\browser.exe\" -nohome \"%1\"");
    TGoToWeb go(nullptr);
    EXPECT_EQ(go.GetBrowserProgram(), "C:\\Web\\browser.exe");
    EXPECT_EQ(BrowserParameters(), "-nohome");
  }
  EXPECT_EQ(FindBrowserCommand(), "");
  TGoToWeb go(nullptr);
  go.SetUrl("http://example.invalid/");
  EXPECT_FALSE(go.OpenUrl());  // no browser: nothing is started
}

}  // namespace
