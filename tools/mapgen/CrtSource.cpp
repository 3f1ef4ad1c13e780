#include "tools/mapgen/CrtSource.h"

#include <vector>

#include "tools/mapgen/SourceText.h"

namespace milgant::mapgen {

CrtSourceResult ParseCrtSource(std::string_view text) {
  CrtSourceResult result;
  int dice = 0;
  for (const SourceLine& source : SplitLines(text)) {
    const int number = source.Number;
    const std::vector<std::string_view> words = Words(source.Text);
    if (words.empty() || words.front().front() == '#') continue;
    // "die N:" and the fourteen numbers of that die, weakest column first.
    const std::optional<int> dieNumber =
        words.size() >= 2 && words[1].size() >= 2 ? Number(words[1].substr(0, words[1].size() - 1)) : std::nullopt;
    if (words.size() < 2 || words[0] != "die" || words[1].back() != ':' || !dieNumber) {
      result.Error = At(number, "a row reads \"die N:\" and fourteen numbers");
      return result;
    }
    const int die = *dieNumber;
    if (die != dice + 1 || die > kCrtSourceDice) {
      result.Error = At(number, "die " + std::to_string(die) + " where die " + std::to_string(dice + 1) + " was due");
      return result;
    }
    if (words.size() != 2 + kCrtSourceColumns) {
      result.Error = At(number, "die " + std::to_string(die) + " has " + std::to_string(words.size() - 2) +
                                    " numbers, 14 wanted");
      return result;
    }
    auto& row = result.Hits[static_cast<std::size_t>(die - 1)];
    for (int c = 0; c < kCrtSourceColumns; ++c) {
      const std::optional<int> hits = Number(words[static_cast<std::size_t>(2 + c)]);
      int& v = row[static_cast<std::size_t>(c)];
      v = hits.value_or(-1);
      if (v < 0) {
        result.Error = At(number, "\"" + std::string(words[static_cast<std::size_t>(2 + c)]) +
                                      "\" is not a number of steps");
        return result;
      }
      if (c > 0 && v < row[static_cast<std::size_t>(c - 1)]) {
        result.Error = At(number, "column " + std::to_string(c) + " hits less than the weaker column before it");
        return result;
      }
      if (die > 1 && v < result.Hits[static_cast<std::size_t>(die - 2)][static_cast<std::size_t>(c)]) {
        result.Error = At(number, "column " + std::to_string(c) + " hits less on die " + std::to_string(die) +
                                      " than on die " + std::to_string(die - 1));
        return result;
      }
    }
    dice = die;
  }
  if (dice != kCrtSourceDice) {
    result.Error = "the table has " + std::to_string(dice) + " dice, 6 wanted";
    return result;
  }
  result.Ok = true;
  return result;
}

std::string CrtFileText(const CrtSourceResult& table) {
  std::string out;
  for (const auto& row : table.Hits) {
    for (int c = 0; c < kCrtSourceColumns; ++c) {
      if (c > 0) out += ' ';
      out += std::to_string(row[static_cast<std::size_t>(c)]);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace milgant::mapgen
