// The 5,000-line script the line editor is measured and tested with: screen, text, delay
// and key lines in turn.
#pragma once

#include <string>

namespace linetest {

inline std::string BigScript(int Lines = 5000) {
  std::string script;
  for (int i = 0; i < Lines; ++i) {
    switch (i % 4) {
      case 0:
        script += "\\@SCREEN ";
        script += std::to_string(i % 50);
        script += "\r\n";
        break;
      case 1:
        script += "load module";
        script += std::to_string(i);
        script += "\r\n";
        break;
      case 2:
        script += '\\';
        script += std::to_string(i % 60 + 1);
        script += "\r\n";
        break;
      default:
        script += "\\Enter\r\n";
        break;
    }
  }
  return script;
}

}  // namespace linetest
