// Extracts a file over a target that is a link, for linked-target.sh.
//
//   archive_linked_target_probe <folder>
//
// Compresses <folder>\src\new.txt into <folder>\files.1 and extracts it into <folder>\out,
// where the script made new.txt a link to a file outside. Ends with 0 when the archive
// reports no failure; what happened to the link and its target is the script's to check.
#include <cstdio>
#include <string>

#include "archive/ArchiveStartup.h"
#include "archive/QnlkCompress.h"
#include "gui/GuiStartup.h"
#include "support/SupportStartup.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: archive_linked_target_probe <folder>\n");
    return 2;
  }
  fw::TStartedLibraries libraries(
      {fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)), setup::SupportLibrary(), setup::ArchiveLibrary()});
  const std::string folder = argv[1];
  setup::TQnlkCompress archive(nullptr);
  archive.SetCompressedFile(folder + "\\files.1");
  archive.FilesToProcess()->Add(folder + "\\src\\new.txt");
  archive.Compress(setup::lzcOverwrite, 1);
  archive.SetExtractDirectory(folder + "\\out");
  archive.FilesToProcess()->Add(folder + "\\src\\new.txt");
  archive.Extract();
  return archive.Abort() ? 1 : 0;
}
