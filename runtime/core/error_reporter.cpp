#include "runtime/core/error_reporter.h"

#include <windows.h>

#include <charconv>

#include "runtime/core/event_suspension.h"
#include "runtime/core/runtime_app.h"

namespace rt {
namespace {

constexpr const char* kCodeMessages[] = {
    "",
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
constexpr int32_t kCodeCount = sizeof kCodeMessages / sizeof kCodeMessages[0];

ErrorHandler errorHandler = nullptr;
bool inErrorHandler = false;

}  // namespace

const char* ErrorCodeMessage(int32_t code) {
  return code >= 0 && code < kCodeCount ? kCodeMessages[code] : "";
}

void FormatErrorBoxText(const char* message, int32_t code, char (&text)[kErrorBoxTextCapacity]) {
  size_t used = 0;
  bool cut = false;
  // Appends whole characters only: a GBK lead byte never stands without its second byte.
  auto append = [&](const char* part) {
    for (const char* p = part; *p != '\0' && !cut; ++p) {
      const bool lead = static_cast<unsigned char>(*p) >= 0x80 && p[1] != '\0';
      cut = used + (lead ? 2 : 1) >= kErrorBoxTextCapacity;
      if (cut) break;
      text[used++] = *p;
      if (lead) text[used++] = *++p;
    }
    text[used] = '\0';
  };
  append("运行时出错!\r\n\r\n");
  if (code != 0) {
    char number[16] = {};
    std::to_chars(number, number + sizeof number - 1, code);
    append("错误代码：");
    append(number);
    append("\r\n\r\n");
  }
  if (message != nullptr && *message != '\0') {
    append("错误信息：");
    append(message);
    append("\r\n");
  }
}

void SetErrorHandler(ErrorHandler handler) { errorHandler = handler; }

void ReportError(int32_t code) { Report(ErrorCodeMessage(code), code); }

void Report(const char* message, int32_t code) {
  // From here on no application handler runs: not while the box is up, not during shut-down.
  SuspendEvents();
  // Settled before the handler or the box can run messages: an exit request taken meanwhile
  // runs no clean-up routine and ends the process with -1 as well.
  RuntimeApplication& runtime = Runtime();
  runtime.CommitToErrorExit();

  bool showBox = true;
  if (errorHandler != nullptr && !inErrorHandler) {
    inErrorHandler = true;
    showBox = errorHandler(code, message) == 0;
    inErrorHandler = false;
  }
  if (showBox) {
    // No heap on this path: the report may be about the heap itself.
    char gbk[kErrorBoxTextCapacity];
    FormatErrorBoxText(message, code, gbk);
    wchar_t text[kErrorBoxTextCapacity];
    wchar_t caption[8];
    if (MultiByteToWideChar(936, 0, gbk, -1, text, kErrorBoxTextCapacity) == 0) text[0] = L'\0';
    if (MultiByteToWideChar(936, 0, "错误", -1, caption, 8) == 0) caption[0] = L'\0';
    MessageBoxW(nullptr, text, caption, MB_OK | MB_ICONERROR);
  }

  if (runtime.RunMode() == 2 && IsDebuggerPresent()) DebugBreak();
  runtime.ExitAfterError();
}

}  // namespace rt
