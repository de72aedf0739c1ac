#include "runtime/core/error_reporter.h"

#include <gtest/gtest.h>

#include <string>

namespace rt {
namespace {

TEST(ErrorBoxText, HasItsFixedLayout) {
  const struct {
    const char* message;
    int32_t code;
    const char* expected;
  } rows[] = {
      {"数组成员引用下标必须大于等于1", 4,
       "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
      {"", 0, "运行时出错!\r\n\r\n"},
      {nullptr, 0, "运行时出错!\r\n\r\n"},
      {"不能求余数于零", 0, "运行时出错!\r\n\r\n错误信息：不能求余数于零\r\n"},
      {"", 6, "运行时出错!\r\n\r\n错误代码：6\r\n\r\n"},
      {"x", -1, "运行时出错!\r\n\r\n错误代码：-1\r\n\r\n错误信息：x\r\n"},
      {"", INT32_MIN, "运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n"},
      {"", 1000000000, "运行时出错!\r\n\r\n错误代码：1000000000\r\n\r\n"},
  };
  for (const auto& row : rows) {
    char text[kErrorBoxTextCapacity];
    FormatErrorBoxText(row.message, row.code, text);
    EXPECT_STREQ(text, row.expected);
  }
}

TEST(ErrorBoxText, ALongMessageIsCutBetweenCharacters) {
  // With the "x", the text before the first character is an even number of bytes, so a cut by
  // bytes would leave a lead byte alone in the last place before the terminator.
  std::string message = "x";
  for (int i = 0; i < 1500; ++i) message += "错";
  char text[kErrorBoxTextCapacity];
  FormatErrorBoxText(message.c_str(), 0, text);
  const std::string shown = text;
  const std::string head = "运行时出错!\r\n\r\n错误信息：x";
  ASSERT_EQ(shown.compare(0, head.size(), head), 0);
  EXPECT_EQ(shown.size(), kErrorBoxTextCapacity - 2) << "ends after the last whole character that fits";
  EXPECT_EQ(shown.substr(shown.size() - 2), "错");
}

TEST(ErrorCodeMessage, CoversTheTable) {
  EXPECT_STREQ(ErrorCodeMessage(0), "");
  EXPECT_STREQ(ErrorCodeMessage(1), "数组成员引用下标超出定义范围");
  EXPECT_STREQ(ErrorCodeMessage(4), "数组成员引用下标必须大于等于1");
  EXPECT_STREQ(ErrorCodeMessage(6), "调用DLL命令后发现堆栈错误");
  EXPECT_STREQ(ErrorCodeMessage(11), "所提供参数的数据类型不符合要求");
  EXPECT_STREQ(ErrorCodeMessage(12), "");
  EXPECT_STREQ(ErrorCodeMessage(-1), "");
}

}  // namespace
}  // namespace rt
