// Opening a web address in the default browser.
#pragma once

#include <string>

#include "core/Classes.h"

namespace toolpage {

enum TBrowserState { gwMaximized, gwNormal };

class TGoToWeb : public fw::TComponent {
  FW_CLASS(TGoToWeb, fw::TComponent)
 public:
  explicit TGoToWeb(fw::TComponent* AOwner) : fw::TComponent(AOwner) {}

  const std::string& Url() const { return FUrl; }
  void SetUrl(const std::string& Value) { FUrl = Value; }
  const std::string& EMail() const { return FEMail; }
  void SetEMail(const std::string& Value) { FEMail = Value; }
  const std::string& EMailSubject() const { return FEMailSubject; }
  void SetEMailSubject(const std::string& Value) { FEMailSubject = Value; }
  TBrowserState BrowserState() const { return FBrowserState; }
  void SetBrowserState(TBrowserState Value) { FBrowserState = Value; }

  // Starts the default browser with Url; false when there is none or it cannot start.
  bool OpenUrl();
  // The browser's program; its parameters are kept for OpenUrl.
  std::string GetBrowserProgram();

 private:
  std::string FUrl, FEMail, FEMailSubject;
  TBrowserState FBrowserState = gwMaximized;
};

// The open command of the HTML file type from the registry; empty when none is registered.
std::string FindBrowserCommand();

// Splits a registered open command into the program (behind its last ".EXE", ".BAT" or
// ".COM", without a leading quote) and its parameters (quotes and "%" placeholders removed).
void SplitBrowserCommand(const std::string& Command, std::string& Program, std::string& Parameters);

// The parameters of the browser command split last (cleared by FinalizeGoToWeb).
const std::string& BrowserParameters();
void FinalizeGoToWeb();

int BrowserStateToShowCmd(TBrowserState State);

}  // namespace toolpage
