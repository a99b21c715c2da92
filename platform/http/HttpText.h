// Turning the bytes of a reply body into text by the character set that the
// reply declares in its Content-Type.
#pragma once

#include <string>

namespace lumora {

// The "charset" parameter of a Content-Type value, in lower case; "" when
// there is none. The value may be quoted.
std::string CharsetOf(const std::string& contentType);

// |bytes| decoded as UTF-16 text. "utf-8" and "utf8" are read as UTF-8,
// "utf-16le" and "utf-16be" as such, "utf-16" by its byte-order mark and as
// little-endian without one; a leading byte-order mark is dropped. Ill-formed
// UTF-8 becomes U+FFFD, one for each maximal ill-formed part
// (common/Unicode.h), and an odd last byte of UTF-16 one U+FFFD. Any other
// character set, or none, is read one byte to one character (ISO-8859-1),
// which keeps every ASCII character.
std::u16string DecodeHttpText(const std::string& bytes, const std::string& contentType);

}  // namespace lumora
