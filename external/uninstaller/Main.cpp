// uninstall.exe <product name>: removes the product as its uninstall log says and tells
// the user what it could not remove. When the environment names a report file in
// STAVREL_UNINSTALL_REPORT, nothing is asked or shown: the report goes to that file.
// Started by the product's uninstall command, the program leaves its folder as well.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "objects/UninstallRemoval.h"
#include "objects/UninstallReportText.h"

namespace {

// The command line after the program's own name.
std::string Arguments() {
  std::string line = GetCommandLineA();
  size_t end = 0;
  if (!line.empty() && line[0] == '"') {
    end = line.find('"', 1);
    end = end == std::string::npos ? line.size() : end + 1;
  } else {
    end = line.find_first_of(" \t");
    if (end == std::string::npos) end = line.size();
  }
  return line.substr(end);
}

// The running program's own path; empty when it cannot be told.
std::string OwnProgram() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// What a message box on this screen can show: its lines as high and its text as wide as
// half the work area in the message font, whatever the report holds.
setup::TReportLimits ScreenLimits() {
  RECT work{0, 0, 800, 600};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  LONG lineHeight = 16, charWidth = 8;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA text{};
    if (GetTextMetricsA(screen, &text)) {
      lineHeight = text.tmHeight + text.tmExternalLeading;
      // Paths are mostly capitals and wide letters: the widest character counts half.
      charWidth = (text.tmAveCharWidth + text.tmMaxCharWidth) / 2;
    }
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
  }
  setup::TReportLimits limits;
  // The title, the first line, an empty line and the button take about eight lines.
  const LONG lines = (work.bottom - work.top) / std::max<LONG>(lineHeight, 1) - 8;
  limits.MaxLines = static_cast<size_t>(std::max<LONG>(lines, 3));
  limits.MaxLineLength = static_cast<size_t>(std::max<LONG>((work.right - work.left) / 2 / std::max<LONG>(charWidth, 1), 40));
  return limits;
}

std::string ReportFile() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetEnvironmentVariableA("STAVREL_UNINSTALL_REPORT", buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string product = setup::ProductNameFromArguments(Arguments());
  const std::string reportFile = ReportFile();
  const bool quiet = !reportFile.empty();
  const char* caption = "Uninstall";
  if (!setup::IsValidProductName(product)) {
    if (!quiet) MessageBoxA(nullptr, "Usage: uninstall.exe <product name>", caption, MB_OK | MB_ICONERROR);
    return 2;
  }
  if (!quiet && MessageBoxA(nullptr, ("Remove " + product + " and all of its components?").c_str(), caption,
                            MB_YESNO | MB_ICONQUESTION) != IDYES)
    return 1;
  // A shared file that no program uses any more leaves the system folder only when the
  // user says so, as Windows asks it; in report mode it stays.
  setup::TSharedFileQuestion removeShared;
  if (!quiet)
    removeShared = [caption](const std::string& Path) {
      return MessageBoxA(nullptr, ("The shared file " + Path + " is no longer used by any program. Remove it?").c_str(),
                         caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
  setup::TUninstallReport report =
      setup::UninstallProduct(product, setup::MachineFolderRules(), OwnProgram(), removeShared);
  const int exitCode = report.Found && report.NotRemoved.empty() ? 0 : 3;
  if (quiet) {
    // The report file holds every line whole.
    const std::string text = setup::UninstallReportText(product, report.Found, report.NotRemoved);
    if (FILE* file = std::fopen(reportFile.c_str(), "wb")) {
      std::fputs(text.c_str(), file);
      std::fclose(file);
    }
  } else {
    const std::string text = setup::UninstallReportText(product, report.Found, report.NotRemoved, ScreenLimits());
    MessageBoxA(nullptr, text.c_str(), caption, MB_OK | (exitCode == 0 ? MB_ICONINFORMATION : MB_ICONWARNING));
  }
  return exitCode;
}
