// The framework's Windows half starts with the module that holds the code: an EXE passes
// its instance handle, a DLL its own. Window classes are registered for that module,
// windows are created with it and form resources are read from it, so a DLL's forms
// never depend on the program that loaded it. Shut-down frees the application object
// (and with it every form), then unregisters the window classes, so that no class is
// left pointing at code that is about to be unloaded.
#pragma once

#include <windows.h>

#include <string>

#include "core/Startup.h"

namespace fw {

// The framework's GUI: registers the control classes that form resources name and
// creates the application object.
TLibrary GuiLibrary(HINSTANCE Module);

// The module given at start-up; raises EComponentError before it or after shut-down.
HINSTANCE ModuleInstance();

// Registers the framework's window class of that name for the module once; it is
// unregistered at shut-down.
void EnsureWindowClass(const std::string& ClassName, WNDPROC WindowProc);

}  // namespace fw
