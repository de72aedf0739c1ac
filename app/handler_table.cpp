#include "app/handler_table.h"

#include "app/handler_offsets.h"
#include "app/handlers.h"

namespace app {
namespace {

const forms::HandlerEntry kHandlers[] = {
    {handler_offset::InitialiseMainForm, InitialiseMainForm},
    {handler_offset::CheckSignatureTick, CheckSignatureTick},
    {handler_offset::ApplyResolution, ApplyResolution},
    {handler_offset::ReadSignature, ReadSignature},
    {handler_offset::OpenExecutable, OpenExecutable},
};

}  // namespace

const forms::HandlerTable kHandlerTable = {sizeof kHandlers / sizeof kHandlers[0], kHandlers};

}  // namespace app
