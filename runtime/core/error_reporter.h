#pragma once
// Every fault found at run time ends here: one message box in a fixed layout, then the process
// ends with exit code -1. There is no way back into the application.

#include <cstddef>
#include <cstdint>

namespace rt {

// The message of a numbered error code (1-11); empty for 0 and for codes outside the table.
const char* ErrorCodeMessage(int32_t code);

// The box text, GBK: the title line, the code line when code is not 0, the message line when
// there is a message. Built in the caller's buffer, since a report may come from a failed
// allocation; a message too long for the buffer is cut, never a byte of a character split.
inline constexpr size_t kErrorBoxTextCapacity = 2048;
void FormatErrorBoxText(const char* message, int32_t code, char (&text)[kErrorBoxTextCapacity]);

// Reports code with its message from the error-code table.
[[noreturn]] void ReportError(int32_t code);
// The reporter itself; message may be null or empty.
[[noreturn]] void Report(const char* message, int32_t code);

// An application routine that may take over a report; a non-zero answer suppresses the box.
using ErrorHandler = int32_t (*)(int32_t code, const char* message);
void SetErrorHandler(ErrorHandler handler);

}  // namespace rt
