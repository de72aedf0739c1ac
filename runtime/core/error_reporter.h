#pragma once
// Every fault found at run time ends here: one message box in a fixed layout, then the process
// ends with exit code -1. There is no way back into the application.

#include <cstdint>
#include <string>

namespace rt {

// The message of a numbered error code (1-11); empty for 0 and for codes outside the table.
const char* ErrorCodeMessage(int32_t code);

// The box text, GBK: the title line, the code line when code is not 0, the message line when
// there is a message.
std::string ErrorBoxText(const char* message, int32_t code);

// Reports code with its message from the error-code table.
[[noreturn]] void ReportError(int32_t code);
// The reporter itself; message may be null or empty.
[[noreturn]] void Report(const char* message, int32_t code);

// An application routine that may take over a report; a non-zero answer suppresses the box.
using ErrorHandler = int32_t (*)(int32_t code, const char* message);
void SetErrorHandler(ErrorHandler handler);

}  // namespace rt
