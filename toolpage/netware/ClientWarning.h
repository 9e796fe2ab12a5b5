// The warning that the NetWare client is not installed.
#pragma once

#include <functional>

namespace toolpage {

extern const char* const kClientDownloadUrl;

// Shows the modal dialog "NetWare Client Libraries not Loaded..." with the link to the
// client's download page. Owner may be 0.
void ShowClientWarningForm(void* Owner);

// The routine that shows the warning; tests put one in that does not block.
using TClientWarningDialog = std::function<void()>;
TClientWarningDialog SetClientWarningDialog(TClientWarningDialog Dialog);

// Receiver of the main-thread call that shows the warning. One instance exists from
// the first call of a missing entry to library end; its existence means the warning
// has been given. The host application is not ended: the page runs inside it.
class TClientWarning {
 public:
  void ShowWarning();
};

// Creates the warning object and shows the dialog in the main thread, the first time only.
void GiveClientWarningOnce();
bool ClientWarningGiven();
void FinalizeClientWarning();

}  // namespace toolpage
