// Text descriptions of forms: the object tree with its property values, as stored
// in a form resource.
//
//   object Main: TMain
//     Caption = 'Setup'#241
//     Information.CompanyName = 'Kavel Software'
//     OS = [oswin95, oswinNT]
//     Lines.Strings = (
//       'first'
//       'second')
//     Picture.Data = {0A54...}
//     Entries = <
//       item
//         Ident = 'VX4.EXE'
//       end>
//     OnShow = FormShow
//     object Child: TLabel
//     end
//   end
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

struct TFormProperty;

struct TFormItem {  // one item of a collection value
  int Line = 0;
  std::vector<TFormProperty> Properties;
};

struct TFormValue {
  enum TKind { vaInteger, vaFloat, vaString, vaIdent, vaSet, vaList, vaBinary, vaCollection };
  TKind Kind = vaInteger;
  int Line = 0;
  long long Integer = 0;
  double Float = 0;
  std::string Text;                   // vaString, vaIdent
  std::vector<std::string> Names;     // vaSet
  std::vector<TFormValue> List;       // vaList
  std::vector<uint8_t> Data;          // vaBinary
  std::vector<TFormItem> Items;       // vaCollection

  const char* KindName() const;
};

struct TFormProperty {
  std::string Name;  // may be dotted: Information.CompanyName
  int Line = 0;
  TFormValue Value;
};

struct TFormObject {
  std::string Name;
  std::string ClassName;
  int Line = 0;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
};

// Parses a description; raises EReadError "Error reading <Source>, line <n>: <what>".
TFormObject ParseFormText(std::string_view Text, const std::string& Source);

}  // namespace fw
