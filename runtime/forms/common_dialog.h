#pragma once
// The common dialog component: a hidden child window holding the settings of the system's file
// and font dialogs, and the method that shows the dialog of its kind.

#include <windows.h>

#include <string>

#include "runtime/forms/component_type.h"

namespace forms {

extern const ComponentTypeRecord kCommonDialogType;

// Shows the dialog of the component's kind, modal to its top-level window. True when the user
// confirmed it (the choice is then in the component's properties); false when it was cancelled
// or failed, or the component is not a common dialog.
bool OpenCommonDialog(Component* dialog);

// The filter list the file dialog takes: the "|"-separated items of the filter text as
// NUL-separated items ended by two NULs; empty when the filter text is empty or blank.
std::wstring FileDialogFilter(const std::string& filter);

// The file dialog's option flags for the component's current properties.
DWORD FileDialogFlags(Component* dialog);

}  // namespace forms
