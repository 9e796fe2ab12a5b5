#include "NetInstallLocation.h"

#include <windows.h>
// after windows.h
#include <wininet.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "BackgroundFileWriter.h"
#include "WinInetLibrary.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/WinHandles.h"

namespace setup {

namespace {

TCustomNetInstallLocationList* gNetLocationList = nullptr;
bool gNetDownloadAbort = false;
TCustomNetInstallLocation* gGlobalNetLocation = nullptr;
TCustomNetInstallLocation* gActiveNetLocation = nullptr;

// Window messages are handled at most this often while a file arrives.
constexpr uint32_t kPumpIntervalMs = 20;
// Received blocks are written to the local file in pieces of this size, by a thread with
// this many buffers: one being filled while the other is written.
constexpr size_t kNetWriteBufferSize = 128 * kNetBlockSize;
constexpr size_t kNetWriteBuffers = 2;
// The HTTP answer's Content-Length as text.
constexpr DWORD kContentLengthBuffer = 33;
// How much of the first HTTP block is searched for an error page's "404".
constexpr size_t kNotFoundProbe = 30;

int32_t ToInt32OrZero(const char* Text) {
  std::string digits = fw::Trim(Text);
  if (digits.empty() || digits.size() > 10 || !std::all_of(digits.begin(), digits.end(), ::isdigit)) return 0;
  long long value = std::stoll(digits);
  return value <= INT32_MAX ? static_cast<int32_t>(value) : 0;
}

// The first block of an answer is an error page that says "404".
bool LooksLikeNotFoundPage(const char* Buffer, DWORD Bytes) {
  size_t length = std::min<size_t>(Bytes, kNotFoundProbe);
  length = strnlen(Buffer, length);
  return fw::UpperCase(std::string_view(Buffer, length)).find("404") != std::string::npos;
}

}  // namespace

const fw::TClass& TCustomNetInstallLocation::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomNetInstallLocation>();
  return cls;
}

const fw::TClass& TNetInstallLocation::StaticClass() {
  using T = TNetInstallLocation;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Creatable()
          .Object("LoginInformation", &T::LoginInformation, &T::SetLoginInformation)
          .Event("OnAfterDownload", static_cast<TNotifyWithAbortFlag T::*>(&T::OnAfterDownload))
          .Event("OnAfterLogin", static_cast<TLoginEvent T::*>(&T::OnAfterLogin))
          .Event("OnBeforeDownload", static_cast<fw::TNotifyEvent T::*>(&T::OnBeforeDownload))
          .Event("OnBeforeLogin", static_cast<TLoginEvent T::*>(&T::OnBeforeLogin))
          .Event("OnDataReceived", static_cast<TDataReceivedEvent T::*>(&T::OnDataReceived));
  return cls;
}

TCustomNetInstallLocation::TCustomNetInstallLocation(fw::TComponent* AOwner)
    : fw::TComponent(AOwner), FLoginInformation(std::make_unique<TLoginInformation>(this)) {
  if (gNetLocationList != nullptr) gNetLocationList->Add(this);
}

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
  if (gActiveNetLocation == this) gActiveNetLocation = nullptr;
  Disconnect();
  FLibrary.reset();
  if (gGlobalNetLocation == this) gGlobalNetLocation = nullptr;
  if (gNetLocationList != nullptr) gNetLocationList->Remove(this);
}

void TCustomNetInstallLocation::SetLoginInformation(const TLoginInformation* Value) {
  FLoginInformation->Assign(Value);
  if (FConnection != nullptr) {
    FLibrary->Api().InternetCloseHandle(FConnection);
    FConnection = nullptr;
  }
}

void TCustomNetInstallLocation::LoadWinInet() {
  FLibrary = std::make_unique<TWinInetLibrary>(kWinInetLibraryName);
}

std::string TCustomNetInstallLocation::ToServerPath(const std::string& Directory) {
  if (fw::Trim(Directory).empty()) return "/";
  std::string path = Directory;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

TCustomNetInstallLocation::THandle TCustomNetInstallLocation::ConnectFtp() {
  const TLoginInformation& login = *FLoginInformation;
  const char* user = login.Anonymous() ? nullptr : login.Username().c_str();
  const char* password = login.Anonymous() ? nullptr : login.Password().c_str();
  INTERNET_PORT port = FServerPort != 0 ? FServerPort : INTERNET_DEFAULT_FTP_PORT;
  return FLibrary->Api().InternetConnectA(FSession, login.Hostname().c_str(), port, user, password,
                                          INTERNET_SERVICE_FTP, 0, 0);
}

TCustomNetInstallLocation::THandle TCustomNetInstallLocation::ConnectHttp() {
  const TLoginInformation& login = *FLoginInformation;
  const char* user = login.Anonymous() ? "" : login.Username().c_str();
  const char* password = login.Anonymous() ? "" : login.Password().c_str();
  INTERNET_PORT port = FServerPort != 0 ? FServerPort : INTERNET_DEFAULT_HTTP_PORT;
  return FLibrary->Api().InternetConnectA(FSession, login.Hostname().c_str(), port, user, password,
                                          INTERNET_SERVICE_HTTP, 0, 0);
}

void TCustomNetInstallLocation::SetFtpDirectory() {
  std::string path = ToServerPath(FLoginInformation->Directory());
  if (FLibrary->Api().FtpSetCurrentDirectoryA(FConnection, path.c_str())) return;
  ENIL_FTPSetDir error("Cannot set directory on server to %s", path);
  // A connection whose folder is not set is not kept: the next Connect tries again.
  FLibrary->Api().InternetCloseHandle(FConnection);
  FConnection = nullptr;
  throw error;
}

void TCustomNetInstallLocation::Connect() {
  gActiveNetLocation = this;
  if (!FLibrary) LoadWinInet();
  const TWinInetEntryPoints& api = FLibrary->Api();
  if (FSession == nullptr) {
    std::string agent = fw::Application != nullptr ? fw::Application->Name() : std::string();
    FSession = api.InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (FSession == nullptr) throw ENIL_OpenSession("Cannot open internet connection");
  }
  if (FConnection == nullptr) {
    if (OnBeforeLogin) OnBeforeLogin(this);
    FConnection = FLoginInformation->Protocol() == ipFTP ? ConnectFtp() : ConnectHttp();
    if (FConnection == nullptr) throw ENIL_OpenService("Cannot connect to host %s", FLoginInformation->Hostname());
    if (OnAfterLogin) OnAfterLogin(this);
    // A relative folder is set once per connection: set again, it would go one level deeper.
    if (FLoginInformation->Protocol() == ipFTP) SetFtpDirectory();
  }
}

void TCustomNetInstallLocation::Disconnect() {
  if (!FLibrary) return;
  const TWinInetEntryPoints& api = FLibrary->Api();
  if (FConnection != nullptr) api.InternetCloseHandle(std::exchange(FConnection, nullptr));
  if (FSession != nullptr) api.InternetCloseHandle(std::exchange(FSession, nullptr));
}

void TCustomNetInstallLocation::Download(const std::string& RemoteName, const std::string& LocalName) {
  gNetDownloadAbort = false;
  Connect();
  FRemoteFileName = RemoteName;
  FLocalFileName = LocalName;
  FLocalFileCreated = false;
  if (OnBeforeDownload) OnBeforeDownload(this);
  try {
    if (FLoginInformation->Protocol() == ipFTP)
      DownloadFtp();
    else
      DownloadHttp();
  } catch (...) {
    if (FLocalFileCreated) DeleteFileA(FLocalFileName.c_str());
    // The connection may be left in any state by a broken transfer: the next download
    // logs in anew.
    if (FConnection != nullptr) FLibrary->Api().InternetCloseHandle(std::exchange(FConnection, nullptr));
    throw;
  }
  bool aborted = gNetDownloadAbort;
  if (aborted && FLocalFileCreated) DeleteFileA(FLocalFileName.c_str());
  if (OnAfterDownload) OnAfterDownload(this, aborted);
  if (aborted) throw EAIUserAbort();
}

void TCustomNetInstallLocation::DownloadFile(const std::string& RemoteName, const std::string& LocalPath,
                                             const TDataReceivedEvent& OnData) {
  OnDataReceived2 = OnData;
  try {
    Download(RemoteName, LocalPath);
  } catch (...) {
    OnDataReceived2 = nullptr;
    throw;
  }
  OnDataReceived2 = nullptr;
}

template <class Body>
void TCustomNetInstallLocation::WithRemoteFile(THandle Handle, Body&& Run) {
  TInternetHandle remote(FLibrary->Api(), Handle);
  Run();
  if (!remote.Close()) throw ENIL_FTPCloseFile("Cannot close the file %s on the server", FRemoteFileName);
}

void TCustomNetInstallLocation::DownloadFtp() {
  const TWinInetEntryPoints& api = FLibrary->Api();
  int32_t size = QueryFileSize(nullptr);
  HINTERNET file = api.FtpOpenFileA(FConnection, FRemoteFileName.c_str(), GENERIC_READ,
                                    FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (file == nullptr) throw ENIL_FTPOpenFile("Cannot open file %s on server", FRemoteFileName);
  WithRemoteFile(file, [&] { ReceiveFile(file, size); });
}

void TCustomNetInstallLocation::DownloadHttp() {
  const TWinInetEntryPoints& api = FLibrary->Api();
  std::string directory = FLoginInformation->Directory();
  if (!directory.empty() && directory.back() != '\\' && directory.back() != '/') directory += '\\';
  std::string object = ToServerPath(directory) + FRemoteFileName;
  if (object.front() != '/') object.insert(object.begin(), '/');
  const char* acceptTypes[] = {nullptr};
  HINTERNET request =
      api.HttpOpenRequestA(FConnection, "GET", object.c_str(), nullptr, nullptr, acceptTypes,
                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (request == nullptr) throw ENIL_HTTPOpenFile("Cannot open file %s on server", FRemoteFileName);
  WithRemoteFile(request, [&] {
    static const char kHeaders[] = "Accept: */*\r\n\r\n";
    if (!api.HttpSendRequestA(request, kHeaders, static_cast<DWORD>(std::strlen(kHeaders)), nullptr, 0))
      throw ENIL_HTTPSendRequest("Cannot send request for file %s to the server", FRemoteFileName);
    CheckHttpStatus(request);
    ReceiveFile(request, QueryFileSize(request));
  });
}

void TCustomNetInstallLocation::CheckHttpStatus(THandle Request) {
  DWORD status = 0, length = sizeof status;
  if (!FLibrary->Api().HttpQueryInfoA(Request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                                      nullptr))
    throw ENIL_FailDataQuery("Could not query file %s on server", FRemoteFileName);
  if (status >= 200 && status < 300) return;
  if (status == 404 || status == 410)
    throw ENIL_FileNotFound("Could not find the file %s on the server", FRemoteFileName);
  throw ENIL_ReadFile("Could not read from file %s on the server", FRemoteFileName);
}

int32_t TCustomNetInstallLocation::QueryFileSize(THandle Request) {
  const TWinInetEntryPoints& api = FLibrary->Api();
  if (FLoginInformation->Protocol() == ipFTP) {
    // The directory entry gives the file's whole size (the bytes available on the open
    // file are only what has arrived so far). A file that cannot be listed has no known
    // size; opening it decides whether it exists.
    WIN32_FIND_DATAA entry{};
    TInternetHandle find(api,
                         api.FtpFindFirstFileA(FConnection, FRemoteFileName.c_str(), &entry, INTERNET_FLAG_RELOAD, 0));
    if (!find || entry.nFileSizeHigh != 0 || entry.nFileSizeLow > INT32_MAX) return 0;
    return static_cast<int32_t>(entry.nFileSizeLow);
  }
  std::array<char, kContentLengthBuffer> text{};
  DWORD length = kContentLengthBuffer - 1;
  if (api.HttpQueryInfoA(Request, HTTP_QUERY_CONTENT_LENGTH, text.data(), &length, nullptr) ||
      GetLastError() == ERROR_HTTP_HEADER_NOT_FOUND)
    return ToInt32OrZero(text.data());
  throw ENIL_FailDataQuery("Could not query file %s on server", FRemoteFileName);
}

void TCustomNetInstallLocation::DoDataReceived(int Bytes, int TotalBytes, int FileSize, const char* Buffer) {
  if (OnDataReceived) OnDataReceived(this, FRemoteFileName, Bytes, TotalBytes, FileSize, Buffer);
  if (OnDataReceived2) OnDataReceived2(this, FRemoteFileName, Bytes, TotalBytes, FileSize, Buffer);
}

void TCustomNetInstallLocation::ReceiveFile(THandle RemoteFile, int32_t FileSize) {
  const TWinInetEntryPoints& api = FLibrary->Api();
  const auto writeError = [this] {
    return ENIL_WriteDestFile(fw::Format("%s could not write to the local dest file %s", Name(), FLocalFileName));
  };
  fw::TFileHandle local(
      CreateFileA(FLocalFileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!local) throw writeError();
  FLocalFileCreated = true;
  // The blocks arrive in one buffer and are copied into the writer's larger ones, which a
  // thread of their own writes while the next blocks arrive: written here, they would cost
  // a good part of the reading time, and reading straight into the writer's buffers is
  // slower than reading into one that stays in the cache.
  TBackgroundFileWriter writer(std::move(local), kNetWriteBufferSize, kNetWriteBuffers);
  std::array<char, kNetBlockSize> block;
  DWORD bytes = 0;
  const auto readBlock = [&] {
    if (!api.InternetReadFile(RemoteFile, block.data(), kNetBlockSize, &bytes))
      throw ENIL_ReadFile("Could not read from file %s on the server", FRemoteFileName);
  };
  readBlock();
  if (FLoginInformation->Protocol() == ipHTTP && LooksLikeNotFoundPage(block.data(), bytes))
    throw ENIL_FileNotFound("Could not find the file %s on the server", FRemoteFileName);
  int64_t total = 0;
  while (bytes > 0) {
    total += bytes;
    DoDataReceived(static_cast<int>(bytes), static_cast<int>(std::min<int64_t>(total, INT32_MAX)), FileSize,
                   block.data());
    uint32_t now = GetTickCount();
    if (now - FLastPump >= kPumpIntervalMs && fw::Application != nullptr) {
      FLastPump = now;
      fw::Application->ProcessMessages();
    }
    if (gNetDownloadAbort) return;
    if (!writer.Append(block.data(), bytes)) throw writeError();
    readBlock();
  }
  if (!writer.Finish()) throw writeError();
  if (total == 0) throw ENIL_FileNotFound("Could not find the file %s on the server", FRemoteFileName);
  // The connection went before the whole file had come.
  if (FileSize > 0 && total != FileSize)
    throw ENIL_ReadFile("Could not read from file %s on the server", FRemoteFileName);
}

// --- the unit's lists and flags ------------------------------------------------------

void TCustomNetInstallLocationList::Add(TCustomNetInstallLocation* Location) {
  if (Location == nullptr) throw IENetList("Cannot add a blank location to the global net location list");
  FItems.push_back(Location);
}

void TCustomNetInstallLocationList::Remove(TCustomNetInstallLocation* Location) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Location), FItems.end());
}

TCustomNetInstallLocationList* NetLocationList() {
  return gNetLocationList;
}

bool NetDownloadAbort() {
  return gNetDownloadAbort;
}

void SetNetDownloadAbort(bool Value) {
  gNetDownloadAbort = Value;
}

TCustomNetInstallLocation* GlobalNetLocation() {
  return gGlobalNetLocation;
}

void SetGlobalNetLocation(TCustomNetInstallLocation* Location) {
  gGlobalNetLocation = Location;
}

TCustomNetInstallLocation* ActiveNetLocation() {
  return gActiveNetLocation;
}

void StartNetInstallUnit() {
  gNetLocationList = new TCustomNetInstallLocationList;
  gNetDownloadAbort = false;
}

void StopNetInstallUnit() {
  delete std::exchange(gNetLocationList, nullptr);
}

}  // namespace setup
