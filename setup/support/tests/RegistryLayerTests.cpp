#include <gtest/gtest.h>
#include <windows.h>

#include "gui/WinHandles.h"
#include "support/OSVersion.h"
#include "support/Registry.h"
#include "support/RegistryObject.h"

using namespace setup;

namespace {

const std::string kTestKey = "\\Software\\StavrelTests\\RegistryLayer" + std::to_string(GetCurrentProcessId());

bool KeyExists(HKEY Root, const std::string& Path) {
  fw::TRegKeyHandle key;
  return RegOpenKeyExA(Root, Path.substr(1).c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

class RegistryLayer : public ::testing::Test {
 protected:
  void TearDown() override { DeleteRegKeyTree(hkCurrentUser, kTestKey); }
};

TEST_F(RegistryLayer, KeysOpenRelativeToTheCurrentKeyOrFromTheRoot) {
  TqnlkRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kTestKey, true));
  EXPECT_EQ(registry.CurrentPath(), kTestKey.substr(1));
  ASSERT_TRUE(registry.OpenKey("Child", true));
  EXPECT_EQ(registry.CurrentPath(), kTestKey.substr(1) + "\\Child");
  registry.WriteString("Name", "inner");
  // An absolute path starts again from the root.
  ASSERT_TRUE(registry.OpenKey(kTestKey, false));
  EXPECT_EQ(registry.CurrentPath(), kTestKey.substr(1));
  EXPECT_EQ(registry.GetKeyNames(), std::vector<std::string>{"Child"});
  EXPECT_FALSE(registry.OpenKey("Missing", false));
  EXPECT_EQ(registry.CurrentPath(), kTestKey.substr(1));  // a failed open keeps the current key
  EXPECT_TRUE(registry.KeyExistsReadOnly("Child"));
  EXPECT_FALSE(registry.KeyExistsReadOnly("Missing"));
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey + "\\Child", "Name", ""), "inner");
  EXPECT_THROW(registry.ReadInteger("Missing"), ERegistryException);
}

// Lets everyone do only Allowed on the test key for the scope; full access again at its end.
class TKeyAccessLimit {
 public:
  explicit TKeyAccessLimit(REGSAM Allowed) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &FEveryone);
    Applied = Apply(KEY_ALL_ACCESS, Allowed);
  }
  ~TKeyAccessLimit() {
    Apply(WRITE_DAC, KEY_ALL_ACCESS);
    FreeSid(FEveryone);
  }
  TKeyAccessLimit(const TKeyAccessLimit&) = delete;
  TKeyAccessLimit& operator=(const TKeyAccessLimit&) = delete;

  // Whether the key can be opened with Access under the limit.
  static bool Grants(REGSAM Access) {
    fw::TRegKeyHandle key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey.substr(1).c_str(), 0, Access, key.Put()) == ERROR_SUCCESS;
  }

  bool Applied = false;

 private:
  bool Apply(REGSAM OpenAccess, REGSAM Allowed) {
    fw::TRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey.substr(1).c_str(), 0, OpenAccess, key.Put()) != ERROR_SUCCESS)
      return false;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    alignas(ACL) BYTE aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, Allowed, FEveryone);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    return RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
  }

  PSID FEveryone = nullptr;
};

TEST_F(RegistryLayer, ReadsNeedNoWriteAccess) {
  WriteRegString(hkCurrentUser, kTestKey, "Path", "D:\\Apps");
  WriteRegInteger(hkCurrentUser, kTestKey, "Count", 3);
  TqnlkRegistry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly(kTestKey));
  EXPECT_THROW(registry.WriteString("Path", "changed"), ERegistryException);
  registry.CloseKey();

  // The key allows reading only: values still come back, not the defaults.
  TKeyAccessLimit limit(KEY_READ);
  ASSERT_TRUE(limit.Applied);
  ASSERT_FALSE(TKeyAccessLimit::Grants(KEY_READ | KEY_WRITE)) << "the registry does not check access";
  EXPECT_FALSE(TqnlkRegistry().OpenKey(kTestKey, false));
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey, "Path", "default"), "D:\\Apps");
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, kTestKey, "Count", 0), 3);
}

TEST_F(RegistryLayer, WritesToAnExistingKeyNeedOnlyReadAndWriteAccess) {
  WriteRegString(hkCurrentUser, kTestKey, "Path", "old");
  // Everything but deleting the key and changing its owner: full access is refused.
  TKeyAccessLimit limit(KEY_READ | KEY_WRITE | WRITE_DAC);
  ASSERT_TRUE(limit.Applied);
  ASSERT_FALSE(TKeyAccessLimit::Grants(KEY_ALL_ACCESS)) << "the registry does not check access";

  for (bool canCreate : {false, true}) {
    SCOPED_TRACE(canCreate);
    TqnlkRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kTestKey, canCreate));
    registry.WriteString("Path", canCreate ? "created-or-opened" : "opened");
    EXPECT_EQ(registry.ReadString("Path"), canCreate ? "created-or-opened" : "opened");
  }
  // The routines that every writer goes through.
  WriteRegString(hkCurrentUser, kTestKey, "Path", "new");
  WriteRegInteger(hkCurrentUser, kTestKey, "Count", 9);
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey, "Path", "default"), "new");
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, kTestKey, "Count", 0), 9);
}

TEST_F(RegistryLayer, DeleteTreeRemovesEveryKeyAtEveryDepth) {
  // Many siblings at each level: walking them by rising index while deleting would skip
  // every second one.
  for (int a = 0; a < 5; ++a)
    for (int b = 0; b < 4; ++b)
      WriteRegString(hkCurrentUser, kTestKey + "\\A" + std::to_string(a) + "\\B" + std::to_string(b) + "\\C\\D", "v",
                     "1");
  DeleteRegKeyTree(hkCurrentUser, kTestKey);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTestKey));

  // The registry object's own deletion, relative to its current key, which stays open.
  WriteRegString(hkCurrentUser, kTestKey + "\\Keep", "v", "1");
  for (const char* child : {"X", "Y", "Z"})
    WriteRegString(hkCurrentUser, kTestKey + "\\Gone\\" + child + "\\In", "v", "1");
  TqnlkRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kTestKey, false));
  EXPECT_TRUE(registry.DeleteKeyTree("Gone"));
  EXPECT_EQ(registry.GetKeyNames(), std::vector<std::string>{"Keep"});
  EXPECT_EQ(registry.CurrentPath(), kTestKey.substr(1));
  EXPECT_FALSE(registry.DeleteKeyTree("Gone"));
  EXPECT_FALSE(registry.DeleteKeyTree(""));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kTestKey + "\\Keep"));
}

TEST(RegistryRootKeys, IndexesMapBothWaysAndOutsideIndexesRaise) {
  for (int index = 0; index < 6; ++index) EXPECT_EQ(RootKeyToIndex(RootKeyFromIndex(index), -1), index);
  EXPECT_EQ(RootKeyToIndex(HKEY_PERFORMANCE_DATA, 7), 7);
  TqnlkRegistry registry;
  EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
  SetRootKeyIndex(registry, 4);
  EXPECT_EQ(registry.RootKey(), HKEY_LOCAL_MACHINE);
  try {
    SetRootKeyIndex(registry, 6);
    ADD_FAILURE();
  } catch (const EIRBadRootKey& e) {
    EXPECT_STREQ(e.what(), "The registry root index 6 names no root key");
  }
  EXPECT_EQ(registry.RootKey(), HKEY_LOCAL_MACHINE);
  EXPECT_THROW(SetRootKeyIndex(registry, -1), EIRBadRootKey);
  // Never the current user's key in its place.
  auto bad = static_cast<TRootKeys>(6);
  EXPECT_THROW(WriteRegString(bad, kTestKey, "v", "1"), EIRBadRootKey);
  EXPECT_THROW(ReadRegString(bad, kTestKey, "v", ""), EIRBadRootKey);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTestKey));
}

// --- RunOnce values ------------------------------------------------------------------

TWindowsVersion gVersion{2, 5, 1};
bool InjectedVersion(TWindowsVersion& Version) {
  Version = gVersion;
  return true;
}

class RunOnceValues : public ::testing::Test {
 protected:
  const std::string Name = "StavrelTest" + std::to_string(GetCurrentProcessId());
  void SetUp() override { FPrevious = SetWindowsVersionQuery(InjectedVersion); }
  void TearDown() override {
    SetWindowsVersionQuery(FPrevious);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      for (const std::string& value : {Name, Name + "1", Name + "2"}) {
        fw::TRegKeyHandle key;
        if (RegOpenKeyExA(root, kRunOnceKey + 1, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) continue;
        RegDeleteValueA(key.Get(), value.c_str());
      }
  }
  std::string Read(TRootKeys Root, const std::string& Value) { return ReadRegString(Root, kRunOnceKey, Value, "-"); }
  TWindowsVersionQuery FPrevious = nullptr;
};

TEST_F(RunOnceValues, UniqueNamesTakeTheFirstFreeNumber) {
  gVersion = TWindowsVersion{2, 5, 1};  // XP: the user's key
  EXPECT_TRUE(AddRunOnceValue(Name, "first", true));
  EXPECT_TRUE(AddRunOnceValue(Name, "second", true));
  EXPECT_TRUE(AddRunOnceValue(Name, "third", true));
  EXPECT_EQ(Read(hkCurrentUser, Name), "first");
  EXPECT_EQ(Read(hkCurrentUser, Name + "1"), "second");
  EXPECT_EQ(Read(hkCurrentUser, Name + "2"), "third");
  EXPECT_EQ(Read(hkLocalMachine, Name), "-");
  EXPECT_TRUE(AddRunOnceValue(Name, "replaced", false));
  EXPECT_EQ(Read(hkCurrentUser, Name), "replaced");
  EXPECT_EQ(Read(hkCurrentUser, Name + "2"), "third");
}

TEST_F(RunOnceValues, TheRootFollowsTheWindowsFamily) {
  struct Case {
    TWindowsVersion Version;
    TRootKeys Root;
  };
  for (const Case& c :
       {Case{{2, 4, 0}, hkCurrentUser}, Case{{2, 5, 0}, hkCurrentUser}, Case{{1, 4, 90}, hkLocalMachine},
        Case{{1, 4, 10}, hkLocalMachine}, Case{{2, 3, 51}, hkLocalMachine}, Case{{7, 0, 0}, hkLocalMachine}}) {
    gVersion = c.Version;
    SCOPED_TRACE(static_cast<int>(GetOSVersion()));
    EXPECT_EQ(RunOnceRoot(), c.Root);
    ASSERT_TRUE(AddRunOnceValue(Name, "cmd", false));
    EXPECT_EQ(Read(c.Root, Name), "cmd");
    TearDown();
    SetUp();
  }
}

}  // namespace
