// Screenshots of windows as PNG files, for people to look at what a test showed.
// They go to <screenshots>\<test program>\<name>.png, where <screenshots> is the folder
// named by STAVREL_SCREENSHOTS (ctest sets it to the build folder's "screenshots"), or
// else "screenshots" next to the test program.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// The folder for this test program's screenshots (not made yet, maybe).
std::string ScreenshotFolder();

// Brings the window to the top, lets it paint, and copies what the screen shows of it
// (from the screen, since PrintWindow draws nothing for windows that do not handle
// WM_PRINTCLIENT). Returns the file written; throws std::runtime_error on failure.
std::string SaveWindowPng(HWND Window, const std::string& Name);
// The whole screen.
std::string SaveScreenPng(const std::string& Name);

}  // namespace testsupport
