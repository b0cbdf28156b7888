#pragma once
// Message and notification numbers of the Windows-style contract. They carry the numbers the
// Windows messages have, so code above this layer reads like the code it was designed as
// (kWmLButtonDown is WM_LBUTTONDOWN 0x0201, kLbAddString is LB_ADDSTRING 0x0180, ...).

#include "platform/windowing/Types.h"
#include "platform/windowing/VirtualKeys.h"

#include <cstdint>

namespace kelvarn::platform {

// Window messages.
inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmCreate = 0x0001; // lParam: const CreateParams*
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmMove = 0x0003;      // lParam: client origin in parent coordinates
inline constexpr std::uint32_t kWmSize = 0x0005;      // lParam: client width, height
inline constexpr std::uint32_t kWmActivate = 0x0006;  // wParam: 0 inactive, 1 active
inline constexpr std::uint32_t kWmSetFocus = 0x0007;  // wParam: window that lost the focus
inline constexpr std::uint32_t kWmKillFocus = 0x0008; // wParam: window that gets the focus
inline constexpr std::uint32_t kWmEnable = 0x000A;
inline constexpr std::uint32_t kWmSetText = 0x000C; // lParam: const char* (runtime text)
inline constexpr std::uint32_t kWmGetText = 0x000D; // wParam: buffer size, lParam: char*
inline constexpr std::uint32_t kWmGetTextLength = 0x000E;
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQuit = 0x0012; // wParam: exit code
inline constexpr std::uint32_t kWmEraseBkgnd = 0x0014;
inline constexpr std::uint32_t kWmShowWindow = 0x0018; // wParam: shown
inline constexpr std::uint32_t kWmSetCursor = 0x0020;
inline constexpr std::uint32_t kWmSetFont = 0x0030; // wParam: FontHandle, lParam: redraw
inline constexpr std::uint32_t kWmGetFont = 0x0031;
inline constexpr std::uint32_t kWmNotify = 0x004E; // wParam: control id, lParam: NotifyHeader*
inline constexpr std::uint32_t kWmNcDestroy = 0x0082;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmChar = 0x0102;
inline constexpr std::uint32_t kWmSysKeyDown = 0x0104;
inline constexpr std::uint32_t kWmSysKeyUp = 0x0105;
inline constexpr std::uint32_t kWmSysChar = 0x0106;
inline constexpr std::uint32_t kWmCommand =
    0x0111; // wParam: (notification << 16) | id, lParam: control
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uint32_t kWmHScroll = 0x0114;
inline constexpr std::uint32_t kWmVScroll = 0x0115;
inline constexpr std::uint32_t kWmSysTimer = 0x0118;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonDown = 0x0204;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;
inline constexpr std::uint32_t kWmRButtonDblClk = 0x0206;
inline constexpr std::uint32_t kWmMButtonDown = 0x0207;
inline constexpr std::uint32_t kWmMButtonUp = 0x0208;
inline constexpr std::uint32_t kWmMButtonDblClk = 0x0209;
inline constexpr std::uint32_t kWmMouseWheel =
    0x020A; // wParam: (delta << 16) | key state; lParam: screen point
inline constexpr std::uint32_t kWmNcMouseMove = 0x00A0;
inline constexpr std::uint32_t kWmUser = 0x0400;
inline constexpr std::uint32_t kWmApp = 0x8000;

// Mouse key-state bits in wParam of mouse messages (MK_*).
inline constexpr std::uint32_t kMkLButton = 0x0001;
inline constexpr std::uint32_t kMkRButton = 0x0002;
inline constexpr std::uint32_t kMkShift = 0x0004;
inline constexpr std::uint32_t kMkControl = 0x0008;
inline constexpr std::uint32_t kMkMButton = 0x0010;
inline constexpr int kWheelDelta = 120;

// The lParam of key messages: the repeat count in bits 0-15, the scan code in bits 16-23, and
// three flags (KF_ALTDOWN, KF_REPEAT and KF_UP, as they stand in lParam).
inline constexpr std::uint32_t kKeyRepeatOnce = 1;
inline constexpr int kKeyScanCodeShift = 16;
inline constexpr std::uint32_t kKeyScanCodeMask = 0xFF;
inline constexpr std::uint32_t kKeyAltDown = 1u << 29;      // Alt was held
inline constexpr std::uint32_t kKeyWasDown = 1u << 30;      // a repeat, or any release
inline constexpr std::uint32_t kKeyTransitionUp = 1u << 31; // the key is being released

// Button messages and notifications (BM_*, BN_*, BST_*).
inline constexpr std::uint32_t kBmGetCheck = 0x00F0;
inline constexpr std::uint32_t kBmSetCheck = 0x00F1;
inline constexpr std::uint32_t kBmGetState = 0x00F2;
inline constexpr std::uint32_t kBmSetState = 0x00F3;
inline constexpr std::uint32_t kBmSetStyle = 0x00F4; // wParam: new BS_* style, lParam: redraw
inline constexpr std::uint32_t kBmClick = 0x00F5;
inline constexpr std::uint32_t kBnClicked = 0;
inline constexpr std::uint32_t kBnDoubleClicked = 5;
inline constexpr std::uint32_t kBstUnchecked = 0;
inline constexpr std::uint32_t kBstChecked = 1;

// Edit messages and notifications (EM_*, EN_*). Character positions are byte offsets into the
// runtime text, as in an ANSI edit control.
inline constexpr std::uint32_t kEmGetSel =
    0x00B0; // wParam, lParam: optional std::uint32_t* start, end
inline constexpr std::uint32_t kEmSetSel = 0x00B1; // wParam start, lParam end; -1 start removes it
inline constexpr std::uint32_t kEmScrollCaret = 0x00B7;
inline constexpr std::uint32_t kEmGetLineCount = 0x00BA;
inline constexpr std::uint32_t kEmReplaceSel = 0x00C2;      // lParam: const char*
inline constexpr std::uint32_t kEmLimitText = 0x00C5;       // wParam: byte limit, 0 = none
inline constexpr std::uint32_t kEmSetPasswordChar = 0x00CC; // wParam: character byte, 0 = none
inline constexpr std::uint32_t kEmSetReadOnly = 0x00CF;
inline constexpr std::uint32_t kEmGetLimitText = 0x00D5;
inline constexpr std::uint32_t kEnSetFocus = 0x0100;
inline constexpr std::uint32_t kEnKillFocus = 0x0200;
inline constexpr std::uint32_t kEnChange = 0x0300;
inline constexpr std::uint32_t kEnMaxText = 0x0501;

// List box messages and notifications (LB_*, LBN_*). Indexes count from 0.
inline constexpr std::uint32_t kLbAddString = 0x0180;    // lParam: const char*
inline constexpr std::uint32_t kLbInsertString = 0x0181; // wParam: index (-1 = end)
inline constexpr std::uint32_t kLbDeleteString = 0x0182;
inline constexpr std::uint32_t kLbResetContent = 0x0184;
inline constexpr std::uint32_t kLbSetSel = 0x0185; // wParam: select, lParam: index (-1 = all)
inline constexpr std::uint32_t kLbSetCurSel = 0x0186;
inline constexpr std::uint32_t kLbGetSel = 0x0187;
inline constexpr std::uint32_t kLbGetCurSel = 0x0188;
inline constexpr std::uint32_t kLbGetText = 0x0189; // wParam: index, lParam: char* buffer
inline constexpr std::uint32_t kLbGetTextLen = 0x018A;
inline constexpr std::uint32_t kLbGetCount = 0x018B;
inline constexpr std::uint32_t kLbSelectString = 0x018C; // wParam: start index, lParam: prefix
inline constexpr std::uint32_t kLbGetTopIndex = 0x018E;
inline constexpr std::uint32_t kLbFindString = 0x018F;
inline constexpr std::uint32_t kLbGetSelCount = 0x0190;
inline constexpr std::uint32_t kLbGetSelItems = 0x0191; // wParam: capacity, lParam: int*
inline constexpr std::uint32_t kLbSetTopIndex = 0x0197;
inline constexpr std::uint32_t kLbGetItemData = 0x0199;
inline constexpr std::uint32_t kLbSetItemData = 0x019A;
inline constexpr std::uint32_t kLbSetCaretIndex = 0x019E;
inline constexpr std::uint32_t kLbGetCaretIndex = 0x019F;
inline constexpr std::uint32_t kLbSetItemHeight = 0x01A0; // lParam: height in pixels
inline constexpr std::uint32_t kLbGetItemHeight = 0x01A1;
inline constexpr std::uint32_t kLbFindStringExact = 0x01A2;
inline constexpr LResult kLbErr = -1;
inline constexpr LResult kLbErrSpace = -2;
inline constexpr std::uint32_t kLbnSelChange = 1;
inline constexpr std::uint32_t kLbnDblClk = 2;
inline constexpr std::uint32_t kLbnSetFocus = 4;
inline constexpr std::uint32_t kLbnKillFocus = 5;

// Up-down ("msctls_updown32") messages and notifications (UDM_*, UDN_*).
inline constexpr std::uint32_t kUdmSetRange = 0x0465; // lParam: (min << 16) | max, 16-bit each
inline constexpr std::uint32_t kUdmGetRange = 0x0466;
inline constexpr std::uint32_t kUdmSetPos = 0x0467; // lParam: position (low word)
inline constexpr std::uint32_t kUdmGetPos = 0x0468;
inline constexpr std::uint32_t kUdmSetBuddy = 0x0469; // wParam: buddy window
inline constexpr std::uint32_t kUdmGetBuddy = 0x046A;
inline constexpr std::uint32_t kUdmSetRange32 = 0x046F; // wParam: min, lParam: max
inline constexpr std::uint32_t kUdmGetRange32 = 0x0470; // wParam, lParam: int* min, max
inline constexpr std::uint32_t kUdmSetPos32 = 0x0471;
inline constexpr std::uint32_t kUdmGetPos32 = 0x0472;
inline constexpr std::int32_t kUdnDeltaPos = -722; // WM_NOTIFY code, lParam: NotifyUpDown*

// Scroll codes of WM_VSCROLL / WM_HSCROLL (SB_*).
inline constexpr std::uint32_t kSbThumbPosition = 4;
inline constexpr std::uint32_t kSbEndScroll = 8;

// WM_NOTIFY payloads (NMHDR, NMUPDOWN).
struct NotifyHeader {
    WindowHandle from = 0;
    std::uintptr_t id = 0;
    std::int32_t code = 0;
};
struct NotifyUpDown {
    NotifyHeader header;
    int pos = 0;
    int delta = 0;
};

} // namespace kelvarn::platform
