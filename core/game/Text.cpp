#include "core/game/Text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace milgant {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  const bool ok = r != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - dstLeft);
  return out;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) { return Convert("UTF-8", "CP932", cp932); }
std::optional<std::string> Utf8ToCp932(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8); }

std::string Cp932ToUtf8Lossy(std::string_view cp932) {
  std::string out;
  std::size_t i = 0;
  while (i < cp932.size()) {
    const unsigned char b = static_cast<unsigned char>(cp932[i]);
    const std::size_t len = (IsCp932LeadByte(b) && i + 1 < cp932.size()) ? 2 : 1;
    if (auto s = Cp932ToUtf8(cp932.substr(i, len))) {
      out += *s;
    } else {
      out += "\xEF\xBF\xBD";
    }
    i += len;
  }
  return out;
}

std::string Cp932(std::string_view utf8) {
  auto s = Utf8ToCp932(utf8);
  if (!s) throw std::logic_error("text has no CP932 form: " + std::string(utf8));
  return *s;
}

}  // namespace milgant
