// The net install location's download against the floor of the internet library itself.
//
//   net_benchmark [MiB [rounds]]
//
// Serves one file (default 64 MiB) from the local HTTP and FTP test servers, then for each
// protocol, alternating, for the given number of rounds (default 9), each first in every other round:
//  - downloads it with a location (8 KiB blocks, progress events, the abort check,
//    messages handled, the local file written; the file of the round before is deleted
//    before the clock starts), and
//  - reads it with a bare loop of InternetReadFile in the same block size into one buffer
//    (the floor: nothing written).
// Prints the best of each in MiB/s and the location's share of the floor, and the median
// of the rounds' own shares (steadier than the best on a busy machine).
#include <windows.h>
// after windows.h
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchMeasures.h"
#include "NetTestServers.h"
#include "gui/GuiStartup.h"
#include "support/NetInstallLocation.h"
#include "support/SupportStartup.h"
#include "support/WinInetLibrary.h"

using namespace setup;

using benchsupport::Fail;
using benchsupport::Now;

namespace {

constexpr char kFileName[] = "bench.1";

// Reads the file once with the bare library calls; returns the bytes read.
int64_t BareRead(const TWinInetEntryPoints& Api, TInternetProtocol Protocol, uint16_t Port) {
  TInternetHandle session(Api, Api.InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) Fail("InternetOpenA");
  bool ftp = Protocol == ipFTP;
  TInternetHandle connection(
      Api, Api.InternetConnectA(session.Get(), "127.0.0.1", Port, ftp ? nullptr : "", ftp ? nullptr : "",
                                ftp ? INTERNET_SERVICE_FTP : INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) Fail("InternetConnectA");
  HINTERNET file = nullptr;
  if (ftp) {
    file = Api.FtpOpenFileA(connection.Get(), kFileName, GENERIC_READ,
                            FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  } else {
    const char* accept[] = {nullptr};
    file = Api.HttpOpenRequestA(connection.Get(), "GET", "/bench.1", nullptr, nullptr, accept,
                                INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (file != nullptr && !Api.HttpSendRequestA(file, nullptr, 0, nullptr, 0)) Fail("HttpSendRequestA");
  }
  TInternetHandle remote(Api, file);
  if (!remote) Fail("opening the remote file");
  std::vector<char> buffer(kNetBlockSize);
  int64_t total = 0;
  DWORD bytes = 0;
  do {
    if (!Api.InternetReadFile(remote.Get(), buffer.data(), kNetBlockSize, &bytes)) Fail("InternetReadFile");
    total += bytes;
  } while (bytes > 0);
  return total;
}

struct TTimes {
  std::vector<double> Location, Floor;
};

double Best(const std::vector<double>& Seconds) {
  return *std::min_element(Seconds.begin(), Seconds.end());
}

// The median of the rounds' floor time / location time.
double MedianShare(const TTimes& Times) {
  std::vector<double> shares;
  for (size_t i = 0; i < Times.Location.size(); ++i) shares.push_back(Times.Floor[i] / Times.Location[i]);
  std::sort(shares.begin(), shares.end());
  size_t middle = shares.size() / 2;
  return shares.size() % 2 != 0 ? shares[middle] : (shares[middle - 1] + shares[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  int mib = argc > 1 ? std::atoi(argv[1]) : 64;
  int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
  if (mib < 1 || rounds < 1) Fail("usage: net_benchmark [MiB [rounds]]");
  fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)), SupportLibrary()});
  benchsupport::TNetTestServers servers;
  const int64_t size = int64_t{mib} << 20;
  servers.Put(kFileName, benchsupport::PatternBytes(static_cast<size_t>(size)));
  benchsupport::TScratchFolder local("netbench");
  TWinInetLibrary library;

  for (TInternetProtocol protocol : {ipHTTP, ipFTP}) {
    uint16_t port = protocol == ipFTP ? servers.FtpPort() : servers.HttpPort();
    TTimes times;
    const auto timeLocation = [&] {
      TNetInstallLocation location(nullptr);
      location.LoginInformation()->SetHostname("127.0.0.1");
      location.LoginInformation()->SetProtocol(protocol);
      location.SetServerPort(port);
      int64_t received = 0;
      location.OnDataReceived = [&](fw::TObject*, const std::string&, int Bytes, int, int, const char*) {
        received += Bytes;
      };
      // Freeing the pages of the round before is no part of a download.
      DeleteFileA((local / kFileName).c_str());
      double start = Now();
      location.Download(kFileName, local / kFileName);
      times.Location.push_back(Now() - start);
      if (received != size) Fail("the location received a wrong number of bytes");
      WIN32_FILE_ATTRIBUTE_DATA written{};
      if (!GetFileAttributesExA((local / kFileName).c_str(), GetFileExInfoStandard, &written) ||
          written.nFileSizeHigh != 0 || written.nFileSizeLow != size)
        Fail("the location wrote a wrong number of bytes");
    };
    const auto timeFloor = [&] {
      double start = Now();
      if (BareRead(library.Api(), protocol, port) != size) Fail("the bare loop read a wrong number of bytes");
      times.Floor.push_back(Now() - start);
    };
    // Each goes first in every other round.
    for (int round = 0; round < rounds; ++round) {
      if (round % 2 == 0) {
        timeLocation();
        timeFloor();
      } else {
        timeFloor();
        timeLocation();
      }
    }
    double mibs = static_cast<double>(mib);
    std::printf(
        "%-4s %d MiB in 8 KiB blocks, best of %d: location %.1f MiB/s, bare InternetReadFile loop %.1f MiB/s: "
        "%.0f%% of the floor (median of the rounds' shares %.0f%%)\n",
        protocol == ipFTP ? "FTP" : "HTTP", mib, rounds, mibs / Best(times.Location), mibs / Best(times.Floor),
        100.0 * Best(times.Floor) / Best(times.Location), 100.0 * MedianShare(times));
  }
  return 0;
}
