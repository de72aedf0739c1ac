#pragma once
// The application's code base as the runtime sees it: every handler offset that the form
// description stores, with the handler it names.

#include "runtime/forms/form_model.h"

namespace app {

extern const forms::HandlerTable kHandlerTable;

}  // namespace app
