// The uninstall log's parser: a log of an earlier version reads as it was written, the
// records of what an installation made read back exactly, damaged parts are left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/UninstallLogFormat.h"

using namespace setup;

namespace {

constexpr char kDigest[] = "0123456789ABCDEF0123456789ABCDEF01234567";

TLogTreeValue Text(const std::string& Name, const std::string& Text) {
  return {Name, kRegText, Text + '\0'};
}
TLogTreeValue Number(const std::string& Name, uint32_t Value) {
  return {Name, kRegNumber, std::string{static_cast<char>(Value), static_cast<char>(Value >> 8),
                                        static_cast<char>(Value >> 16), static_cast<char>(Value >> 24)}};
}
TLogTree Key(const std::string& Name, std::vector<TLogTreeValue> Values, std::vector<TLogTree> Subkeys = {}) {
  return {Name, std::move(Values), std::move(Subkeys)};
}

TEST(UninstallLogFormat, ALogOfAnEarlierVersionReadsAsItWasWritten) {
  const TLogTree product = Key(
      "Product", {Text("DisplayName", "Product")},
      {Key("Files1", {Text("File1", "C:\\App\\third.txt")}),
       Key("Files", {Text("Entries", "10"), Text("File10", "C:\\App\\second.txt"), Text("File9", "C:\\App\\first.txt")}),
       Key("ActiveX", {Text("File1", "C:\\App\\x.dll;0"), Text("File2", "no kind")}),
       Key("RegistryKeys",
           {Text("Entries", "10")},
           {Key("RegistryKey10", {Text("Key", "\\Software\\Second"), Number("Root", 2)}),
            Key("RegistryKey2", {Text("Key", "\\Software\\First"), Text("Root", "4")},
                {Key("Entries", {Text("Path", "C:\\App"), Text("Count", "3")})})})});
  const TUninstallLog log = ParseUninstallLog(product);
  EXPECT_TRUE(log.Found);
  EXPECT_EQ(log.Files, (std::vector<std::string>{"C:\\App\\first.txt", "C:\\App\\second.txt", "C:\\App\\third.txt"}));
  ASSERT_EQ(log.ActiveX.size(), 2u);
  EXPECT_EQ(log.ActiveX[0].Path, "C:\\App\\x.dll");
  EXPECT_EQ(log.ActiveX[0].Kind, kActiveXLibrary);
  EXPECT_EQ(log.ActiveX[1].Entry, "no kind");
  EXPECT_TRUE(log.ActiveX[1].Path.empty());
  ASSERT_EQ(log.RegistryKeys.size(), 2u);
  EXPECT_EQ(log.RegistryKeys[0].Entry, "RegistryKey2");
  EXPECT_EQ(log.RegistryKeys[0].Root, 4);
  EXPECT_EQ(log.RegistryKeys[1].Root, 2);
  ASSERT_EQ(log.RegistryKeys[0].Values.size(), 2u);
  EXPECT_EQ(log.RegistryKeys[0].Values[0].Text, "C:\\App");
  // Nothing shows what the installation made.
  EXPECT_TRUE(log.FileRecords.empty());
  EXPECT_TRUE(log.MadeFolders.empty());
  EXPECT_EQ(log.RegistryKeys[0].MadeLevels, 0);
  EXPECT_FALSE(log.RegistryKeys[0].Values[0].Made);
  EXPECT_EQ(log.ListCounts.at("FILES"), "10");
}

TEST(UninstallLogFormat, WhatTheInstallationMadeReadsBackExactly) {
  const std::string binary("\x01\x00\xFF", 3);
  const TLogTree product = Key(
      "Product", {},
      {Key("MadeFiles", {Text("C:\\App\\a.exe", "12:" + std::string(kDigest)),
                         Text("c:\\app\\b.dll", "1:" + std::string(kDigest) + " 2:" + std::string(kDigest) + " shared")}),
       Key("MadeFolders", {Text("C:\\App", "305419896:0:4294967295")}),
       Key("RegistryKeys", {},
           {Key("RegistryKey1", {Text("Key", "\\Software\\Maker\\App"), Number("Root", 2), Number("MadeLevels", 2)},
                {Key("Entries", {Text("Blob", "(data of type 3)")}),
                 Key("MadeValues", {{"Blob", 3, binary}, {"Expanded", kRegExpandedText, "%x%\0"}})})})});
  const TUninstallLog log = ParseUninstallLog(product);
  const TFileRecord* library = log.RecordOf("C:\\APP\\B.DLL");
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(library->Shared);
  ASSERT_EQ(library->Contents.size(), 2u);
  EXPECT_EQ(library->Contents[1].Size, 2u);
  EXPECT_EQ(DigestToHex(library->Contents[1].Digest), kDigest);
  ASSERT_NE(log.RecordOf("C:\\App\\a.exe"), nullptr);
  EXPECT_FALSE(log.RecordOf("C:\\App\\a.exe")->Shared);
  ASSERT_EQ(log.MadeFolders.size(), 1u);
  EXPECT_EQ(log.MadeFolders[0].Id, "305419896:0:4294967295");
  ASSERT_EQ(log.RegistryKeys.size(), 1u);
  const TLoggedRegistryKey& key = log.RegistryKeys[0];
  EXPECT_EQ(key.MadeLevels, 2);
  ASSERT_EQ(key.Values.size(), 2u);
  // The bytes and the type as written, not the text the "Entries" list gives them.
  EXPECT_TRUE(key.Values[0].Made);
  EXPECT_EQ(key.Values[0].Type, 3u);
  EXPECT_EQ(key.Values[0].Data, binary);
  EXPECT_EQ(key.Values[0].Text, "(data of type 3)");
  EXPECT_TRUE(key.Values[1].Made);
  EXPECT_EQ(key.Values[1].Type, kRegExpandedText);

  // What the writer writes, the parser reads.
  TFileRecord record;
  record.Contents.push_back(library->Contents[0]);
  record.Shared = true;
  TFileRecord read;
  ASSERT_TRUE(ParseFileRecord(FileRecordText(record), read));
  EXPECT_EQ(read, record);
}

TEST(UninstallLogFormat, DamagedPartsAreLeftOut) {
  const std::string five = "1:" + std::string(kDigest) + " 2:" + kDigest + " 3:" + kDigest + " 4:" + kDigest + " 5:" +
                           kDigest;
  const TLogTree product = Key(
      "Product", {},
      {Key("Files", {Text("Entries", "x"), Number("File1", 7), Text("Filex", "C:\\a"), Text("File", "C:\\b"),
                     Text("File1234567890", "C:\\c"), Text("File2", "C:\\d")}),
       Key("Filesx", {Text("File1", "C:\\e")}),
       Key("MadeFiles", {Text("C:\\lower", "1:" + std::string(kDigest).substr(0, 39) + "a"),
                         Text("C:\\short", "1:0123"), Text("C:\\five", five), Text("C:\\word", "shared other"),
                         {"C:\\binary", 3, "1:" + std::string(kDigest)}}),
       Key("MadeFolders", {Text("C:\\a", "1:2"), Text("C:\\b", "1:2:3:4"), Text("C:\\c", "1:2:4294967296"),
                           Text("C:\\d", "::")}),
       Key("RegistryKeys", {},
           {Key("RegistryKey1", {Text("Key", "\\Software\\A"), Number("MadeLevels", 100000)}),
            Key("RegistryKeyx", {Text("Key", "\\Software\\B")})})});
  const TUninstallLog log = ParseUninstallLog(product);
  EXPECT_EQ(log.Files, std::vector<std::string>{"C:\\d"});
  EXPECT_TRUE(log.FileRecords.empty());
  EXPECT_TRUE(log.MadeFolders.empty());
  ASSERT_EQ(log.RegistryKeys.size(), 1u);
  EXPECT_EQ(log.RegistryKeys[0].MadeLevels, 0);
  EXPECT_EQ(log.RegistryKeys[0].Root, -1);
}

TEST(UninstallLogFormat, AFileIsRegisteredByTheKindItsNameGives) {
  EXPECT_EQ(ActiveXKindOfName("C:\\App\\types.TLB"), kActiveXTypeLibrary);
  EXPECT_EQ(ActiveXKindOfName("C:\\App\\server.Exe"), kActiveXServer);
  EXPECT_EQ(ActiveXKindOfName("C:\\App\\control.ocx"), kActiveXLibrary);
  EXPECT_EQ(ActiveXKindOfName("C:\\App.exe\\library"), kActiveXLibrary);
}

}  // namespace
