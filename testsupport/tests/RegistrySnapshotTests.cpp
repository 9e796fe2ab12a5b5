// A saved registry tree comes back exactly: values, subkeys, and keys that were not there.
#include <gtest/gtest.h>
#include <windows.h>

#include "RegistrySnapshot.h"
#include "gui/WinHandles.h"

using namespace testsupport;

namespace {

const std::string kKey = "Software\\Stavrel Tests\\Saved Tree " + std::to_string(GetCurrentProcessId());

void SetValue(const std::string& Key, const std::string& Name, DWORD Type, const std::string& Data) {
  fw::TRegKeyHandle key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key.Get(), Name.c_str(), 0, Type, reinterpret_cast<const BYTE*>(Data.data()),
                           static_cast<DWORD>(Data.size())),
            ERROR_SUCCESS);
}

bool KeyExists(const std::string& Key) {
  fw::TRegKeyHandle key;
  return RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// "-" when the value is not there, else its type, a colon and its bytes.
std::string Value(const std::string& Key, const std::string& Name) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return "-";
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "-";
  std::string data(size, '\0');
  RegQueryValueExA(key.Get(), Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  return std::to_string(type) + ":" + data.substr(0, size);
}

class SavedRegistryTree : public ::testing::Test {
 protected:
  void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Stavrel Tests"); }
};

TEST_F(SavedRegistryTree, ValuesAndSubkeysComeBackAndAdditionsGo) {
  std::string big(10000, 'b');  // larger than any fixed buffer would take
  SetValue(kKey, "", REG_SZ, std::string("default\0", 8));
  SetValue(kKey, "Kept", REG_DWORD, std::string("\x01\x02\x03\x04", 4));
  SetValue(kKey, "Changed", REG_SZ, std::string("before\0", 7));
  SetValue(kKey, "Deleted", REG_BINARY, big);
  SetValue(kKey + "\\Sub\\Deep", "Inner", REG_EXPAND_SZ, std::string("%x%\0", 4));
  SetValue(kKey + "\\Gone", "G", REG_SZ, std::string("g\0", 2));
  std::string before = Value(kKey, "Deleted");
  {
    TSavedRegistryTree saved(HKEY_CURRENT_USER, "\\" + kKey);
    SetValue(kKey, "Changed", REG_BINARY, "after");
    SetValue(kKey, "", REG_SZ, std::string("new default\0", 12));
    SetValue(kKey, "Added", REG_SZ, std::string("new\0", 4));
    SetValue(kKey + "\\Sub\\Deep", "Inner", REG_SZ, std::string("y\0", 2));
    SetValue(kKey + "\\Sub\\Deep\\Added Key\\Below", "A", REG_SZ, std::string("a\0", 2));
    fw::TRegKeyHandle key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_ALL_ACCESS, key.Put()), ERROR_SUCCESS);
    RegDeleteValueA(key.Get(), "Deleted");
    ASSERT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, kKey + "\\Gone"));
  }
  EXPECT_EQ(Value(kKey, ""), std::string("1:default\0", 10));
  EXPECT_EQ(Value(kKey, "Kept"), std::string("4:\x01\x02\x03\x04", 6));
  EXPECT_EQ(Value(kKey, "Changed"), std::string("1:before\0", 9));
  EXPECT_EQ(Value(kKey, "Deleted"), before);
  EXPECT_EQ(Value(kKey, "Deleted").size(), big.size() + 2);
  EXPECT_EQ(Value(kKey, "Added"), "-");
  EXPECT_EQ(Value(kKey + "\\Sub\\Deep", "Inner"), std::string("2:%x%\0", 6));
  EXPECT_FALSE(KeyExists(kKey + "\\Sub\\Deep\\Added Key"));
  EXPECT_EQ(Value(kKey + "\\Gone", "G"), std::string("1:g\0", 4));
}

TEST_F(SavedRegistryTree, AKeyThatWasNotThereIsDeletedWithEverythingBelow) {
  ASSERT_FALSE(KeyExists(kKey));
  SetValue("Software\\Stavrel Tests\\Other", "V", REG_SZ, std::string("v\0", 2));
  {
    TSavedRegistryTree saved(HKEY_CURRENT_USER, kKey);
    SetValue(kKey + "\\A\\B", "V", REG_SZ, std::string("v\0", 2));
    saved.Restore();  // at once, and again when it goes
    EXPECT_FALSE(KeyExists(kKey));
    SetValue(kKey, "V", REG_SZ, std::string("v\0", 2));
  }
  EXPECT_FALSE(KeyExists(kKey));
  EXPECT_TRUE(KeyExists("Software\\Stavrel Tests"));  // only the saved key goes, not its parent
}

TEST_F(SavedRegistryTree, ParentsThatWereNotThereGoWithTheKeyUnlessTheyHoldSomethingElse) {
  const std::string deep = "Software\\Stavrel Tests\\Made\\Deeper\\Key";
  ASSERT_FALSE(KeyExists("Software\\Stavrel Tests"));
  {
    TSavedRegistryTree saved(HKEY_CURRENT_USER, deep);
    SetValue(deep, "V", REG_SZ, std::string("v\0", 2));
  }
  EXPECT_FALSE(KeyExists("Software\\Stavrel Tests"));
  {
    TSavedRegistryTree saved(HKEY_CURRENT_USER, deep);
    SetValue(deep, "V", REG_SZ, std::string("v\0", 2));
    SetValue("Software\\Stavrel Tests\\Made\\Sibling", "V", REG_SZ, std::string("v\0", 2));
  }
  EXPECT_FALSE(KeyExists("Software\\Stavrel Tests\\Made\\Deeper"));
  EXPECT_TRUE(KeyExists("Software\\Stavrel Tests\\Made\\Sibling"));
}

TEST_F(SavedRegistryTree, SavedValuesComeBackAndTheRestOfTheKeyIsLeftAlone) {
  SetValue(kKey, "Saved", REG_SZ, std::string("before\0", 7));
  SetValue(kKey, "Other", REG_SZ, std::string("other\0", 6));
  {
    TSavedRegistryValues saved(HKEY_CURRENT_USER, "\\" + kKey, {"Saved", "Absent"});
    SetValue(kKey, "Saved", REG_DWORD, "1234");
    SetValue(kKey, "Absent", REG_SZ, std::string("now there\0", 10));
    SetValue(kKey, "Other", REG_SZ, std::string("changed\0", 8));
    SetValue(kKey + "\\Sub", "New", REG_SZ, std::string("n\0", 2));
  }
  EXPECT_EQ(Value(kKey, "Saved"), std::string("1:before\0", 9));
  EXPECT_EQ(Value(kKey, "Absent"), "-");
  // Changes of others to the rest of the key stay.
  EXPECT_EQ(Value(kKey, "Other"), std::string("1:changed\0", 10));
  EXPECT_EQ(Value(kKey + "\\Sub", "New"), std::string("1:n\0", 4));
}

TEST_F(SavedRegistryTree, DeletingATreeThatIsNotThereSucceeds) {
  EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, kKey + "\\Nothing"));
  SetValue(kKey + "\\X\\Y\\Z", "V", REG_SZ, std::string("v\0", 2));
  EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, "\\" + kKey + "\\X"));
  EXPECT_FALSE(KeyExists(kKey + "\\X"));
  EXPECT_TRUE(KeyExists(kKey));
}

}  // namespace
