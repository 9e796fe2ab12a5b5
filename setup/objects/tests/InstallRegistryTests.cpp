#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "ObjectTestSupport.h"
#include "RegistrySnapshot.h"
#include "core/FormReader.h"
#include "gui/WinHandles.h"
#include "objects/InstallRegistry.h"
#include "objects/InstallRunJournal.h"
#include "paths/ContainerDestDir.h"
#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "support/Registry.h"
#include "support/RegistryLinks.h"
#include "support/RegistryObject.h"
#include "tests/ErrorText.h"

using namespace setup;
using namespace setup::testing;

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());
const std::string kTestKey = "\\Software\\StavrelTests\\InstallRegistry" + kPid;

using fw::testing::ErrorText;

DWORD ValueType(HKEY Root, const std::string& Key, const std::string& Name) {
  fw::TRegKeyHandle key;
  DWORD type = REG_NONE;
  if (RegOpenKeyExA(Root, Key.substr(1).c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return type;
  RegQueryValueExA(key.Get(), Name.c_str(), nullptr, &type, nullptr, nullptr);
  return type;
}

// --- key path ------------------------------------------------------------------------

TEST(InstallRegistryKey, PathForEachKindOfKey) {
  fw::TComponent owner(nullptr);
  auto* registry = new TInstallRegistry(&owner);
  EXPECT_EQ(registry->RegisteredType(), rtRegistry);
  EXPECT_EQ(registry->GetKeyPath(), "\\SOFTWARE\\MyStuff");
  EXPECT_EQ(registry->RootKey(), hkLocalMachine);
  EXPECT_TRUE(registry->Uninstall());
  registry->SetKey("\\SOFTWARE\\Kavel\\Tools\\");
  EXPECT_EQ(registry->GetKeyPath(), "\\SOFTWARE\\Kavel\\Tools");

  // The engine's names need the engine.
  EXPECT_EQ(ErrorText<IEInstallRegistry>([&] { registry->SetKeySpecifierType(ksVersion); }),
            "There is no TInstall component in your project");
  EXPECT_EQ(registry->KeySpecifierType(), ksAbsolute);
  EXPECT_EQ(registry->Key(), "\\SOFTWARE\\Kavel\\Tools\\");

  auto* engine = new TTestEngine(&owner);
  engine->Info.SetCompanyName("Kavel");
  engine->Info.SetProductName("Stavrel");
  engine->Info.SetVersion("4.0");
  registry->SetRootKey(hkCurrentUser);
  registry->SetKeySpecifierType(ksCompanyName);
  EXPECT_EQ(registry->Key(), "");
  EXPECT_EQ(registry->RootKey(), hkLocalMachine);
  EXPECT_EQ(registry->GetKeyPath(), "\\SOFTWARE\\Kavel");
  registry->SetKey("\\Ignored");
  EXPECT_EQ(registry->Key(), "");
  registry->SetKeySpecifierType(ksProductName);
  EXPECT_EQ(registry->GetKeyPath(), "\\SOFTWARE\\Kavel\\Stavrel");
  registry->SetKeySpecifierType(ksVersion);
  EXPECT_EQ(registry->GetKeyPath(), "\\SOFTWARE\\Kavel\\Stavrel\\4.0");

  // Without the engine the key falls back to the absolute kind.
  engine->Free();
  EXPECT_EQ(registry->KeySpecifierType(), ksAbsolute);
  EXPECT_EQ(registry->GetKeyPath(), "");
}

// --- entries -------------------------------------------------------------------------

class RegistryEntries : public ::testing::Test {
 protected:
  // First, so that the key is put back after the components go.
  testsupport::TSavedRegistryTree FSavedKey{HKEY_CURRENT_USER, kTestKey};
  TRegistryEntry* AddEntry(const std::string& Ident) {
    TRegistryEntry* entry = Registry->Entries()->AddEntry();
    entry->SetIdent(Ident);
    return entry;
  }
  fw::TComponent Owner{nullptr};
  TInstallRegistry* Registry = MakeRegistry();
  TInstallRegistry* MakeRegistry() {
    auto* registry = new TInstallRegistry(&Owner);
    registry->SetName("ToolsKey");
    registry->SetRootKey(hkCurrentUser);
    registry->SetKey(kTestKey);
    return registry;
  }
};

TEST_F(RegistryEntries, EachTypeIsWrittenAsItsKindOfValue) {
  AddEntry("Descr")->SetText("Console scripts");
  AddEntry("Count")->SetInteger(-3);
  AddEntry("Enabled")->SetBoolean(true);
  AddEntry("Off")->SetBoolean(false);
  EXPECT_EQ(Registry->Entries()->Entry(1)->EntryType(), retInteger);
  EXPECT_EQ(Registry->Entries()->Entry(2)->EntryType(), retBoolean);
  Registry->Process();
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey, "Descr", ""), "Console scripts");
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, kTestKey, "Count", 0), -3);
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, kTestKey, "Enabled", 0), 1);
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, kTestKey, "Off", 5), 0);
  EXPECT_EQ(ValueType(HKEY_CURRENT_USER, kTestKey, "Enabled"), static_cast<DWORD>(REG_DWORD));
  EXPECT_TRUE(Registry->Done());
}

TEST_F(RegistryEntries, ValuesFromTextByTheEntrysType) {
  TRegistryEntry* entry = AddEntry("Value");
  entry->SetEntryType(retInteger);
  entry->SetValueText("42");
  EXPECT_EQ(entry->Integer(), 42);
  entry->SetValueText("  ");
  EXPECT_EQ(entry->Integer(), 0);
  EXPECT_THROW(entry->SetValueText("4x"), fw::EConvertError);
  entry->SetEntryType(retBoolean);
  entry->SetValueText("TRUE");
  EXPECT_TRUE(entry->Boolean());
  entry->SetValueText("false");
  EXPECT_FALSE(entry->Boolean());
  EXPECT_EQ(ErrorText<IERegistryEntry>([&] { entry->SetValueText("yes"); }),
            "yes is not a valid boolean value. Use True or False");
  entry->SetEntryType(retText);
  entry->SetValueText("yes");
  EXPECT_EQ(entry->Text(), "yes");
  EXPECT_EQ(entry->EntryType(), retText);
}

TEST_F(RegistryEntries, FolderOfAPathSpecifierInTheText) {
  TpsProgramFiles programFiles(&Owner);
  TRegistryEntry* entry = AddEntry("Path");
  entry->SetInteger(1);
  entry->SetPathSpecifier(&programFiles);
  EXPECT_EQ(entry->EntryType(), retText);
  EXPECT_EQ(entry->Text(), "%p");
  entry->SetText("%p\\App");
  EXPECT_EQ(entry->GetExpandedText(), GetProgramFilesDir() + "\\App");
  Registry->Process();
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey, "Path", ""), GetProgramFilesDir() + "\\App");

  // A specifier that refuses the registry object is refused when it is set.
  TpsContainerDestDir container(&Owner);
  EXPECT_THROW(entry->SetPathSpecifier(&container), IEPathSpecifier);
  EXPECT_EQ(entry->PathSpecifier(), &programFiles);
  EXPECT_EQ(entry->Text(), "%p\\App");
}

TEST_F(RegistryEntries, AGoneSpecifierLeavesTheEntry) {
  auto* specifier = new TPathSpecifier(&Owner);
  specifier->OnGetPath() = [](fw::TComponent*, std::string& Path) { Path = "C:\\Tools"; };
  TRegistryEntry* entry = AddEntry("Path");
  entry->SetPathSpecifier(specifier);
  EXPECT_EQ(entry->GetExpandedText(), "C:\\Tools");
  entry->SetEntryType(retInteger);
  specifier->Free();
  EXPECT_EQ(entry->PathSpecifier(), nullptr);
  EXPECT_EQ(entry->EntryType(), retInteger);
  EXPECT_EQ(entry->GetExpandedText(), "%p");
}

TEST_F(RegistryEntries, AKeyWithoutEntriesIsMadeAsTheLogSaysAndOneThatCannotBeMadeNamesTheObject) {
  testsupport::DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey);
  Registry->Process();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey.c_str() + 1, 0, KEY_READ, &key), ERROR_SUCCESS);
  if (key != nullptr) RegCloseKey(key);

  Registry->SetKey(kTestKey + "\\" + std::string(300, 'k'));
  EXPECT_EQ(ErrorText<IERegistryEntry>([&] { Registry->Install(); }),
            "ToolsKey cannot create the key " + Registry->GetKeyPath() + " in the registry");
}

TEST_F(RegistryEntries, AKeyThatCannotBeMadeNamesTheObject) {
  Registry->SetKey(kTestKey + "\\" + std::string(300, 'k'));
  AddEntry("Value")->SetText("x");
  EXPECT_EQ(ErrorText<IERegistryEntry>([&] { Registry->Install(); }),
            "ToolsKey cannot create the key " + Registry->GetKeyPath() + " in the registry");
}

TEST(RegistryEntriesCollection, NeedsAnOwnerAndCopiesEveryProperty) {
  EXPECT_EQ(ErrorText<IERegistryEntries>([] { TRegistryEntries entries(nullptr); }),
            "Cannot create a TRegistryEntries component with a Nil Owner");
  fw::TComponent owner(nullptr);
  auto* first = new TInstallRegistry(&owner);
  auto* second = new TInstallRegistry(&owner);
  TPathSpecifier specifier(&owner);
  TRegistryEntry* entry = first->Entries()->AddEntry();
  entry->SetIdent("Path");
  entry->SetPathSpecifier(&specifier);
  entry->SetInteger(9);
  entry->SetBoolean(true);
  entry->SetText("%p\\x");
  second->SetEntries(first->Entries());
  ASSERT_EQ(second->Entries()->Count(), 1);
  TRegistryEntry* copy = second->Entries()->Entry(0);
  EXPECT_EQ(copy->InstallRegistry(), second);
  EXPECT_EQ(copy->Ident(), "Path");
  EXPECT_EQ(copy->PathSpecifier(), &specifier);
  EXPECT_EQ(copy->Integer(), 9);
  EXPECT_TRUE(copy->Boolean());
  EXPECT_EQ(copy->Text(), "%p\\x");
  EXPECT_EQ(copy->EntryType(), retText);
}

// --- configuration and uninstall log --------------------------------------------------

class TRegistryForm : public fw::TForm {
  FW_CLASS(TRegistryForm, fw::TForm)
 public:
  using fw::TForm::TForm;
  std::vector<std::string> Offered;
  void SkipSecret(TCustomInstallRegistry* InstallRegistry, TRegistryEntry* Entry, bool& Continue) {
    Offered.push_back(Entry->Ident());
    if (Entry->Ident() == "Secret") Continue = false;
  }
};
const fw::TClass& TRegistryForm::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TRegistryForm>().Creatable().Method("SkipSecret", &TRegistryForm::SkipSecret);
  return cls;
}

class RegistryLog : public ::testing::Test {
 protected:
  void SetUp() override {
    Engine = new TTestEngine(&Owner);
    Engine->Info.SetProductName("Stavrel Registry Test " + kPid);
    Uninstall = std::string(kUninstallRootKey) + Engine->Info.ProductName();
    FSavedUninstall = std::make_unique<testsupport::TSavedRegistryTree>(HKEY_LOCAL_MACHINE, Uninstall);
  }
  std::string Log(const std::string& Key, const std::string& Value) {
    return ReadRegString(hkLocalMachine, Uninstall + "\\RegistryKeys" + Key, Value, "-");
  }
  // First, so that the keys are put back after the components go.
  testsupport::TSavedRegistryTree FSavedKey{HKEY_CURRENT_USER, kTestKey};
  std::unique_ptr<testsupport::TSavedRegistryTree> FSavedUninstall;
  fw::TComponent Owner{nullptr};
  TTestEngine* Engine = nullptr;
  std::string Uninstall;
};

TEST_F(RegistryLog, TwoObjectsFromAFormLogTheirKeysAndEveryEntry) {
  fw::TOwnedPtr<TRegistryForm> form(new TRegistryForm(nullptr));
  fw::ReadComponentFromText(form.get(), R"(object Setup: TRegistryForm
  object ToolKey: TInstallRegistry
    Key = ')" + kTestKey + R"(\Tool'
    RootKey = hkCurrentUser
    OnBeforeWriteEntry = SkipSecret
    Entries = <
      item
        Ident = 'Path'
        PathSpecifier = psWindow
        Text = '%p\Tools'
      end
      item
        Ident = 'Secret'
        Text = 'hidden'
      end
      item
        Ident = 'Level'
        EntryType = retInteger
        Text = 'ignored'
        Integer = 3
      end>
  end
  object LocaleKey: TInstallRegistry
    Key = ')" + kTestKey + R"(\Locale'
    RootKey = hkCurrentUser
    Entries = <
      item
        Ident = 'Language'
        Text = 'DE'
      end>
  end
end
)",
                            "TREGISTRYFORM");
  auto* tool = dynamic_cast<TInstallRegistry*>(form->FindComponent("ToolKey"));
  auto* locale = dynamic_cast<TInstallRegistry*>(form->FindComponent("LocaleKey"));
  ASSERT_NE(tool, nullptr);
  ASSERT_NE(locale, nullptr);
  // Types stay as stored, whatever order the values were read in.
  EXPECT_EQ(tool->Entries()->Entry(2)->EntryType(), retInteger);
  EXPECT_EQ(tool->Entries()->Entry(0)->PathSpecifier(), form->FindComponent("psWindow"));
  const std::string windows = TpsWindow(nullptr).GetPath(nullptr);

  tool->Process();
  locale->Process();
  EXPECT_EQ(form->Offered, (std::vector<std::string>{"Path", "Secret", "Level"}));
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey + "\\Tool", "Path", ""), windows + "\\Tools");
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey + "\\Tool", "Secret", "not written"), "not written");
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, kTestKey + "\\Tool", "Level", 0), 3);

  EXPECT_EQ(Log("", "Entries"), "2");
  EXPECT_EQ(Log("\\RegistryKey1", "Key"), kTestKey + "\\Tool");
  EXPECT_EQ(ReadRegInteger(hkLocalMachine, Uninstall + "\\RegistryKeys\\RegistryKey1", "Root", -1),
            static_cast<int>(hkCurrentUser));
  // Every entry is logged with its data, the skipped one too; a number in decimal (its
  // text is not what was written).
  EXPECT_EQ(Log("\\RegistryKey1\\Entries", "Path"), windows + "\\Tools");
  EXPECT_EQ(Log("\\RegistryKey1\\Entries", "Secret"), "hidden");
  EXPECT_EQ(Log("\\RegistryKey1\\Entries", "Level"), "3");
  EXPECT_EQ(Log("\\RegistryKey2", "Key"), kTestKey + "\\Locale");
  EXPECT_EQ(Log("\\RegistryKey2\\Entries", "Language"), "DE");
  EXPECT_EQ(Log("\\RegistryKey3", "Key"), "-");
}

TEST_F(RegistryLog, ASecondRunOfTheSetupKeepsOneRecordPerKeyAndRoot) {
  auto* user = new TInstallRegistry(&Owner);
  user->SetRootKey(hkCurrentUser);
  user->SetKey(kTestKey + "\\Tool");
  user->Entries()->AddEntry()->SetIdent("Path");
  user->Process();
  // The same path under another root is another key.
  auto* machine = new TInstallRegistry(&Owner);
  machine->SetRootKey(hkLocalMachine);
  const std::string machineKey = "\\SOFTWARE\\Stavrel Registry Test Machine " + kPid;
  testsupport::TSavedRegistryTree savedMachine(HKEY_LOCAL_MACHINE, machineKey);
  machine->SetKey(machineKey);
  machine->Process();
  EXPECT_EQ(Log("", "Entries"), "2");

  // The setup runs again, an entry more on the user's key (a newer configuration), and
  // its key written in other letters.
  user->Entries()->AddEntry()->SetIdent("Level");
  user->SetKey(kTestKey + "\\TOOL");
  user->Process();
  machine->Process();
  EXPECT_EQ(Log("", "Entries"), "2") << "nothing logged twice";
  EXPECT_EQ(Log("\\RegistryKey1", "Key"), kTestKey + "\\Tool");
  EXPECT_EQ(Log("\\RegistryKey1\\Entries", "Path"), "");
  EXPECT_EQ(Log("\\RegistryKey1\\Entries", "Level"), "") << "the new entry joins the key's record";
  EXPECT_EQ(Log("\\RegistryKey2", "Key"), machineKey);
  EXPECT_EQ(Log("\\RegistryKey3", "Key"), "-");

  // A record whose count was lost is still found by its key.
  DeleteRegKeyTree(hkLocalMachine, Uninstall + "\\RegistryKeys\\RegistryKey2");
  WriteRegString(hkLocalMachine, Uninstall + "\\RegistryKeys", "Entries", "0");
  user->Process();
  EXPECT_EQ(Log("", "Entries"), "0");
  machine->Process();
  EXPECT_EQ(Log("", "Entries"), "2");
  EXPECT_EQ(Log("\\RegistryKey1", "Key"), kTestKey + "\\Tool") << "the older record is kept, not overwritten";
  EXPECT_EQ(Log("\\RegistryKey2", "Key"), machineKey);
  // So is a count that is no number at all.
  WriteRegString(hkLocalMachine, Uninstall + "\\RegistryKeys", "Entries", "many");
  auto* other = new TInstallRegistry(&Owner);
  other->SetRootKey(hkCurrentUser);
  other->SetKey(kTestKey + "\\Other");
  other->Process();
  EXPECT_EQ(Log("", "Entries"), "3");
  EXPECT_EQ(Log("\\RegistryKey3", "Key"), kTestKey + "\\Other");
}

TEST_F(RegistryLog, ARunTakenBackRemovesWhatItMadeAndGivesChangedValuesTheirData) {
  // Before the run: the tool's key with a value of the user's.
  WriteRegString(hkCurrentUser, kTestKey + "\\Tool", "Path", "mine");
  auto* tool = new TInstallRegistry(&Owner);
  tool->SetRootKey(hkCurrentUser);
  tool->SetKey(kTestKey + "\\Tool");
  tool->Entries()->AddEntry()->SetIdent("Path");
  tool->Entries()->AddEntry()->SetIdent("Level");
  auto* made = new TInstallRegistry(&Owner);
  made->SetRootKey(hkCurrentUser);
  made->SetKey(kTestKey + "\\Made\\Deeper");
  made->Entries()->AddEntry()->SetIdent("Name");
  Engine->Running = true;
  Engine->BeginRun();
  tool->Process();
  made->Process();
  ASSERT_EQ(ReadRegString(hkCurrentUser, kTestKey + "\\Made\\Deeper", "Name", "-"), "");
  Engine->RunJournal()->Undo();
  Engine->Running = false;
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey + "\\Tool", "Path", "-"), "mine");
  EXPECT_EQ(ReadRegString(hkCurrentUser, kTestKey + "\\Tool", "Level", "-"), "-");
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_TRUE(registry.KeyExistsReadOnly(kTestKey + "\\Tool"));
  EXPECT_FALSE(registry.KeyExistsReadOnly(kTestKey + "\\Made"));
  EXPECT_EQ(Log("", "Entries"), "-") << "the log goes back to what it was";
}

TEST_F(RegistryLog, TheLogRecordsTheKeysAndValuesTheInstallationMade) {
  // Before the run: the test key with a value of the user's.
  WriteRegString(hkCurrentUser, kTestKey, "Mine", "mine");
  auto* tool = new TInstallRegistry(&Owner);
  tool->SetRootKey(hkCurrentUser);
  tool->SetKey(kTestKey + "\\Made\\Deeper");
  tool->Entries()->AddEntry()->SetIdent("Path");
  tool->Entries()->Entry(0)->SetText("C:\\App");
  tool->Entries()->AddEntry()->SetIdent("Level");
  tool->Entries()->Entry(1)->SetInteger(3);
  auto* there = new TInstallRegistry(&Owner);
  there->SetRootKey(hkCurrentUser);
  there->SetKey(kTestKey);
  there->Entries()->AddEntry()->SetIdent("Mine");
  there->Entries()->Entry(0)->SetText("ours now");
  there->Entries()->AddEntry()->SetIdent("Flag");
  there->Entries()->Entry(1)->SetBoolean(true);
  tool->Process();
  there->Process();
  const auto made = [&](const std::string& Record, const std::string& Name) {
    fw::TRegKeyHandle key;
    TStoredValue value;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (Uninstall.substr(1) + "\\RegistryKeys\\" + Record + "\\MadeValues").c_str(),
                      0, KEY_READ, key.Put()) == ERROR_SUCCESS)
      ReadStoredValue(key.Get(), Name, value);
    return value;
  };
  // The two levels it made, each value with the type and bytes it wrote.
  EXPECT_EQ(Log("\\RegistryKey1", "MadeLevels"), "-") << "a number, not a text";
  EXPECT_EQ(ReadRegInteger(hkLocalMachine, Uninstall + "\\RegistryKeys\\RegistryKey1", "MadeLevels", -1), 2);
  EXPECT_EQ(made("RegistryKey1", "Path"), (TStoredValue{REG_SZ, std::string("C:\\App") + '\0'}));
  EXPECT_EQ(made("RegistryKey1", "Level"), (TStoredValue{REG_DWORD, std::string("\3\0\0\0", 4)}));
  // In the key that was there, only the value it made: the user's value it changed is
  // not the installation's.
  EXPECT_EQ(ReadRegInteger(hkLocalMachine, Uninstall + "\\RegistryKeys\\RegistryKey2", "MadeLevels", 0), 0);
  EXPECT_EQ(made("RegistryKey2", "Mine").Type, 0u);
  EXPECT_EQ(made("RegistryKey2", "Flag"), (TStoredValue{REG_DWORD, std::string("\1\0\0\0", 4)}));
  // A second run, which finds all of it there, keeps what the first one made, as it
  // writes it now.
  tool->Entries()->Entry(0)->SetText("C:\\App2");
  tool->Process();
  there->Process();
  EXPECT_EQ(ReadRegInteger(hkLocalMachine, Uninstall + "\\RegistryKeys\\RegistryKey1", "MadeLevels", -1), 2);
  EXPECT_EQ(made("RegistryKey1", "Path"), (TStoredValue{REG_SZ, std::string("C:\\App2") + '\0'}));
  EXPECT_EQ(made("RegistryKey2", "Flag").Type, static_cast<uint32_t>(REG_DWORD));
  EXPECT_EQ(made("RegistryKey2", "Mine").Type, 0u);
}

TEST_F(RegistryLog, NothingIsLoggedWhenUninstallIsOff) {
  auto* registry = new TInstallRegistry(&Owner);
  registry->SetRootKey(hkCurrentUser);
  registry->SetKey(kTestKey);
  registry->SetUninstall(false);
  registry->Entries()->AddEntry()->SetText("x");
  registry->Process();
  EXPECT_EQ(Log("", "Entries"), "-");
  // The list of registry objects knows every one of them.
  bool listed = false;
  for (int i = 0; i < InstallRegistries()->Count(); ++i) listed = listed || InstallRegistries()->GetItem(i) == registry;
  EXPECT_TRUE(listed);
  EXPECT_EQ(ErrorText<IEInstallRegistryList>([] { InstallRegistries()->Add(nullptr); }),
            "Cannot add blank entry to the registry list");
}

}  // namespace
