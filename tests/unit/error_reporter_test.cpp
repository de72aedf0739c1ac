#include "runtime/core/error_reporter.h"

#include <gtest/gtest.h>

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
  };
  for (const auto& row : rows) EXPECT_EQ(ErrorBoxText(row.message, row.code), row.expected);
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
