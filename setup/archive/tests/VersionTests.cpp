// Version texts, the decision table, and both on libraries with real version resources.
#include "ArchiveTestSupport.h"
#include "VersionResource.h"
#include "ArchiveText.h"
#include "FileSystem.h"
#include "core/ClassDef.h"

using namespace setup;
using namespace archive_test;

namespace {

TEST(CompareVersions, ItemsCompareAsNumbersElseAsText) {
  struct Case {
    const char *a, *b;
    int result;
  } const cases[] = {
      {"5.1.2600.0", "5.1.2600.0", 0}, {"2.0", "10.0", 2}, {"1.0.0.1", "1.0.0", 1}, {"1.a", "1.b", 2},
      {"1.10", "1.9", 1},              {"1.0.1", "1.0", 1}, {"", "", 0},            {"", "0", 2},
      {"1.B", "1.a", 2},               {"2.x", "2.10", 1},  {"3", "3.", 0},         {"4.0", "4.00", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareVersions(c.a, c.b), c.result) << c.a << " / " << c.b;
}

TEST(DecideOverwrite, TheTableAsked) {
  std::string source = "1.0", target = "1.0";
  bool exists = true, datesReadable = true;
  int dateOrder = 0;
  int versionReads = 0;
  TOverwriteFacts facts;
  facts.TargetExists = [&] { return exists; };
  facts.SourceVersion = [&] { ++versionReads; return source; };
  facts.TargetVersion = [&] { return target; };
  facts.CompareDates = [&](int& r) { r = dateOrder; return datesReadable; };

  EXPECT_EQ(DecideOverwrite(owAlways, facts), odReplace);
  EXPECT_EQ(DecideOverwrite(owAsk, facts), odAsk);
  EXPECT_EQ(DecideOverwrite(6, facts), odFailed);
  EXPECT_EQ(DecideOverwrite(-1, facts), odFailed);
  EXPECT_EQ(versionReads, 0);
  EXPECT_EQ(DecideOverwrite(owNever, facts), odKeep);
  exists = false;
  EXPECT_EQ(DecideOverwrite(owNever, facts), odReplace);

  EXPECT_EQ(DecideOverwrite(owVersion, facts), odSame);
  source = "1.1";
  EXPECT_EQ(DecideOverwrite(owVersion, facts), odReplace);
  EXPECT_EQ(DecideOverwrite(owVersionDate, facts), odReplace);
  target = "1.2";
  EXPECT_EQ(DecideOverwrite(owVersion, facts), odKeep);
  EXPECT_EQ(DecideOverwrite(owVersionDate, facts), odKeep);

  target = source;
  for (auto [order, code] : {std::pair{0, odSame}, std::pair{1, odReplace}, std::pair{2, odKeep}}) {
    dateOrder = order;
    EXPECT_EQ(DecideOverwrite(owDate, facts), code);
    EXPECT_EQ(DecideOverwrite(owVersionDate, facts), code);
  }
  datesReadable = false;
  EXPECT_EQ(DecideOverwrite(owDate, facts), odFailed);
  EXPECT_EQ(DecideOverwrite(owVersionDate, facts), odFailed);
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
  EXPECT_EQ(info.FileVersion, "2.5.0.1");
  EXPECT_EQ(info.ProductVersion, "2.5 release");  // the string table's text wins
  EXPECT_EQ(info.Comment, "Version 2.5 of the test library");
  EXPECT_EQ(info.CompanyName, "Test Works");
  EXPECT_EQ(info.FileDescription, "Archive test library");
  EXPECT_EQ(info.FileOS, "Windows NT with 32 bit Windows");
  EXPECT_EQ(info.FileType, "Dynamic-Link Library");
  EXPECT_EQ(info.FileSubType, "");
  EXPECT_EQ(info.PrimaryLanguage, 9);
  EXPECT_EQ(info.LegalCopyright, "");

  // Another language's string table is absent: only the fixed part is read.
  resource.SetLanguage(lnGerman);
  EXPECT_EQ(info.FileVersion, "2.5.0.1");
  EXPECT_EQ(info.ProductVersion, "2.5.0.1");
  EXPECT_EQ(info.Comment, "");

  resource.SetFileName(Plain);
  EXPECT_EQ(info.FileVersion, "");
  EXPECT_EQ(info.FileType, "");
  EXPECT_EQ(info.PrimaryLanguage, 0);

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
  HANDLE lock = CreateFileA(Old.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(TVersionResource::IsFileNewerByName(New, Old, owDate), odFailed);
  EXPECT_EQ(TVersionResource::IsFileNewerByVersion("2.5.0.1", Old, owDate, 40000.0), odFailed);
  CloseHandle(lock);
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
  archive.Overwrite = owVersion;
  archive.ExtractDirectory = Path("out");
  SetFiles(archive, {New, Old});
  archive.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\new.dll")), ReadBytes(New));
  EXPECT_EQ(ReadBytes(Path("out\\old.dll")), ReadBytes(New));
}

}  // namespace
