// Project files, settings and logs are 8-bit Windows-1252 text. The core
// keeps such text as the bytes of the file; these helpers convert it for a
// screen or terminal that shows UTF-8, and back.
#pragma once

#include <string>
#include <string_view>

namespace qw {

// Every byte of Windows-1252 to its Unicode character in UTF-8. The five
// bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the C1 control characters of the same value, so no byte is lost.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252. Characters that Windows-1252 cannot hold, and
// malformed UTF-8 sequences, become "?".
std::string Utf8ToCp1252(std::string_view text);

// ASCII upper case; bytes above 127 are kept as they are.
std::string UpperAscii(std::string_view text);

}  // namespace qw
