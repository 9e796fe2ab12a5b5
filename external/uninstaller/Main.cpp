// uninstall.exe <product name>: removes the product as its uninstall log says and tells
// the user what it could not remove. When the environment names a report file in
// STAVREL_UNINSTALL_REPORT, nothing is asked or shown: the report goes to that file.
// Started by the product's uninstall command, the program leaves its folder as well.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

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

// What a message box on this screen can show: a box grows with its text and does not
// break a line without blanks, so the report's lines are as many as fit two thirds of the
// work area's height and as long as fit two thirds of its width, in the message font
// (with room to spare: systems lay the box's lines out more widely than the font needs).
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
      lineHeight = 2 * (text.tmHeight + text.tmExternalLeading);
      // Paths hold many capitals, wider than the average letter.
      charWidth = text.tmAveCharWidth + (text.tmAveCharWidth + 3) / 4;
    }
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
  }
  const LONG height = (work.bottom - work.top) * 2 / 3, width = (work.right - work.left) * 2 / 3;
  setup::TReportLimits limits;
  limits.MaxLines = static_cast<size_t>(std::max<LONG>(height / std::max<LONG>(lineHeight, 1) - 2, 3));
  limits.MaxLineLength = static_cast<size_t>(std::max<LONG>(width / std::max<LONG>(charWidth, 1), 40));
  return limits;
}

// Writes Text as the whole file; false when it cannot.
bool WriteText(const std::string& Path, const std::string& Text) {
  FILE* file = std::fopen(Path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fputs(Text.c_str(), file) >= 0;
  return std::fclose(file) == 0 && written;
}

// The file in the temporary folder that keeps a report too long for the box; empty when
// it cannot be written.
std::string SavedFullReport(const std::string& Product, const std::string& Text) {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  std::string name = "Uninstall " + Product + ".txt";
  for (char& c : name)
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  const std::string path = std::string(folder, length) + name;
  return WriteText(path, Text) ? path : std::string();
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
  // The report file holds every line whole; so does the file a box names when not all of
  // them fit it.
  const std::string full = setup::UninstallReportText(product, report.Found, report.NotRemoved);
  if (quiet) {
    WriteText(reportFile, full);
  } else {
    const setup::TReportLimits limits = ScreenLimits();
    const std::string fullList = report.NotRemoved.size() > limits.MaxLines ? SavedFullReport(product, full) : "";
    const std::string text = setup::UninstallReportText(product, report.Found, report.NotRemoved, limits, fullList);
    MessageBoxA(nullptr, text.c_str(), caption, MB_OK | (exitCode == 0 ? MB_ICONINFORMATION : MB_ICONWARNING));
  }
  return exitCode;
}
