// The page as an ActiveX control in its host: IToolPage for the host's calls, the OLE
// object and in-place object interfaces for hosting in a window, and a connection point
// for the host's ToolEvents sink.
#pragma once

#include <windows.h>

namespace toolpage {

// A new control, its interface Iid in Object.
HRESULT CreateToolPageControl(REFIID Iid, void** Object);

}  // namespace toolpage
