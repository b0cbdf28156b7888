#pragma once
// Window, class and control style bits, show commands and message-box flags, with the values
// of their Windows counterparts (kWsCaption is WS_CAPTION, kEsPassword is ES_PASSWORD, ...).

#include <cstdint>

namespace kelvarn::platform {

// Window styles (WS_*).
inline constexpr std::uint32_t kWsOverlapped = 0x00000000;
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsMinimize = 0x20000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsClipSiblings = 0x04000000;
inline constexpr std::uint32_t kWsClipChildren = 0x02000000;
inline constexpr std::uint32_t kWsMaximize = 0x01000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000; // border | dialog frame
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsDlgFrame = 0x00400000;
inline constexpr std::uint32_t kWsVScroll = 0x00200000;
inline constexpr std::uint32_t kWsHScroll = 0x00100000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsThickFrame = 0x00040000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kWsMaximizeBox = 0x00010000;

// Extended window styles (WS_EX_*).
inline constexpr std::uint32_t kWsExDlgModalFrame = 0x00000001;
inline constexpr std::uint32_t kWsExTopmost = 0x00000008;
inline constexpr std::uint32_t kWsExToolWindow = 0x00000080;
inline constexpr std::uint32_t kWsExWindowEdge = 0x00000100;
inline constexpr std::uint32_t kWsExClientEdge = 0x00000200;
inline constexpr std::uint32_t kWsExStaticEdge = 0x00020000;
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000;

// Class styles (CS_*).
inline constexpr std::uint32_t kCsVRedraw = 0x0001;
inline constexpr std::uint32_t kCsHRedraw = 0x0002;
inline constexpr std::uint32_t kCsDblClks = 0x0008;

// Button styles (BS_*). The low four bits are the button kind.
inline constexpr std::uint32_t kBsPushButton = 0x0;
inline constexpr std::uint32_t kBsDefPushButton = 0x1;
inline constexpr std::uint32_t kBsCheckBox = 0x2;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x3;
inline constexpr std::uint32_t kBsRadioButton = 0x4;
inline constexpr std::uint32_t kBsGroupBox = 0x7;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x9;
inline constexpr std::uint32_t kBsTypeMask = 0xF;
inline constexpr std::uint32_t kBsLeftText = 0x0020;
inline constexpr std::uint32_t kBsIcon = 0x0040;
inline constexpr std::uint32_t kBsBitmap = 0x0080;
inline constexpr std::uint32_t kBsLeft = 0x0100;
inline constexpr std::uint32_t kBsRight = 0x0200;
inline constexpr std::uint32_t kBsCenter = 0x0300;
inline constexpr std::uint32_t kBsTop = 0x0400;
inline constexpr std::uint32_t kBsBottom = 0x0800;
inline constexpr std::uint32_t kBsVCenter = 0x0C00;
inline constexpr std::uint32_t kBsPushLike = 0x1000;
inline constexpr std::uint32_t kBsMultiLine = 0x2000;
inline constexpr std::uint32_t kBsNotify = 0x4000;
inline constexpr std::uint32_t kBsFlat = 0x8000;

// Edit styles (ES_*).
inline constexpr std::uint32_t kEsLeft = 0x0000;
inline constexpr std::uint32_t kEsCenter = 0x0001;
inline constexpr std::uint32_t kEsRight = 0x0002;
inline constexpr std::uint32_t kEsMultiLine = 0x0004;
inline constexpr std::uint32_t kEsUpperCase = 0x0008;
inline constexpr std::uint32_t kEsLowerCase = 0x0010;
inline constexpr std::uint32_t kEsPassword = 0x0020;
inline constexpr std::uint32_t kEsAutoVScroll = 0x0040;
inline constexpr std::uint32_t kEsAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEsNoHideSel = 0x0100;
inline constexpr std::uint32_t kEsReadOnly = 0x0800;
inline constexpr std::uint32_t kEsWantReturn = 0x1000;
inline constexpr std::uint32_t kEsNumber = 0x2000;

// List box styles (LBS_*).
inline constexpr std::uint32_t kLbsNotify = 0x0001;
inline constexpr std::uint32_t kLbsSort = 0x0002;
inline constexpr std::uint32_t kLbsMultipleSel = 0x0008;
inline constexpr std::uint32_t kLbsHasStrings = 0x0040;
inline constexpr std::uint32_t kLbsUseTabStops = 0x0080;
inline constexpr std::uint32_t kLbsNoIntegralHeight = 0x0100;
inline constexpr std::uint32_t kLbsMultiColumn = 0x0200;
inline constexpr std::uint32_t kLbsExtendedSel = 0x0800;

// Up-down styles (UDS_*).
inline constexpr std::uint32_t kUdsWrap = 0x0001;
inline constexpr std::uint32_t kUdsSetBuddyInt = 0x0002;
inline constexpr std::uint32_t kUdsAlignRight = 0x0004;
inline constexpr std::uint32_t kUdsArrowKeys = 0x0020;
inline constexpr std::uint32_t kUdsHorz = 0x0040;

// Show commands (SW_*).
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowNoActivate = 4;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwShowMinNoActive = 7;
inline constexpr int kSwShowNa = 8;
inline constexpr int kSwRestore = 9;

// Message-box style bits (MB_*) and the pressed-button numbers (ID*).
inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbOkCancel = 0x1;
inline constexpr std::uint32_t kMbAbortRetryIgnore = 0x2;
inline constexpr std::uint32_t kMbYesNoCancel = 0x3;
inline constexpr std::uint32_t kMbYesNo = 0x4;
inline constexpr std::uint32_t kMbRetryCancel = 0x5;
inline constexpr std::uint32_t kMbButtonMask = 0xF;
inline constexpr std::uint32_t kMbIconHand = 0x10; // error
inline constexpr std::uint32_t kMbIconQuestion = 0x20;
inline constexpr std::uint32_t kMbIconExclamation = 0x30; // warning
inline constexpr std::uint32_t kMbIconAsterisk = 0x40;    // information
inline constexpr std::uint32_t kMbIconMask = 0xF0;
inline constexpr std::uint32_t kMbDefButton2 = 0x100;
inline constexpr std::uint32_t kMbDefButton3 = 0x200;
inline constexpr std::uint32_t kMbDefMask = 0xF00;
inline constexpr std::uint32_t kMbSystemModal = 0x1000;
inline constexpr std::uint32_t kMbTaskModal = 0x2000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Standard cursor ids (IDC_*), as stored by the mouse-pointer table.
inline constexpr std::uint32_t kIdcArrow = 32512;
inline constexpr std::uint32_t kIdcIBeam = 32513;
inline constexpr std::uint32_t kIdcWait = 32514;
inline constexpr std::uint32_t kIdcCross = 32515;
inline constexpr std::uint32_t kIdcUpArrow = 32516;
inline constexpr std::uint32_t kIdcSizeNwse = 32642;
inline constexpr std::uint32_t kIdcSizeNesw = 32643;
inline constexpr std::uint32_t kIdcSizeWe = 32644;
inline constexpr std::uint32_t kIdcSizeNs = 32645;
inline constexpr std::uint32_t kIdcSizeAll = 32646;
inline constexpr std::uint32_t kIdcNo = 32648;
inline constexpr std::uint32_t kIdcHand = 32649;
inline constexpr std::uint32_t kIdcAppStarting = 32650;
inline constexpr std::uint32_t kIdcHelp = 32651;

} // namespace kelvarn::platform
