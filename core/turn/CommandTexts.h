// The texts of the player's commands: notes, questions, window captions and button captions.
#pragma once

#include <array>
#include <string_view>

namespace milgant::texts {

inline constexpr std::string_view kMenuPhaseEnd = "フェイズ終了";
inline constexpr std::string_view kMenuCancel = "キャンセル";
inline constexpr std::string_view kNoReplenishCaption = "補充不可";
inline constexpr std::string_view kNoReplenishText = "このユニットは補給線が途絶しています";
inline constexpr std::string_view kAttackMistake = "攻撃選択ミス";
inline constexpr std::string_view kAttackAdjacentText = "隣接したへクスを攻撃して下さい";
inline constexpr std::string_view kAttackEnemyText = "敵ユニットの存在するへクスを攻撃して下さい";
inline constexpr std::string_view kAttackCastleText = "敵の城を攻撃して下さい";
inline constexpr std::string_view kAttackQuestion = "攻撃選択";
inline constexpr std::string_view kAttackQuestionHead = "へクス ";
inline constexpr std::string_view kAttackQuestionTail = " を攻撃しますか？";
inline constexpr std::string_view kReplenishCaption = "補充";
inline constexpr std::string_view kReplenishText = "補充ポイントを消費し部隊を補充します";
inline constexpr std::string_view kStandbyCaption = "援軍待機";
inline constexpr std::string_view kStandbyText = "援軍待機へクスを指定してください。";
inline constexpr std::string_view kRegroupCaption = "再編成選択";
inline constexpr std::string_view kRegroupText = "軍団武将か配下武将か選択して下さい。";
inline constexpr std::string_view kRegroupCommander = "独立武将";
inline constexpr std::string_view kRegroupSubordinate = "配下武将";
inline constexpr std::string_view kCommandErrorCaption = "統率力エラー";
inline constexpr std::string_view kCommandErrorText = "統率するユニットが多すぎます。";
inline constexpr std::string_view kRankErrorCaption = "階級エラー";
inline constexpr std::string_view kRankErrorText = "階級差がありません。";
inline constexpr std::string_view kUnitWindowCaption = "ユニット情報";
inline constexpr std::string_view kCorpsListCaption = "軍団武将";
inline constexpr std::string_view kSubordinateListCaption = "配下武将";
inline constexpr std::string_view kSelected = "ユニット選択中";
inline constexpr std::string_view kNotSelected = "ユニット未選択";
inline constexpr std::string_view kSupplied = "補給中";
inline constexpr std::string_view kOutOfSupply = "補給切れ";
inline constexpr std::string_view kCanMove = "移動可能";
inline constexpr std::string_view kCannotMove = "移動不可";
inline constexpr std::string_view kNormal = "通常状態";
inline constexpr std::string_view kConfused = "混乱状態";
inline constexpr std::string_view kFortified = "完了";
inline constexpr std::string_view kNotFortified = "未了";
inline constexpr std::string_view kButtonMove = "移動";
inline constexpr std::string_view kButtonBattle = "戦闘　合戦";
inline constexpr std::string_view kButtonDetach = "独立";
inline constexpr std::string_view kButtonOrganise = "編成";
inline constexpr std::string_view kButtonRecover = "回復";
inline constexpr std::string_view kButtonEndAction = "行動終了";
inline constexpr std::string_view kButtonReplenish = "補充";
inline constexpr std::string_view kButtonFortify = "野戦築城";
inline constexpr std::string_view kButtonStandby = "援軍待機";
inline constexpr std::string_view kReplenishMaximumCaption = "全補充ポイント";
inline constexpr std::string_view kReplenishValueCaption = "部隊補充";
inline constexpr std::string_view kStandbyMaximumCaption = "最大援軍待機へクス";
inline constexpr std::string_view kStandbyValueCaption = "援軍待機へクス";

// The captions beside the unit window's values, top to bottom.
inline constexpr std::array<std::string_view, 15> kDetailCaptions = {
    "所属軍", "武将名", "戦闘修正", "選択モード", "戦闘力/最大戦闘力", "ステップ/最大ステップ", "行動ポイント", "士気", "采配", "階級", "補給状態", "行動状態", "部隊状態", "野戦築城", "援軍待機"};

}  // namespace milgant::texts
