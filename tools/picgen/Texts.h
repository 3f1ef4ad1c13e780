// Words that appear in the pictures: the title and the two armies' names.
#pragma once

namespace picgen {

inline constexpr const char* kTitleText = "ミルガント・改";
inline constexpr const char* kArmyName0 = "ヴァルネ軍";
inline constexpr const char* kArmyName1 = "ソルカ軍";

}  // namespace picgen
