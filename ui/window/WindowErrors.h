#pragma once
// The runtime errors the window runtime reports when a procedure names a window or unit that is
// not there.

namespace kelvarn::ui {

// "未载入欲访问窗口组件所在的窗口"
inline constexpr char kUnitWindowNotLoaded[] =
    "\xce\xb4\xd4\xd8\xc8\xeb\xd3\xfb\xb7\xc3\xce\xca\xb4\xb0\xbf\xda\xd7\xe9\xbc\xfe\xcb\xf9"
    "\xd4\xda\xb5\xc4\xb4\xb0\xbf\xda";
// "指定窗口尚未载入"
inline constexpr char kWindowNotLoaded[] = "\xd6\xb8\xb6\xa8\xb4\xb0\xbf\xda\xc9\xd0\xce\xb4\xd4"
                                           "\xd8\xc8\xeb";
// "指定窗口或窗口组件不存在或尚未载入": a unit id that names no record of the window.
inline constexpr char kNoSuchUnit[] = "\xd6\xb8\xb6\xa8\xb4\xb0\xbf\xda\xbb\xf2\xb4\xb0\xbf\xda"
                                      "\xd7\xe9\xbc\xfe\xb2\xbb\xb4\xe6\xd4\xda\xbb\xf2\xc9\xd0"
                                      "\xce\xb4\xd4\xd8\xc8\xeb";

} // namespace kelvarn::ui
