#pragma once
// The application's event handlers, bound to the main form's events through the handler table.

#include <cstdint>

#include "runtime/forms/form_model.h"

namespace app {

forms::HandlerResult InitialiseMainForm(const uint32_t* args, uint32_t count);  // MainForm loaded
forms::HandlerResult CheckSignatureTick(const uint32_t* args, uint32_t count);  // 时钟1 tick
forms::HandlerResult ApplyResolution(const uint32_t* args, uint32_t count);     // 按钮2 click
forms::HandlerResult ReadSignature(const uint32_t* args, uint32_t count);       // 按钮6 click
forms::HandlerResult OpenExecutable(const uint32_t* args, uint32_t count);      // 按钮1 click

}  // namespace app
