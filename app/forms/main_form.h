#pragma once
// MainForm, the tool's one window, with its eight components: every stored value.

#include "app/forms/form_description.h"
#include "app/forms/main_form_ids.h"

namespace app::stored_form {

FormDescription MainForm();

}  // namespace app::stored_form
