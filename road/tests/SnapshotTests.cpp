// The machine's snapshot and its comparison: what a setup added, changed or removed is
// told item by item, and the clean-up removes exactly what was added.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Files.h"
#include "MachineSnapshot.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"
#include "SetupTraces.h"

namespace road {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void SetString(const std::string& Path, const std::string& Name, const std::string& Value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path.c_str() + 1, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                 static_cast<DWORD>(Value.size() + 1));
  RegCloseKey(key);
}

TEST(CompareSnapshots, TellsAddedRemovedAndChangedItemsInNameOrder) {
  const TSnapshotItems before{{"a", "1"}, {"b", "2"}, {"d", "4"}};
  const TSnapshotItems after{{"b", "2"}, {"c", "3"}, {"d", "5"}, {"e", "6"}};
  EXPECT_THAT(CompareSnapshots(before, after), ElementsAre("removed a", "added c", "changed d", "added e"));
  EXPECT_THAT(CompareSnapshots(after, after), IsEmpty());
  EXPECT_THAT(CompareSnapshots({}, {{"x", ""}}), ElementsAre("added x"));
}

class SnapshotOfMachine : public ::testing::Test {
 protected:
  testsupport::TScratchFolder Folder{"road"};
  std::string Key = "\\Software\\Stavrel road test " + std::to_string(GetCurrentProcessId());
  testsupport::TSavedRegistryTree Saved{HKEY_CURRENT_USER, Key};
  // Every level below Deep; below Shallow only its own values and its subkeys' names.
  std::string Deep = Key + "\\Deep", Shallow = Key + "\\Shallow";
  TMachineSnapshot Snapshot{{{HKEY_CURRENT_USER, Deep}, {HKEY_CURRENT_USER, Shallow, 0}}, {{Folder.Path(), true}}};
};

TEST_F(SnapshotOfMachine, SeesFilesFoldersKeysAndValuesAndCleansUpOnlyWhatWasAdded) {
  testsupport::WriteFile(Folder / "kept.txt", "kept");
  testsupport::WriteFile(Folder / "changed.txt", "short");
  testsupport::WriteFile(Folder / "gone.txt", "gone");
  SetString(Deep, "Kept", "1");
  SetString(Shallow + "\\Old", "Deep", "1");
  const TSnapshotItems before = Snapshot.Take();
  EXPECT_EQ(before.count(Folder.Path() + "\\kept.txt"), 1u);
  EXPECT_EQ(before.count("HKCU" + Deep + " -> Kept"), 1u);
  EXPECT_EQ(before.count("HKCU" + Shallow + "\\Old"), 1u);
  EXPECT_EQ(before.count("HKCU" + Shallow + "\\Old -> Deep"), 0u) << "depth 0 reads no values below";

  testsupport::WriteFile(Folder / "changed.txt", "much longer");
  DeleteFileA((Folder / "gone.txt").c_str());
  testsupport::WriteFile(Folder / "new\\deeper\\new.txt", "new");
  SetString(Deep, "Added", "2");
  SetString(Deep + "\\Sub", "Value", "3");
  SetString(Shallow + "\\Old", "Deep", "changed below the depth");
  SetString(Shallow + "\\New", "Deep", "1");
  const std::vector<std::string> differences = CompareSnapshots(before, Snapshot.Take());
  const std::string d = "HKCU" + Deep, f = Folder.Path();
  EXPECT_THAT(
      differences,
      ElementsAre("changed " + f + "\\changed.txt", "removed " + f + "\\gone.txt", "added " + f + "\\new\\",
                  "added " + f + "\\new\\deeper\\", "added " + f + "\\new\\deeper\\new.txt", "added " + d + " -> Added",
                  "added " + d + "\\Sub", "added " + d + "\\Sub -> Value", "added HKCU" + Shallow + "\\New"));

  EXPECT_THAT(RemoveAdded(differences), IsEmpty());
  EXPECT_THAT(CompareSnapshots(before, Snapshot.Take()),
              ElementsAre("changed " + f + "\\changed.txt", "removed " + f + "\\gone.txt"));
  EXPECT_TRUE(testsupport::FileExists(Folder / "kept.txt"));
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, Deep, "Kept"), "1");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, Shallow + "\\Old", "Deep"), "changed below the depth");
}

TEST_F(SnapshotOfMachine, AnAddedValueOfAKeptKeyGoesWithoutItsKey) {
  SetString(Deep, "Kept", "1");
  const TSnapshotItems before = Snapshot.Take();
  SetString(Deep, "", "default");
  SetString(Deep, "Added", "2");
  const std::vector<std::string> differences = CompareSnapshots(before, Snapshot.Take());
  EXPECT_THAT(differences, ElementsAre("added HKCU" + Deep + " -> (default)", "added HKCU" + Deep + " -> Added"));
  EXPECT_THAT(RemoveAdded(differences), IsEmpty());
  EXPECT_THAT(CompareSnapshots(before, Snapshot.Take()), IsEmpty());
}

// On a fresh machine Windows' shared-file and help containers do not exist yet: the
// setup makes them and the uninstaller rightly keeps them once empty.
TEST(SetupTraces, AnEmptyContainerOfWindowsOwnIsNoTraceButWhatItHoldsIs) {
  const std::string help = "\\SOFTWARE\\Microsoft\\Windows\\Help";
  const testsupport::TSavedRegistryTree saved{HKEY_LOCAL_MACHINE, help};
  testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, help);
  const TMachineSnapshot traces = SetupTraces();
  const TSnapshotItems before = traces.Take();
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, help.c_str() + 1, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_THAT(CompareSnapshots(before, traces.Take()), IsEmpty());
  RegSetValueExA(key, "ROAD.HLP", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\"), 4);
  RegCloseKey(key);
  EXPECT_THAT(CompareSnapshots(before, traces.Take()), ElementsAre("added HKLM" + help + " -> ROAD.HLP"));
}

TEST(RemoveAdded, LeavesRemovedAndChangedItemsAlone) {
  testsupport::TScratchFolder folder{"road"};
  testsupport::WriteFile(folder / "there.txt", "there");
  EXPECT_THAT(RemoveAdded({"removed " + folder / "there.txt", "changed " + folder / "there.txt",
                           "removed " + folder.Path() + "\\"}),
              IsEmpty());
  EXPECT_TRUE(testsupport::FileExists(folder / "there.txt"));
}

}  // namespace
}  // namespace road
