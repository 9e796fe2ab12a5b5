// Checks a built setup as the loader will read it and lists what it holds: the record,
// the digest trailer, and the files of "setup.1" and "files.1". A console tool for the
// demonstration and for people who build setups.
//
//   setupcheck.exe <setup.exe>
#include <windows.h>

#include <cstdio>

#include "SetupParts.h"
#include "archive/ArchiveStartup.h"
#include "archive/ArchiveText.h"
#include "gui/GuiStartup.h"
#include "support/SupportStartup.h"

namespace {

void List(const char* Title, const std::string& Archive, int32_t Offset) {
  setup::TQnlkCompress archive(nullptr);
  archive.SetCompressedFile(Archive);
  archive.SetOffset(Offset);
  const std::vector<std::string> names = loader::ArchiveFileNames(archive);
  std::printf("%s: %zu files\n", Title, names.size());
  for (const std::string& name : names) std::printf("  %s\n", setup::ExtractFileName(name).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: setupcheck <setup.exe>\n");
    return 2;
  }
  fw::TStartedLibraries libraries(
      {fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)), setup::SupportLibrary(), setup::ArchiveLibrary()});
  try {
    const loader::TSetupParts parts = loader::LocateParts(argv[1]);
    if (!parts.SelfExtracting) {
      std::printf("%s: a setup copied to disks (setup.1 beside it)\n", argv[1]);
      List("setup.1", parts.Archive, 0);
      return 0;
    }
    std::printf("%s: self-extracting, check sum correct\n", argv[1]);
    std::printf("  loader %d bytes, setup.1 %lld bytes, files.1 %lld bytes\n", parts.Info.Setup1First,
                static_cast<long long>(parts.Info.Setup1Size()), static_cast<long long>(parts.Info.Files1Size()));
    List("setup.1", parts.Archive, parts.Info.Setup1First);
    if (parts.Info.HasFiles1()) List("files.1", parts.Archive, parts.Info.Files1First);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
