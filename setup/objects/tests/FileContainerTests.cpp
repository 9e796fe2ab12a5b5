#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "ObjectTestSupport.h"
#include "core/FormReader.h"
#include "objects/Broadcasts.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "paths/FileContainerSpecifier.h"

using namespace setup;
using namespace setup::testing;

namespace {

class TFilesForm : public fw::TForm {
  FW_CLASS(TFilesForm, fw::TForm)
 public:
  using fw::TForm::TForm;
};
const fw::TClass& TFilesForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TFilesForm>().Creatable();
  return cls;
}

struct TStatus {
  std::string File;
  int Percent;
  int TotalPercent;
  bool operator==(const TStatus&) const = default;
};

// A group holding a directory with files of 300 and 700 bytes and a file of 1000 bytes
// of its own, all compressed into one archive.
class ContainerProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string source = Scratch.Folder("src");
    Archive = Scratch / "files.1";
    WriteFile(source + "\\a.txt", Content(300, 'a'));
    WriteFile(source + "\\b.txt", Content(700, 'b'));
    WriteFile(source + "\\c.txt", Content(1000, 'c'));
    Group = new TInstallGroup(&Owner);
    Group->SetName("Group");
    Group->SetArchiveFile(Archive);
    Group->SetDestDirType(nullptr);
    Group->SetDestDir(Scratch.Folder("dest"));
    Dir = new TInstallDirectory(&Owner);
    Dir->SetName("Dir");
    Dir->SetContainer(Group);
    Dir->SetAddToArchive(lzcOnlyAdd);
    Dir->SetDestDir("\\sub");
    A = AddFile(Dir, source + "\\a.txt", "A");
    B = AddFile(Dir, source + "\\b.txt", "B");
    C = AddFile(Group, source + "\\c.txt", "C");
    Group->Compress(coForceNetFilesLocal);
    Group->OnStatus = [this](TCustomInstallFile* File, int Percent, int Total) {
      GroupStatus.push_back({File->Name(), Percent, Total});
    };
    Dir->OnStatus = [this](TCustomInstallFile* File, int Percent, int Total) {
      DirStatus.push_back({File->Name(), Percent, Total});
    };
  }
  TInstallFile* AddFile(TFileContainer* Container, const std::string& Path, const std::string& Name) {
    auto* file = new TInstallFile(&Owner, Container, Path);
    file->SetName(Name);
    file->SetAddToArchive(lzcOnlyAdd);
    return file;
  }
  // The last status of each file.
  static std::vector<TStatus> Finals(const std::vector<TStatus>& All) {
    std::vector<TStatus> finals;
    for (const TStatus& s : All) {
      if (!finals.empty() && finals.back().File == s.File)
        finals.back() = s;
      else
        finals.push_back(s);
    }
    return finals;
  }

  TScratchFolder Scratch{"progress"};
  fw::TOwnedPtr<TFilesForm> Form{new TFilesForm(nullptr)};
  fw::TComponent& Owner = *Form;
  std::string Archive;
  TInstallGroup* Group = nullptr;
  TInstallDirectory* Dir = nullptr;
  TInstallFile *A = nullptr, *B = nullptr, *C = nullptr;
  std::vector<TStatus> GroupStatus, DirStatus;
};

TEST_F(ContainerProgress, TotalsCountEveryContainerLevel) {
  EXPECT_EQ(Dir->GetTotalSize(false), 1000);
  EXPECT_EQ(Group->GetFilesSize(false), 1000);
  EXPECT_EQ(Group->GetTotalSize(false), 2000);
  Dir->SetInclude(false);
  EXPECT_EQ(Group->GetTotalSize(false), 1000);
  EXPECT_EQ(Group->GetTotalSize(true), 2000);
  Dir->SetInclude(true);
  Group->ReadInfoFromArchive();
  EXPECT_GT(Group->GetCompressedSize(false), 0);
  EXPECT_EQ(Group->FindFileBySource(Scratch / "src\\C.TXT"), C);
  EXPECT_EQ(Group->FindFileBySource(Scratch / "src\\a.txt"), nullptr);
}

TEST_F(ContainerProgress, InstallReportsEachFileAndTheWholeOperation) {
  Group->Process();
  EXPECT_EQ(ReadFile(Scratch / "dest\\sub\\a.txt"), Content(300, 'a'));
  EXPECT_EQ(ReadFile(Scratch / "dest\\sub\\b.txt"), Content(700, 'b'));
  EXPECT_EQ(ReadFile(Scratch / "dest\\c.txt"), Content(1000, 'c'));
  // Files of one category install last added first; file containers before files.
  EXPECT_EQ(Finals(DirStatus), (std::vector<TStatus>{{"B", 100, 70}, {"A", 100, 100}}));
  EXPECT_EQ(Finals(GroupStatus), (std::vector<TStatus>{{"B", 100, 35}, {"A", 100, 50}, {"C", 100, 100}}));
  EXPECT_EQ(Group->State(), ifsNone);
  EXPECT_EQ(Dir->State(), ifsNone);
}

TEST_F(ContainerProgress, StatusOfPartsOfFilesCountsTheFinishedOnes) {
  // Reports sent while the directory's operation runs, before its files install.
  Dir->OnBeforeInstallObjects = [this](TInstallContainer*) {
    auto send = [&](TInstallFile* File, int32_t Size, bool Finished) {
      TFileStatusParameter parameter;
      parameter.Size = Size;
      parameter.Percent = Size * 100 / File->UncompressedSize();
      parameter.Stats.Finished = Finished;
      parameter.Stats.FileSize = File->UncompressedSize();
      TInformationList list{File, &parameter};
      File->ReportInformation(irInstallProgress, &list);
      return parameter.TotalPercent;
    };
    EXPECT_EQ(send(A, 150, false), 15);
    EXPECT_EQ(send(A, 300, true), 30);
    EXPECT_EQ(send(B, 350, false), 65);
    throw fw::EAbort("");
  };
  Dir->Process();
  EXPECT_EQ(Dir->State(), ifsNone);
  EXPECT_FALSE(Exists(Scratch / "dest\\sub\\a.txt"));
}

TEST_F(ContainerProgress, LargeFilesDoNotOverflowThePercentages) {
  // 30 MB reported of a 40 MB operation.
  Dir->OnBeforeInstallObjects = [this](TInstallContainer*) {
    TFileStatusParameter parameter;
    parameter.Size = 30'000'000;
    TInformationList list{A, &parameter};
    const_cast<TInstallDirectory*>(Dir)->DoInformationEventControl(A, irInstallProgress, &list);
    EXPECT_EQ(parameter.TotalPercent, 30'000'000LL * 100 / 1000);
    throw fw::EAbort("");
  };
  Dir->Process();
}

TEST_F(ContainerProgress, BadReportsAreRefusedWithTheirTexts) {
  TInstallFile* file = A;
  auto message = [&](int Code, fw::TObject* PO) {
    try {
      Dir->DoInformationEventControl(file, Code, PO);
    } catch (const IEFileContainer& e) {
      return std::string(e.Message());
    }
    return std::string("no error");
  };
  // Idle: dropped without a look at the parameter.
  EXPECT_EQ(message(irInstallProgress, nullptr), "no error");
  Dir->SetState(ifsInstall);
  TFileStatusParameter status;
  TDiskParameter disk;
  TInformationList one{file};
  TInformationList swapped{&status, file};
  TInformationList badStatus{file, &disk};
  TInformationList badDisk{file, &status};
  EXPECT_EQ(message(irInstallProgress, nullptr), "Dir got a nil PO parameter");
  EXPECT_EQ(message(irFileReplacing, &status), "DoInformationEventControl parameter is not TInstallFile");
  EXPECT_EQ(message(irCopyProgress, &status), "DoInformationEventControl--PO is not a TList object");
  EXPECT_EQ(message(irCompressProgress, &one), "DoInformationEventControl--Not engouh parameters for status event");
  EXPECT_EQ(message(irInstallProgress, &swapped), "DoInformationEventControl says bad first parameter");
  EXPECT_EQ(message(irInstallProgress, &badStatus), "DoInformationEventControl says bad second parameter");
  EXPECT_EQ(message(irDiskRequest, &swapped), "DoInformationEventControl says bad 1 parameter");
  EXPECT_EQ(message(irDiskRequest, &badDisk), "DoInformationEventControl says bad 2 parameter");
  EXPECT_EQ(message(irFileKept, &status), "DoInformationEventControl says bad first parameter");
  EXPECT_EQ(message(irDownloadStatus, file), "The PO object passed to Dir is not a TDownloadStatusParameter object");
  Dir->SetState(ifsNone);
}

TEST_F(ContainerProgress, DiskRequestsReachTheContainersHandler) {
  Dir->OnNewDisk = [](TCustomInstallFile*, int Disk, std::string& Path) { Path = "E:\\disk" + std::to_string(Disk); };
  Dir->SetState(ifsInstall);
  TDiskParameter disk;
  disk.DiskNumber = 2;
  TInformationList list{A, &disk};
  Dir->DoInformationEventControl(A, irDiskRequest, &list);
  Dir->SetState(ifsNone);
  EXPECT_EQ(disk.Path, "E:\\disk2");
  EXPECT_EQ(A->Tag(), 1);
}

TEST_F(ContainerProgress, AFailedStepPutsTheStateBack) {
  Dir->OnBeforeInstallObjects = [](TInstallContainer*) { throw IEFileContainer("broken"); };
  EXPECT_THROW(Dir->Process(), IEFileContainer);
  EXPECT_EQ(Dir->State(), ifsNone);
  Dir->RunState(ifsCopying);  // copies the files uncompressed
  EXPECT_EQ(ReadFile(Scratch / "dest\\sub\\b.txt"), Content(700, 'b'));
  EXPECT_EQ(Dir->State(), ifsNone);
}

TEST(FileContainerCompress, OptionsThatContradictFailBeforeAnyFile) {
  fw::TComponent owner(nullptr);
  auto* dir = new TInstallDirectory(&owner);
  bool started = false;
  dir->OnBeforeProcess = [&](TInstallContainer*) { started = true; };
  try {
    dir->Compress(coForceNetFilesLocal | coForceFilesNet);
    FAIL();
  } catch (const IEFileContainer& e) {
    EXPECT_STREQ(e.Message().c_str(), "Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
  }
  EXPECT_FALSE(started);
  // Without a net install location only local archives can be built.
  EXPECT_THROW(dir->Compress(coRelocateArchives), IEFileRelated);
  EXPECT_EQ(dir->State(), ifsNone);
}

TEST(FileContainerCompress, TwoFilesMayNotWriteOneInstallSourceArchive) {
  TScratchFolder scratch("twoarchives");
  WriteFile(scratch / "x.txt", "x");
  WriteFile(scratch / "y.txt", "y");
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  TTestEngine* engine = new TTestEngine(form.get());
  auto* dir = new TInstallDirectory(form.get());
  dir->SetArchiveFile(scratch / "dir.1");
  auto* source = dynamic_cast<TCustomPathSpecifier*>(form->FindComponent("psInstallSource"));
  ASSERT_NE(source, nullptr);
  for (const char* name : {"x.txt", "y.txt"}) {
    auto* file = new TInstallFile(form.get(), dir, scratch / name);
    file->SetArchiveFileType(source);
    file->SetArchiveFile("own.1");
  }
  EXPECT_THROW(dir->Compress(coForceNetFilesLocal), IEFileContainer);
  (void)engine;
}

// --- groups, directories and their specifiers ------------------------------------

TEST(InstallGroups, GroupsLiveOnlyInTheEngineOrInGroups) {
  fw::TComponent owner(nullptr);
  TTestEngine* engine = new TTestEngine(&owner);
  auto* outer = new TInstallGroup(&owner);
  auto* inner = new TInstallGroup(&owner);
  auto* dir = new TInstallDirectory(&owner);
  outer->SetContainer(engine);
  inner->SetContainer(outer);
  try {
    inner->SetContainer(dir);
    FAIL();
  } catch (const IEInstallGroup& e) {
    EXPECT_STREQ(e.Message().c_str(),
                 "A TInstallGroup component can only be contained by a TInstall, or another TInstallGroup component");
  }
  EXPECT_EQ(inner->Container(), outer);
  inner->SetContainer(nullptr);
  EXPECT_EQ(inner->Container(), engine);
  dir->SetContainer(inner);  // a directory may sit in a group
  EXPECT_EQ(inner->GetFileContainerCount(), 1);
}

TEST(InstallGroups, RemoveMissingFilesDropsFilesWithoutSource) {
  TScratchFolder scratch("missing");
  WriteFile(scratch / "keep.txt", "k");
  WriteFile(scratch / "gone.txt", "g");
  WriteFile(scratch / "gone2.txt", "g");
  fw::TComponent owner(nullptr);
  auto* dir = new TInstallDirectory(&owner);
  new TInstallFile(&owner, dir, scratch / "gone.txt");
  new TInstallFile(&owner, dir, scratch / "keep.txt");
  new TInstallFile(&owner, dir, scratch / "gone2.txt");
  DeleteFileA((scratch / "gone.txt").c_str());
  DeleteFileA((scratch / "gone2.txt").c_str());
  dir->RemoveMissingFiles();
  ASSERT_EQ(dir->GetFileCount(), 1);
  EXPECT_EQ(dir->GetFile(0)->FileName(), "keep.txt");
  DeleteFileA((scratch / "keep.txt").c_str());
  dir->RemoveMissingFiles();
  EXPECT_EQ(dir->GetFileCount(), 0);
}

TEST(FileContainerSpecifier, EachContainerNamesItsOwn) {
  fw::TComponent owner(nullptr);
  auto* first = new TInstallDirectory(&owner);
  auto* second = new TInstallGroup(&owner);
  first->SetDescription("Help files");
  first->SetDestDir("C:\\Help");
  ASSERT_NE(first->PathSpecifier(), nullptr);
  EXPECT_EQ(first->PathSpecifier()->Name(), "psFileContainer");
  EXPECT_EQ(second->PathSpecifier()->Name(), "psFileContainer1");
  TpsFileContainer* specifier = first->PathSpecifier();
  EXPECT_EQ(specifier->GetDescription(), "Path into which Help files will be installed");
  EXPECT_EQ(specifier->GetCaption(), "<Help files>");
  TTestObject user(&owner);
  EXPECT_EQ(specifier->GetPath(&user), "C:\\Help");
  try {
    specifier->ValidateObject(second);
    FAIL();
  } catch (const IEPathSpecifier& e) {
    EXPECT_STREQ(e.Message().c_str(), "A file container cannot reference another file container or group");
  }
  delete first;  // takes its specifier along
  EXPECT_EQ(owner.FindComponent("psFileContainer"), nullptr);
}

TEST(FileContainerSpecifier, StoredSpecifiersTakeOverAfterLoading) {
  fw::TOwnedPtr<TFilesForm> form(new TFilesForm(nullptr));
  fw::ReadComponentFromText(form.get(), R"(object Setup: TFilesForm
  object Tools: TInstallDirectory
    Description = 'Tools'
  end
  object Docs: TInstallDirectory
    Description = 'Docs'
  end
  object psFileContainer: TpsFileContainer
    FileContainer = Docs
  end
  object psFileContainer1: TpsFileContainer
    FileContainer = Tools
  end
end
)",
                            "TFILESFORM");
  auto* tools = dynamic_cast<TInstallDirectory*>(form->FindComponent("Tools"));
  auto* docs = dynamic_cast<TInstallDirectory*>(form->FindComponent("Docs"));
  ASSERT_NE(tools, nullptr);
  ASSERT_NE(docs, nullptr);
  ASSERT_NE(docs->PathSpecifier(), nullptr);
  EXPECT_EQ(docs->PathSpecifier()->Name(), "psFileContainer");
  EXPECT_EQ(tools->PathSpecifier()->Name(), "psFileContainer1");
  // Exactly one specifier per container is left.
  int specifiers = 0;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (dynamic_cast<TpsFileContainer*>(form->Components(i)) != nullptr) ++specifiers;
  EXPECT_EQ(specifiers, 2);
}

}  // namespace
