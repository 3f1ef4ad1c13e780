// Reading the data sources: words of a line, whole numbers, and messages that name the line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace milgant::mapgen {

struct SourceLine {
  int Number = 0;  // counted from 1
  std::string_view Text;  // without its line end (LF or CR LF)
};
std::vector<SourceLine> SplitLines(std::string_view text);

std::string_view Trim(std::string_view s);
// The words of a line, split at spaces and tabs.
std::vector<std::string_view> Words(std::string_view s);
// A whole decimal number, the whole word and nothing else.
std::optional<int> Number(std::string_view s);
// "line N: what", for the generator's refusals.
std::string At(int line, const std::string& what);

}  // namespace milgant::mapgen
