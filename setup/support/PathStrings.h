// Text helpers for paths and delimited lists.
#pragma once

#include <cstddef>
#include <string>

namespace fw {
class TStrings;
}

namespace setup {

// S with "\" appended, unless S is empty or already ends in "\".
std::string AddTrailingBackslash(const std::string& S);
// S without its last character when that is "\".
std::string RemoveTrailingBackslash(const std::string& S);

// The number of Delimiter characters in S, plus one when S is not empty and does not
// end in Delimiter: "a;b;" and "a;b" both hold two items, "" none.
int CountDelimitedItems(const std::string& S, char Delimiter);
// Item N (from 1) of S; empty when S has fewer items or N is below 1.
std::string GetDelimitedItem(const std::string& S, int N, char Delimiter);
// Clears List and adds every item of S.
void SplitDelimited(const std::string& S, char Delimiter, fw::TStrings& List);

// The text after the first ":" (drops a drive prefix); empty when S holds no ":".
std::string ExtractAfterColon(const std::string& S);
// Text with a line break put into every word (a run without blanks) longer than Longest
// characters: after its last "\" within each Longest characters, or at Longest where it
// has none. A message box then shows a long path in lines that fit the screen instead
// of one line wider than it.
std::string BreakLongWords(const std::string& Text, size_t Longest);
// The longest word a message box shows on one line.
inline constexpr size_t kLongestMessageWord = 80;

// A copy of S fit for a file name: "/" becomes "-"; " * : ; < > ? \ | are dropped.
std::string StripInvalidFileNameChars(const std::string& S);

}  // namespace setup
