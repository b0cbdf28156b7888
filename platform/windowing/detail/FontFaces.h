#pragma once
// The faces that stand in for those the form templates name: a Song (Ming) face for 宋体 and the
// default GUI font, as on the desktop the templates were made for, and a sans CJK face that
// fills in what the Song face lacks and stands in for the Hei faces.

namespace kelvarn::platform::detail {

inline constexpr const char* kSongFamily = "AR PL UMing CN";
inline constexpr const char* kFallbackFamily = "WenQuanYi Micro Hei";

// Maps the Windows face names (Chinese and English) to the faces above.
void installFontSubstitutions();

} // namespace kelvarn::platform::detail
