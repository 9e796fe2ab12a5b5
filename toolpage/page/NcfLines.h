// The text work of putting one command line into a server start-up file such as
// "AUTOEXEC.NCF": lines that already carry the command are replaced, else the line is
// appended. Portable; the file handling is in AutoUpdate.h.
#pragma once

#include <string>
#include <vector>

namespace toolpage {

// Upper-cased, trimmed, and without any space character (tabs inside stay).
std::string NormalizeLine(const std::string& Line);

// The lines of a text file: CR LF, a lone CR or a lone LF end a line; a last line
// without its end counts, an end after the last line adds no empty line.
std::vector<std::string> SplitTextLines(const std::string& Data);

// The new content: every line whose normalized form begins with the normalized Key
// (NewLine's when Key is empty) becomes NewLine; without such a line NewLine is appended.
// Every line ends in CR LF.
std::string UpdateNcfText(const std::string& Data, const std::string& Key, const std::string& NewLine);

}  // namespace toolpage
