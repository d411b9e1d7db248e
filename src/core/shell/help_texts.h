#pragma once
// Texts of the help tour: the explanation box of each menu screen, the boxes shown at
// start-up and the on/off messages of the help-tour check box. UTF-8, "\n" line breaks.
#include <array>
#include <string>

#include "core/shell/screen.h"

namespace pairly::shell {

// The explanation box of a screen, shown after switching to it while the tour is on.
const std::string& screenHelpText(Screen screen);

// The three boxes shown one after another at the end of start-up while the tour is on.
const std::array<std::string, 3>& startupHelpTexts();

// Title of every explanation box.
inline constexpr const char* kHelpTourTitle = "ヘルプツアー";

inline constexpr const char* kHelpTourOnText = "ヘルプツアー機能をオンにします。";
inline constexpr const char* kHelpTourOnTitle = "ヘルプツアーＯＮ";
inline constexpr const char* kHelpTourOffText = "ヘルプツアー機能をオフにします。";
inline constexpr const char* kHelpTourOffTitle = "ヘルプツアーＯＦＦ";

// What the figures of the forecast, the situation correction and the couple's week mean,
// in words for everyone: the hints of their controls.
inline constexpr const char* kForecastHelp =
    "この2週間の毎日の平均体重にいちばんよく合う直線を引き、そのペースが続いたら目標体重に"
    "届くころを予測します。\n"
    "「早ければ」「遅ければ」の日付は、10回のうち8回くらいはその間に収まるという幅です。"
    "測った日が少なかったり、日によって体重が上下したりするほど、幅は広くなります。\n"
    "グラフの点線（扇の形）がこの予測です。減り方がまだはっきりしないときは日付を出しません。";
inline constexpr const char* kSituationCorrectionHelp =
    "夕食後は起床後より重いなど、測る状況によって体重はいつも同じくらい違います。\n"
    "チェックを入れると、最近90日でいちばん多く一日の最初に測った状況を「基準」にして、"
    "ほかの状況の体重をふだんの差の分だけずらしてから、グラフ・移動平均・トレンド・予測を"
    "描きます。\n"
    "ふだんの差は、同じ日に基準と両方測った日の差を並べた真ん中の値です。そういう日が5日に"
    "満たない状況は「データ不足」で、ずらしません。記録された体重は変わりません。";
inline constexpr const char* kCoupleGoalHelp =
    "ふたりそれぞれの「目標到達予定」の日付のうち、遅い方の日がふたりそろって目標に届く"
    "見込みの日です。";
inline constexpr const char* kCheckInHelp =
    "今週（日曜日から土曜日）に体重を測った日数と、今週の平均体重が先週の平均体重より"
    "どれだけ増えたか減ったかです。\n"
    "下の行は、ふたりとも週に4日以上測った週が先週まで何週続いているかで、今週もふたりが"
    "4日以上測ると今週も数えます。";

// Hint of the check box in the top row.
inline constexpr const char* kHelpTourToolTip = "ヘルプツアーのＯｎ／Ｏｆｆです";

}  // namespace pairly::shell
