// Version resources of Windows executables and the overwrite decision on real files.
#pragma once

#include <cstdint>
#include <string>

#include "OverwriteDecision.h"
#include "core/Classes.h"

namespace setup {

enum TLanguage {
  lnArabic,
  lnBulgarian,
  lnCatalan,
  lnTraditionalChinese,
  lnCzech,
  lnDanish,
  lnGerman,
  lnGreek,
  lnUSEnglish,
  lnCastilianSpanish,
  lnFinnish,
  lnFrench,
  lnHebrew,
  lnHungarian,
  lnIcelandic,
  lnItalian,
  lnJapanese,
  lnKorean,
  lnDutch,
  lnNorwegianBokmal,
  lnPolish,
  lnBrazilianPortuguese,
  lnRhaetoRomanic,
  lnRomanian,
  lnRussian,
  lnCroatoSerbian,
  lnSlovak,
  lnAlbanian,
  lnSwedish,
  lnThai,
  lnTurkish,
  lnUrdu,
  lnBahasa,
  lnSimplifiedChinese,
  lnSwissGerman,
  lnUKEnglish,
  lnMexicanSpanish,
  lnBelgianFrench,
  lnSwissItalian,
  lnBelgianDutch,
  lnNorwegianNynorsk,
  lnPortuguese,
  lnSerboCroatian,
  lnCanadianFrench,
  lnSwissFrench
};
enum TCharacterSet {
  csASCII,
  csJapan,
  csKorea,
  csTaiwan,
  csUnicode,
  csLatin2,
  csCyrillic,
  csMultilingual,
  csGreek,
  csTurkish,
  csHebrew,
  csArabic
};
const fw::TEnumInfo& LanguageInfo();
const fw::TEnumInfo& CharacterSetInfo();

// The values of one version resource.
// What a version resource says, as read.
struct TVersionValues {
  std::string Comment, CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, LegalTradeMarks,
      OriginalFileName, PrivateBuild, ProductName, ProductVersion, SpecialBuild, FileOS, FileType, FileSubType;
  // Primary language of the file's translation, 0 when it has none.
  uint16_t PrimaryLanguage = 0;
};

// The published, read-only view of a version resource's values.
class TVersionInfo : public fw::TPersistent {
  FW_CLASS(TVersionInfo, fw::TPersistent)
 public:
  const std::string& Comment() const { return FValues.Comment; }
  const std::string& CompanyName() const { return FValues.CompanyName; }
  const std::string& FileDescription() const { return FValues.FileDescription; }
  const std::string& FileVersion() const { return FValues.FileVersion; }
  const std::string& InternalName() const { return FValues.InternalName; }
  const std::string& LegalCopyright() const { return FValues.LegalCopyright; }
  const std::string& LegalTradeMarks() const { return FValues.LegalTradeMarks; }
  const std::string& OriginalFileName() const { return FValues.OriginalFileName; }
  const std::string& PrivateBuild() const { return FValues.PrivateBuild; }
  const std::string& ProductName() const { return FValues.ProductName; }
  const std::string& ProductVersion() const { return FValues.ProductVersion; }
  const std::string& SpecialBuild() const { return FValues.SpecialBuild; }
  const std::string& FileOS() const { return FValues.FileOS; }
  const std::string& FileType() const { return FValues.FileType; }
  const std::string& FileSubType() const { return FValues.FileSubType; }
  uint16_t PrimaryLanguage() const { return FValues.PrimaryLanguage; }
  const TVersionValues& Values() const { return FValues; }
  void SetValues(TVersionValues Value) { FValues = std::move(Value); }
  void Clear() { FValues = TVersionValues(); }

 private:
  TVersionValues FValues;
};

class TVersionResource : public fw::TComponent {
  FW_CLASS(TVersionResource, fw::TComponent)
 public:
  // Reads the running program's own version resource.
  explicit TVersionResource(fw::TComponent* AOwner);
  ~TVersionResource() override;

  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value);
  TLanguage Language() const { return FLanguage; }
  void SetLanguage(TLanguage Value);
  TCharacterSet CharacterSet() const { return FCharacterSet; }
  void SetCharacterSet(TCharacterSet Value);
  TVersionInfo* VersionInfo() const { return FVersionInfo; }

  static uint16_t GetLangID(TLanguage Value);
  static uint16_t GetCodePage(TCharacterSet Value);
  void ClearVersionInfo() { FVersionInfo->Clear(); }
  void ReadVersionInfo();
  // Parses a block as GetFileVersionInfo returns it.
  void ParseVersionInfo(const void* Block);

  // Decision codes (OverwriteDecision.h) for copying the file Source over Target, and
  // for a new file known by its version text and date (an archive header).
  static uint8_t IsFileNewerByName(const std::string& Source, const std::string& Target, int Mode);
  static uint8_t IsFileNewerByVersion(const std::string& Version, const std::string& Target, int Mode, double Date);

 private:
  std::string FFileName;
  TLanguage FLanguage = lnUSEnglish;
  TCharacterSet FCharacterSet = csMultilingual;
  TVersionInfo* FVersionInfo;
};

// The program-wide instance the decisions and the archive's header builder use.
TVersionResource& GlobalVersionResource();
// The FileVersion text of a file ("" without a version resource), read through it.
std::string FileVersionOf(const std::string& FileName);

}  // namespace setup
