#pragma once
// The converter's own procedures: the entry procedure, the initialisation and release of its
// two globals, the six procedures bound to the window's events, and the three subroutines that
// list a folder's pictures and convert the listed files. They reach the runtime and the
// libraries only through the runtime entries, with argument records for every command.
//
// A text variable holds null (the empty text), a literal of the constants area, or a heap text
// it owns; a text parameter is a reference to the caller's variable, which the callee may
// replace. A unit parameter is the pair (window id, unit id).

#include <cstdint>

namespace kelvarn::app {

using TextVariable = const char*;

struct UnitParameter {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
};

// Started by the application object; returns 0 once the message loop has ended.
int32_t ProgramEntry();
void InitGlobals();
// The registered exit procedure.
void ReleaseGlobals();

// Bound to the window's creation and to the clicks of its buttons and radio boxes.
void OnWindowCreated();
void OnChooseFolder();
void OnConvertToBmp();
void OnConvertToPng();
void OnBmpChosen();
void OnPngChosen();

int32_t ListFolderFiles(TextVariable& folder, UnitParameter listBox, TextVariable& pattern);
void ConvertListedFiles(TextVariable& targetType);
int32_t ConvertOneFile(TextVariable& targetType, TextVariable& source, TextVariable& target);

} // namespace kelvarn::app
