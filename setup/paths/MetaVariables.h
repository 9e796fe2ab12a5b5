// The two "%" expanders of folder texts, without any Windows call: the values come
// from the caller.
#pragma once

#include <functional>
#include <string>

namespace setup {

// Expands the meta variables of shortcut texts. "%%" gives "%"; "%" and a letter gives
// Value(letter in lower case), which may raise; "%" followed by anything else is kept as
// it stands ("%1" stays "%1"), and a "%" at the very end is dropped.
std::string ExpandMetaText(const std::string& Text, const std::function<std::string(char Letter)>& Value);

// Expands "%p" (either case) to Path; "%" and any other character gives that character
// ("%%" gives "%", "%x" gives "x"); a "%" at the very end is dropped.
std::string ExpandPathText(const std::string& Text, const std::string& Path);

}  // namespace setup
