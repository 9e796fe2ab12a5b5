#include "VersionResource.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "ArchiveStream.h"
#include "ArchiveText.h"
#include "FileSystem.h"
#include "core/ClassDef.h"

namespace setup {

namespace {
const uint16_t kLangIDs[] = {1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039,
                             1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054,
                             1055, 1056, 1057, 2052, 2055, 2057, 2058, 2060, 2064, 2067, 2068, 2070, 2074, 3084, 4108};
const uint16_t kCodePages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
}  // namespace

const fw::TEnumInfo& LanguageInfo() {
  static const fw::TEnumInfo info{"TLanguage",
                                  {"lnArabic",
                                   "lnBulgarian",
                                   "lnCatalan",
                                   "lnTraditionalChinese",
                                   "lnCzech",
                                   "lnDanish",
                                   "lnGerman",
                                   "lnGreek",
                                   "lnUSEnglish",
                                   "lnCastilianSpanish",
                                   "lnFinnish",
                                   "lnFrench",
                                   "lnHebrew",
                                   "lnHungarian",
                                   "lnIcelandic",
                                   "lnItalian",
                                   "lnJapanese",
                                   "lnKorean",
                                   "lnDutch",
                                   "lnNorwegianBokmal",
                                   "lnPolish",
                                   "lnBrazilianPortuguese",
                                   "lnRhaetoRomanic",
                                   "lnRomanian",
                                   "lnRussian",
                                   "lnCroatoSerbian",
                                   "lnSlovak",
                                   "lnAlbanian",
                                   "lnSwedish",
                                   "lnThai",
                                   "lnTurkish",
                                   "lnUrdu",
                                   "lnBahasa",
                                   "lnSimplifiedChinese",
                                   "lnSwissGerman",
                                   "lnUKEnglish",
                                   "lnMexicanSpanish",
                                   "lnBelgianFrench",
                                   "lnSwissItalian",
                                   "lnBelgianDutch",
                                   "lnNorwegianNynorsk",
                                   "lnPortuguese",
                                   "lnSerboCroatian",
                                   "lnCanadianFrench",
                                   "lnSwissFrench"}};
  return info;
}

const fw::TEnumInfo& CharacterSetInfo() {
  static const fw::TEnumInfo info{"TCharacterSet",
                                  {"csASCII", "csJapan", "csKorea", "csTaiwan", "csUnicode", "csLatin2", "csCyrillic",
                                   "csMultilingual", "csGreek", "csTurkish", "csHebrew", "csArabic"}};
  return info;
}

const fw::TClass& TVersionInfo::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TVersionInfo>()
                                    .String("Comment", &TVersionInfo::Comment)
                                    .String("CompanyName", &TVersionInfo::CompanyName)
                                    .String("FileDescription", &TVersionInfo::FileDescription)
                                    .String("FileVersion", &TVersionInfo::FileVersion)
                                    .String("InternalName", &TVersionInfo::InternalName)
                                    .String("LegalCopyright", &TVersionInfo::LegalCopyright)
                                    .String("LegalTradeMarks", &TVersionInfo::LegalTradeMarks)
                                    .String("OriginalFileName", &TVersionInfo::OriginalFileName)
                                    .String("PrivateBuild", &TVersionInfo::PrivateBuild)
                                    .String("ProductName", &TVersionInfo::ProductName)
                                    .String("ProductVersion", &TVersionInfo::ProductVersion)
                                    .String("SpecialBuild", &TVersionInfo::SpecialBuild)
                                    .String("FileOS", &TVersionInfo::FileOS)
                                    .String("FileType", &TVersionInfo::FileType)
                                    .String("FileSubType", &TVersionInfo::FileSubType);
  return cls;
}

const fw::TClass& TVersionResource::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TVersionResource>()
          .Creatable()
          .String("FileName", &TVersionResource::FileName, &TVersionResource::SetFileName)
          .Enum("Language", LanguageInfo(), &TVersionResource::Language, &TVersionResource::SetLanguage)
          .Enum("CharacterSet", CharacterSetInfo(), &TVersionResource::CharacterSet, &TVersionResource::SetCharacterSet)
          .Object("VersionInfo", &TVersionResource::VersionInfo);
  return cls;
}

TVersionResource::TVersionResource(fw::TComponent* AOwner)
    : fw::TComponent(AOwner), FFileName(ProgramFileName()), FVersionInfo(new TVersionInfo) {
  ReadVersionInfo();
}

TVersionResource::~TVersionResource() {
  delete FVersionInfo;
}

void TVersionResource::SetFileName(const std::string& Value) {
  FFileName = Value;
  ReadVersionInfo();
}

void TVersionResource::SetLanguage(TLanguage Value) {
  FLanguage = Value;
  ReadVersionInfo();
}

void TVersionResource::SetCharacterSet(TCharacterSet Value) {
  FCharacterSet = Value;
  ReadVersionInfo();
}

uint16_t TVersionResource::GetLangID(TLanguage Value) {
  if (Value < 0 || static_cast<size_t>(Value) >= std::size(kLangIDs)) throw fw::Exception("Unknown language");
  return kLangIDs[Value];
}

uint16_t TVersionResource::GetCodePage(TCharacterSet Value) {
  if (Value < 0 || static_cast<size_t>(Value) >= std::size(kCodePages)) throw fw::Exception("Unknown character set");
  return kCodePages[Value];
}

void TVersionResource::ReadVersionInfo() {
  ClearVersionInfo();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(FFileName.c_str(), &handle);
  if (size == 0) return;
  std::vector<char> block(size);
  if (GetFileVersionInfoA(FFileName.c_str(), 0, size, block.data())) ParseVersionInfo(block.data());
}

namespace {
std::string FileOSText(DWORD os) {
  switch (os) {
    case 1:
      return "Windows 3.0 or later";
    case 2:
      return "16 bit OS/2 Presentation Manager";
    case 3:
      return "32 bit OS/2 Presentation Manager";
    case 4:
      return "32 bit Windows";
    case 0x10000:
      return "MS-Dos";
    case 0x10001:
      return "Windows 3.0 or later with MS-Dos";
    case 0x10004:
      return "32 bit Windows with MS-Dos";
    case 0x20000:
      return "16 bit OS/2";
    case 0x20002:
      return "16 bit OS/2 with Presentation Manager";
    case 0x30000:
      return "32 bit OS/2";
    case 0x30003:
      return "32 bit OS/2 with Presentation Manager";
    case 0x40000:
      return "Windows NT";
    case 0x40004:
      return "Windows NT with 32 bit Windows";
    default:
      return "Unknown";
  }
}

std::string FileTypeText(DWORD type) {
  switch (type) {
    case 1:
      return "Application";
    case 2:
      return "Dynamic-Link Library";
    case 3:
      return "Device Driver";
    case 4:
      return "Font";
    case 5:
      return "Virtual Device Driver";
    case 7:
      return "Static-Link Library";
    default:
      return "Unknown";
  }
}

std::string FileSubTypeText(DWORD type, DWORD subType) {
  static const char* const drivers[] = {"Printer", "Keyboard", "Language",    "Display", "Mouse",
                                        "Network", "System",   "Installable", "Sound",   "Communications"};
  static const char* const fonts[] = {"Raster", "Vector", "TrueType"};
  if (type == 3) return subType >= 1 && subType <= 10 ? drivers[subType - 1] : "Unknown";
  if (type == 4) return subType >= 1 && subType <= 3 ? fonts[subType - 1] : "Unknown";
  return {};
}

std::string VersionText(DWORD ms, DWORD ls) {
  return fw::Format("%u.%u.%u.%u", unsigned(HIWORD(ms)), unsigned(LOWORD(ms)), unsigned(HIWORD(ls)),
                    unsigned(LOWORD(ls)));
}
}  // namespace

void TVersionResource::ParseVersionInfo(const void* Block) {
  void* data = const_cast<void*>(Block);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  // A fixed part shorter than its record is no version at all.
  if (!VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO))
    return;
  TVersionValues info;
  void* translation = nullptr;
  if (VerQueryValueA(data, "\\VarFileInfo\\Translation", &translation, &length) && length == 4)
    info.PrimaryLanguage = *static_cast<const uint16_t*>(translation) & 0x3FF;
  info.FileVersion = VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
  info.ProductVersion = VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
  info.FileOS = FileOSText(fixed->dwFileOS);
  info.FileType = FileTypeText(fixed->dwFileType);
  info.FileSubType = FileSubTypeText(fixed->dwFileType, fixed->dwFileSubtype);

  std::string prefix =
      fw::Format("\\StringFileInfo\\%04X%04X\\", unsigned(GetLangID(FLanguage)), unsigned(GetCodePage(FCharacterSet)));
  struct {
    const char* key;
    std::string TVersionValues::*field;
  } const strings[] = {
      {"Comments", &TVersionValues::Comment},
      {"CompanyName", &TVersionValues::CompanyName},
      {"FileDescription", &TVersionValues::FileDescription},
      {"InternalName", &TVersionValues::InternalName},
      {"LegalCopyright", &TVersionValues::LegalCopyright},
      {"LegalTradeMarks", &TVersionValues::LegalTradeMarks},
      {"OriginalFileName", &TVersionValues::OriginalFileName},
      {"PrivateBuild", &TVersionValues::PrivateBuild},
      {"ProductName", &TVersionValues::ProductName},
      {"ProductVersion", &TVersionValues::ProductVersion},
      {"SpecialBuild", &TVersionValues::SpecialBuild},
  };
  for (const auto& s : strings) {
    char* value = nullptr;
    if (VerQueryValueA(data, (prefix + s.key).c_str(), reinterpret_cast<void**>(&value), &length) && value != nullptr)
      info.*s.field = std::string(value, strnlen(value, length));
  }
  FVersionInfo->SetValues(std::move(info));
}

TVersionResource& GlobalVersionResource() {
  static std::unique_ptr<TVersionResource> instance(new TVersionResource(nullptr));
  return *instance;
}

std::string FileVersionOf(const std::string& FileName) {
  TVersionResource& resource = GlobalVersionResource();
  resource.SetFileName(FileName);
  return resource.VersionInfo()->FileVersion();
}

namespace {
// The date stamp of a file as a date-time; false when the file cannot be opened.
bool FileDateTime(const std::string& FileName, double& Value) {
  TWinFile file;
  if (!file.Open(FileName, TFileOpen::Read)) return false;
  Value = DosDateTimeToDateTime(file.DosDateTime());
  return true;
}

int CompareDateTimes(double Source, double Target) {
  return Source > Target ? 1 : Source < Target ? 2 : 0;
}

bool Exists(const std::string& Target) {
  return !fw::Trim(Target).empty() && FileExists(Target);
}
}  // namespace

uint8_t TVersionResource::IsFileNewerByName(const std::string& Source, const std::string& Target, int Mode) {
  TOverwriteFacts facts;
  facts.TargetExists = [&] { return Exists(Target); };
  facts.SourceVersion = [&] { return FileVersionOf(Source); };
  facts.TargetVersion = [&] { return FileVersionOf(Target); };
  facts.CompareDates = [&](int& Result) {
    double source = 0, target = 0;
    if (!FileDateTime(Source, source) || !FileDateTime(Target, target)) return false;
    Result = CompareDateTimes(source, target);
    return true;
  };
  return DecideOverwrite(Mode, facts);
}

uint8_t TVersionResource::IsFileNewerByVersion(const std::string& Version, const std::string& Target, int Mode,
                                               double Date) {
  TOverwriteFacts facts;
  facts.TargetExists = [&] { return Exists(Target); };
  facts.SourceVersion = [&] { return Version; };
  facts.TargetVersion = [&] { return FileVersionOf(Target); };
  facts.CompareDates = [&](int& Result) {
    double target = 0;
    if (!FileDateTime(Target, target)) return false;
    Result = CompareDateTimes(Date, target);
    return true;
  };
  return DecideOverwrite(Mode, facts);
}

}  // namespace setup
