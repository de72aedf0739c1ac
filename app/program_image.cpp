// What the executable image tells the runtime about the application.

#include "app/constants.h"
#include "app/dll_declarations.h"
#include "app/forms/form_data.h"
#include "app/handler_table.h"
#include "app/program.h"
#include "runtime/core/program_info.h"
#include "runtime/forms/support_libraries.h"

namespace app {
namespace {

const rt::SupportLibrary* const kLibraries[] = {&forms::kStandardLibrary,
                                                &forms::kTransparentLabelLibrary};

constinit const rt::ProgramInfoBlock kProgramInfo = {
    3,        // run mode
    0,        // option word
    0,        // build number
    &kHandlerTable,  // code base: the stored handler offsets name handlers through it
    &kConstants,
    sizeof kConstants,
    kMainFormData,
    kMainFormDataLength,
    sizeof kLibraries / sizeof kLibraries[0],
    kLibraries,
    kDllCommandCount,
    kDllLibraryNames.data(),
    kDllExportNames.data(),
};

}  // namespace
}  // namespace app

const rt::ProgramImage rt::kApplicationImage = {&app::kProgramInfo, app::StartProgram};
