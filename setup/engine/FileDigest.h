// The setup file's digest trailer: 40 upper-case hexadecimal characters of the SHA-0
// digest of everything before it.
#pragma once

#include <string>

namespace setup {

// The digest of FileName, over all of it or over all but its last 40 bytes. Raises
// Exception "Can't find file "%s"!" when the file is missing, and "Can't calculete
// CheckSum" when it cannot be read or is shorter than a trailer.
std::string CalcFileCheckSum(const std::string& FileName, bool AllButTrailer);
// Appends Digest to FileName; an empty Digest is computed over the whole file first.
// Raises "Can't calculete CheckSum" when the digest is not 40 hexadecimal characters or
// cannot be written whole.
void AppendFileCheckSum(const std::string& FileName, std::string Digest);

}  // namespace setup
