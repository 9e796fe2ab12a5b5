// The net install location without a server: server paths, login information, error
// names and messages, loading the internet library, the list of locations and the
// location as a form describes it.
#include <gtest/gtest.h>
#include <windows.h>

#include "RaisedMessage.h"
#include "core/FormReader.h"
#include "support/NetInstallLocation.h"
#include "support/WinInetLibrary.h"

using namespace setup;

namespace {

std::string ProgramFolder() {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, n);
  return path.substr(0, path.rfind('\\'));
}

using testsupport::MessageOf;

}  // namespace

TEST(NetServerPath, BlankIsTheRootAndBackSlashesTurnForward) {
  EXPECT_EQ(TCustomNetInstallLocation::ToServerPath(""), "/");
  EXPECT_EQ(TCustomNetInstallLocation::ToServerPath("  \t"), "/");
  EXPECT_EQ(TCustomNetInstallLocation::ToServerPath("updates/vx4cs"), "updates/vx4cs");
  EXPECT_EQ(TCustomNetInstallLocation::ToServerPath("updates\\vx4cs\\"), "updates/vx4cs/");
  EXPECT_EQ(TCustomNetInstallLocation::ToServerPath(" pub "), " pub ");
}

TEST(NetLoginInformation, AnonymousNeedsAHostOtherwiseAnyField) {
  TLoginInformation login;
  EXPECT_TRUE(login.Anonymous());
  EXPECT_EQ(login.Protocol(), ipHTTP);
  EXPECT_FALSE(login.LoginInformationNotBlank());
  login.SetHostname("   ");
  EXPECT_FALSE(login.LoginInformationNotBlank());
  login.SetUsername("guest");
  EXPECT_FALSE(login.LoginInformationNotBlank()) << "an anonymous login ignores the user name";
  login.SetAnonymous(false);
  EXPECT_TRUE(login.LoginInformationNotBlank());
  login.SetUsername(" ");
  EXPECT_FALSE(login.LoginInformationNotBlank());
  login.SetPassword("secret");
  EXPECT_TRUE(login.LoginInformationNotBlank());
  login.SetPassword("");
  login.SetHostname("files.example");
  EXPECT_TRUE(login.LoginInformationNotBlank());
}

TEST(NetLoginInformation, AssignCopiesTheSixPropertiesAndRefusesOtherClasses) {
  TLoginInformation source;
  source.SetAnonymous(false);
  source.SetDirectory("pub\\setup");
  source.SetHostname("files.example");
  source.SetPassword("pw");
  source.SetProtocol(ipFTP);
  source.SetUsername("user");
  TNetInstallLocation location(nullptr);
  location.SetLoginInformation(&source);
  const TLoginInformation& copy = *location.LoginInformation();
  EXPECT_NE(&copy, &source);
  EXPECT_FALSE(copy.Anonymous());
  EXPECT_EQ(copy.Directory(), "pub\\setup");
  EXPECT_EQ(copy.Hostname(), "files.example");
  EXPECT_EQ(copy.Password(), "pw");
  EXPECT_EQ(copy.Protocol(), ipFTP);
  EXPECT_EQ(copy.Username(), "user");
  EXPECT_EQ(copy.Location(), &location);
  fw::TComponent other(nullptr);
  EXPECT_THROW(location.LoginInformation()->Assign(&other), fw::EConvertError);
}

TEST(NetErrorNames, FiftyTwoNamedCodesAndTheRestUnregistered) {
  EXPECT_EQ(WinInetErrorName(6), "ERROR_INVALID_HANDLE");
  EXPECT_EQ(WinInetErrorName(12001), "ERROR_INTERNET_OUT_OF_HANDLES");
  EXPECT_EQ(WinInetErrorName(12002), "ERROR_INTERNET_TIMEOUT");
  EXPECT_EQ(WinInetErrorName(12029), "ERROR_INTERNET_CANNOT_CONNECT");
  EXPECT_EQ(WinInetErrorName(12031), "ERROR_INTERNET_CONNECTION_RESET");
  EXPECT_EQ(WinInetErrorName(12032), "ERROR_INTERNET_FORCE_RETRY");
  EXPECT_EQ(WinInetErrorName(12111), "ERROR_FTP_DROPPED");
  EXPECT_EQ(WinInetErrorName(12138), "ERROR_GOPHER_UNKNOWN_LOCATOR");
  EXPECT_EQ(WinInetErrorName(12150), "ERROR_HTTP_HEADER_NOT_FOUND");
  EXPECT_EQ(WinInetErrorName(12155), "ERROR_HTTP_HEADER_ALREADY_EXISTS");
  for (uint32_t code : {0u, 5u, 12000u, 12033u, 12037u, 12156u, 0xFFFFFFFFu})
    EXPECT_EQ(WinInetErrorName(code), "Unregistered error code") << code;
  int named = 0;
  for (uint32_t code = 0; code < 13000; ++code) named += WinInetErrorName(code) != "Unregistered error code";
  EXPECT_EQ(named, 52);
}

TEST(NetErrorMessages, NetErrorsNameTheErrorTheHostAndTheResponse) {
  TNetInstallLocation location(nullptr);
  location.LoginInformation()->SetHostname("files.example");
  SetLastError(12029);
  std::string message = ENIL_OpenService("Cannot connect to host %s", "files.example").Message();
  EXPECT_EQ(message.rfind("Cannot connect to host files.example. Error message ERROR_INTERNET_CANNOT_CONNECT. Server "
                          ". Response from server ",
                          0),
            0u)
      << message << " (no location has connected, so no host is named)";
  SetLastError(12002);
  ENIL_ReadFile error("Could not read from file %s on the server", "a.1");
  EXPECT_EQ(error.ErrorCode(), 12002u);
  // The plain ones carry only their own text.
  SetLastError(12002);
  EXPECT_EQ(ENIL_WriteDestFile("text").Message(), "text");
}

TEST(NetInternetLibrary, AMissingLibraryOrEntryPointIsNamed) {
  EXPECT_EQ(MessageOf<ENIL_FailLoadWININET>([] { TWinInetLibrary library("no_such_internet_library.dll"); }),
            "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to include the "
            "WININET.DLL file in the PresetupFiles property of the TInstall component");
  EXPECT_EQ(MessageOf<ENIL_FailLoadDLLProc>([] { TWinInetLibrary library(ProgramFolder() + "\\wininet_standin.dll"); }),
            "Failed to load the procedure InternetConnect from WININET.DLL");
  EXPECT_EQ(MessageOf<ENIL_FailLoadDLLProc>([] { TWinInetLibrary library("kernel32.dll"); }),
            "Failed to load the procedure InternetGetLastResponseInfo from WININET.DLL");
  EXPECT_NO_THROW(TWinInetLibrary library);
}

TEST(NetLocationList, LocationsJoinAndLeaveAndTheGlobalsForgetThem) {
  ASSERT_NE(NetLocationList(), nullptr);
  int before = NetLocationList()->Count();
  auto* location = new TNetInstallLocation(nullptr);
  EXPECT_EQ(NetLocationList()->Count(), before + 1);
  EXPECT_FALSE(location->WinInetLoaded()) << "the library is loaded only for a download";
  SetGlobalNetLocation(location);
  delete location;
  EXPECT_EQ(NetLocationList()->Count(), before);
  EXPECT_EQ(GlobalNetLocation(), nullptr);
  try {
    NetLocationList()->Add(nullptr);
    FAIL();
  } catch (const IENetList& e) {
    EXPECT_EQ(e.Message(), "Cannot add a blank location to the global net location list");
  }
}

TEST(NetLocationList, AFormDescribesTheLocationAndItsLogin) {
  fw::TOwnedPtr<fw::TComponent> root(new fw::TComponent(nullptr));
  fw::ReadComponentFromText(root.get(), R"(object Setup: TComponent
  object NetLocation: TNetInstallLocation
    LoginInformation.Anonymous = False
    LoginInformation.Directory = 'updates/vx4cs'
    LoginInformation.Hostname = 'files.example'
    LoginInformation.Protocol = ipFTP
    LoginInformation.Username = 'user'
  end
end
)",
                            "TEST");
  auto* location = dynamic_cast<TNetInstallLocation*>(root->FindComponent("NetLocation"));
  ASSERT_NE(location, nullptr);
  EXPECT_EQ(location->Directory(), "updates/vx4cs");
  EXPECT_EQ(location->Hostname(), "files.example");
  EXPECT_EQ(location->Protocol(), ipFTP);
  EXPECT_FALSE(location->LoginInformation()->Anonymous());
  EXPECT_TRUE(location->LoginInformationUsable());
}
