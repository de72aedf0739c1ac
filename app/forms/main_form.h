#pragma once
// MainForm, the tool's one window, with its eight components: every stored value.

#include "app/forms/form_description.h"

namespace app::stored_form {

inline constexpr uint32_t kMainFormId = 0x52010001;

FormDescription MainForm();

}  // namespace app::stored_form
