#include "NetErrors.h"

#include <windows.h>
// after windows.h
#include <wininet.h>

#include <array>
#include <utility>

#include "NetInstallLocation.h"

namespace setup {

namespace {

struct TErrorName {
  uint32_t Code;
  const char* Name;
};

constexpr std::array<TErrorName, 52> kErrorNames{{
    {6, "ERROR_INVALID_HANDLE"},
    {12001, "ERROR_INTERNET_OUT_OF_HANDLES"},
    {12002, "ERROR_INTERNET_TIMEOUT"},
    {12003, "ERROR_INTERNET_EXTENDED_ERROR"},
    {12004, "ERROR_INTERNET_INTERNAL_ERROR"},
    {12005, "ERROR_INTERNET_INVALID_URL"},
    {12006, "ERROR_INTERNET_UNRECOGNIZED_SCHEME"},
    {12007, "ERROR_INTERNET_NAME_NOT_RESOLVED"},
    {12008, "ERROR_INTERNET_PROTOCOL_NOT_FOUND"},
    {12009, "ERROR_INTERNET_INVALID_OPTION"},
    {12010, "ERROR_INTERNET_BAD_OPTION_LENGTH"},
    {12011, "ERROR_INTERNET_OPTION_NOT_SETTABLE"},
    {12012, "ERROR_INTERNET_SHUTDOWN"},
    {12013, "ERROR_INTERNET_INCORRECT_USER_NAME"},
    {12014, "ERROR_INTERNET_INCORRECT_PASSWORD"},
    {12015, "ERROR_INTERNET_LOGIN_FAILURE"},
    {12016, "ERROR_INTERNET_INVALID_OPERATION"},
    {12017, "ERROR_INTERNET_OPERATION_CANCELLED"},
    {12018, "ERROR_INTERNET_INCORRECT_HANDLE_TYPE"},
    {12019, "ERROR_INTERNET_INCORRECT_HANDLE_STATE"},
    {12020, "ERROR_INTERNET_NOT_PROXY_REQUEST"},
    {12021, "ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND"},
    {12022, "ERROR_INTERNET_BAD_REGISTRY_PARAMETER"},
    {12023, "ERROR_INTERNET_NO_DIRECT_ACCESS"},
    {12024, "ERROR_INTERNET_NO_CONTEXT"},
    {12025, "ERROR_INTERNET_NO_CALLBACK"},
    {12026, "ERROR_INTERNET_REQUEST_PENDING"},
    {12027, "ERROR_INTERNET_INCORRECT_FORMAT"},
    {12028, "ERROR_INTERNET_ITEM_NOT_FOUND"},
    {12029, "ERROR_INTERNET_CANNOT_CONNECT"},
    {12030, "ERROR_INTERNET_CONNECTION_ABORTED"},
    {12031, "ERROR_INTERNET_CONNECTION_RESET"},
    {12032, "ERROR_INTERNET_FORCE_RETRY"},
    {12036, "ERROR_INTERNET_HANDLE_EXISTS"},
    {12041, "ERROR_INTERNET_MIXED_SECURITY"},
    {12110, "ERROR_FTP_TRANSFER_IN_PROGRESS"},
    {12111, "ERROR_FTP_DROPPED"},
    {12130, "ERROR_GOPHER_PROTOCOL_ERROR"},
    {12131, "ERROR_GOPHER_NOT_FILE"},
    {12132, "ERROR_GOPHER_DATA_ERROR"},
    {12133, "ERROR_GOPHER_END_OF_DATA"},
    {12134, "ERROR_GOPHER_INVALID_LOCATOR"},
    {12135, "ERROR_GOPHER_INCORRECT_LOCATOR_TYPE"},
    {12136, "ERROR_GOPHER_NOT_GOPHER_PLUS"},
    {12137, "ERROR_GOPHER_ATTRIBUTE_NOT_FOUND"},
    {12138, "ERROR_GOPHER_UNKNOWN_LOCATOR"},
    {12150, "ERROR_HTTP_HEADER_NOT_FOUND"},
    {12151, "ERROR_HTTP_DOWNLEVEL_SERVER"},
    {12152, "ERROR_HTTP_INVALID_SERVER_RESPONSE"},
    {12153, "ERROR_HTTP_INVALID_HEADER"},
    {12154, "ERROR_HTTP_INVALID_QUERY_REQUEST"},
    {12155, "ERROR_HTTP_HEADER_ALREADY_EXISTS"},
}};

constexpr DWORD kResponseBufferSize = 3000;

std::string ActiveHostname() {
  TCustomNetInstallLocation* active = ActiveNetLocation();
  return active != nullptr ? active->LoginInformation()->Hostname() : std::string();
}

}  // namespace

std::string WinInetErrorName(uint32_t Code) {
  for (const TErrorName& entry : kErrorNames)
    if (entry.Code == Code) return entry.Name;
  return "Unregistered error code";
}

std::string GetServerResponse() {
  // The library is looked up, never loaded here: an error raised before any download has
  // no server to quote.
  HMODULE library = GetModuleHandleA("WININET.DLL");
  if (library == nullptr) return "No server response";
  auto query = reinterpret_cast<decltype(&::InternetGetLastResponseInfoA)>(
      reinterpret_cast<void*>(GetProcAddress(library, "InternetGetLastResponseInfoA")));
  if (query == nullptr) return "No server response";
  std::string text(kResponseBufferSize, '\0');
  DWORD error = 0, length = kResponseBufferSize;
  if (!query(&error, text.data(), &length)) return "No server response";
  text.resize(std::min<DWORD>(length, kResponseBufferSize));
  return fw::TrimRight(text);
}

ENIL::ENIL(const std::string& Text) : ENIL(Text, TFailure{GetLastError()}) {}

ENIL::ENIL(const std::string& Text, TFailure Failure)
    : Exception(fw::Format("%s. Error message %s. Server %s. Response from server %s", Text,
                           WinInetErrorName(Failure.Code), ActiveHostname(), GetServerResponse())),
      FErrorCode(Failure.Code) {}

}  // namespace setup
