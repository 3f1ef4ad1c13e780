// Text in records is CP932 (the Microsoft table); everywhere else it is UTF-8. This is the one
// place that converts between the two.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace milgant {

// Both return nothing when the input has a byte sequence the other side cannot represent.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// For display of stored names: undecodable bytes become U+FFFD instead of failing.
std::string Cp932ToUtf8Lossy(std::string_view cp932);

// Literal scenario and rule texts: they are known to convert.
std::string Cp932(std::string_view utf8);

// The CP932 lead-byte test: the byte starts a two-byte character.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace milgant
