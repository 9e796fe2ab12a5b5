// Version texts, the decision table, and both on libraries with real version resources.
#include "ArchiveTestSupport.h"
#include "ArchiveText.h"
#include "FileSystem.h"
#include "VersionResource.h"
#include "core/ClassDef.h"

using namespace setup;
using namespace archive_test;

namespace {

// A version block (the 32-bit layout) whose fixed part announces Length bytes, in a
// buffer that goes on with bytes that would read as version 4369.4369.4369.4369.
std::vector<uint8_t> VersionBlock(uint16_t Length) {
  std::vector<uint8_t> block(160, 0x11);
  auto word = [&](size_t at, uint16_t v) {
    block[at] = static_cast<uint8_t>(v);
    block[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  word(0, static_cast<uint16_t>(block.size()));
  word(2, Length);
  word(4, 0);  // binary value
  const char key[] = "VS_VERSION_INFO";
  for (size_t i = 0; i < sizeof key; ++i) word(6 + 2 * i, static_cast<uint16_t>(key[i]));
  // The value starts at 40: the signature and the structure version.
  word(40, 0x04BD);
  word(42, 0xFEEF);
  word(44, 0);
  word(46, 1);
  return block;
}

// A fixed part shorter than its record is no version: nothing behind it is read.
TEST(VersionBlock, AShortFixedPartIsNoVersion) {
  TVersionResource resource(nullptr);
  std::vector<uint8_t> whole = VersionBlock(sizeof(VS_FIXEDFILEINFO));
  resource.ClearVersionInfo();
  resource.ParseVersionInfo(whole.data());
  EXPECT_EQ(resource.VersionInfo()->FileVersion(), "4369.4369.4369.4369");  // the block itself is sound

  std::vector<uint8_t> brief = VersionBlock(8);
  resource.ClearVersionInfo();
  resource.ParseVersionInfo(brief.data());
  EXPECT_EQ(resource.VersionInfo()->FileVersion(), "");
  EXPECT_EQ(resource.VersionInfo()->FileOS(), "");
}

class RealVersions : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    std::string bin = ExtractFilePath(ProgramFileName());
    ASSERT_TRUE(CopyFileA((bin + "archive_version_old.dll").c_str(), Old.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "archive_version_new.dll").c_str(), New.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(New.c_str(), NewCopy.c_str(), FALSE));
    WriteText(Plain, "no resource here");
    for (const std::string& f : {Old, New, NewCopy, Plain}) SetFileDate(f, 2015, 1, 1);
  }
  const std::string Old = Path("old.dll"), New = Path("new.dll"), NewCopy = Path("newcopy.dll"),
                    Plain = Path("plain.txt");
};

TEST_F(RealVersions, TheResourceIsReadIntoItsProperties) {
  TVersionResource resource(nullptr);
  resource.SetFileName(New);
  const TVersionInfo& info = *resource.VersionInfo();
  EXPECT_EQ(info.FileVersion(), "2.5.0.1");
  EXPECT_EQ(info.ProductVersion(), "2.5 release");  // the string table's text wins
  EXPECT_EQ(info.Comment(), "Version 2.5 of the test library");
  EXPECT_EQ(info.CompanyName(), "Test Works");
  EXPECT_EQ(info.FileDescription(), "Archive test library");
  EXPECT_EQ(info.FileOS(), "Windows NT with 32 bit Windows");
  EXPECT_EQ(info.FileType(), "Dynamic-Link Library");
  EXPECT_EQ(info.FileSubType(), "");
  EXPECT_EQ(info.PrimaryLanguage(), 9);
  EXPECT_EQ(info.LegalCopyright(), "");

  // Another language's string table is absent: only the fixed part is read.
  resource.SetLanguage(lnGerman);
  EXPECT_EQ(info.FileVersion(), "2.5.0.1");
  EXPECT_EQ(info.ProductVersion(), "2.5.0.1");
  EXPECT_EQ(info.Comment(), "");

  resource.SetFileName(Plain);
  EXPECT_EQ(info.FileVersion(), "");
  EXPECT_EQ(info.FileType(), "");
  EXPECT_EQ(info.PrimaryLanguage(), 0);

  // The published properties reach the same values.
  const fw::TPropInfo* prop = TVersionResource::StaticClass().FindProperty("CharacterSet");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->GetOrd(&resource), csMultilingual);
  EXPECT_EQ(TVersionResource::GetLangID(lnSwissFrench), 4108);
  EXPECT_EQ(TVersionResource::GetCodePage(csArabic), 1256);
}

TEST_F(RealVersions, DecisionsOnFilesByName) {
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, Old, owVersion), odReplace);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(Old, New, owVersion), odKeep);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, NewCopy, owVersion), odSame);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, Plain, owVersion), odReplace);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(Plain, New, owVersion), odKeep);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, Path("none.dll"), owNever), odReplace);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, "  ", owNever), odReplace);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, Old, owNever), odKeep);

  // Equal versions fall back to the dates.
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, NewCopy, owVersionDate), odSame);
  SetFileDate(New, 2016, 1, 1);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, NewCopy, owVersionDate), odReplace);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(NewCopy, New, owDate), odKeep);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(Old, New, owVersionDate), odKeep);

  // A target locked against reading cannot be compared by date.
  fw::TFileHandle lock(CreateFileA(Old.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, Old, owDate), odFailed);
  EXPECT_EQ(TVersionResource::IsFileNewerByVersion("2.5.0.1", Old, owDate, 40000.0), odFailed);
}

TEST_F(RealVersions, ExtractionDecidesByTheStoredVersion) {
  TQnlkCompress archive(nullptr);
  archive.SetCompressedFile(Path("files.1"));
  SetFiles(archive, {New, Old});
  archive.Compress(lzcOverwrite, 1);
  TlzhFileStats stats;
  archive.GetFileStats(0, stats);
  EXPECT_EQ(archive.Headers()[0].FileVersion(), "2.5.0.1");
  EXPECT_EQ(archive.Headers()[1].FileVersion(), "1.0.0.0");

  CreateDirectoryA(Path("out").c_str(), nullptr);
  // out\new.dll holds the old library: the newer one replaces it.
  ASSERT_TRUE(CopyFileA(Old.c_str(), Path("out\\new.dll").c_str(), FALSE));
  // out\old.dll holds the new library: the older one does not replace it.
  ASSERT_TRUE(CopyFileA(New.c_str(), Path("out\\old.dll").c_str(), FALSE));
  archive.SetOverwrite(owVersion);
  archive.SetExtractDirectory(Path("out"));
  SetFiles(archive, {New, Old});
  archive.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\new.dll")), ReadBytes(New));
  EXPECT_EQ(ReadBytes(Path("out\\old.dll")), ReadBytes(New));
}

}  // namespace
