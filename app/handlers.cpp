#include "app/handlers.h"

namespace app {
namespace {

// What a handler gives back: nothing the runtime uses.
constexpr forms::HandlerResult kNoResult = {0, false};

}  // namespace

// Their work arrives with the application logic; until then every event is answered and
// changes nothing.
forms::HandlerResult InitialiseMainForm(const uint32_t*, uint32_t) { return kNoResult; }
forms::HandlerResult CheckSignatureTick(const uint32_t*, uint32_t) { return kNoResult; }
forms::HandlerResult ApplyResolution(const uint32_t*, uint32_t) { return kNoResult; }
forms::HandlerResult ReadSignature(const uint32_t*, uint32_t) { return kNoResult; }
forms::HandlerResult OpenExecutable(const uint32_t*, uint32_t) { return kNoResult; }

}  // namespace app
