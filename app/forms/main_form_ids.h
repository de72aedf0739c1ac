#pragma once
// The identifiers by which application code names MainForm and its components.

#include <cstdint>

namespace app {

inline constexpr uint32_t kMainFormId = 0x52010001;

namespace unit {
inline constexpr uint32_t MainForm = 0x06010000;
inline constexpr uint32_t Timer1 = 0x16016C5B;           // 时钟1
inline constexpr uint32_t EditBox1 = 0x16016C5A;         // 编辑框1
inline constexpr uint32_t TransparentLabel1 = 0x16016C59;  // 透明标签1
inline constexpr uint32_t Button2 = 0x16016C58;          // 按钮2 修改
inline constexpr uint32_t Button6 = 0x16016C56;          // 按钮6 读取分辨率
inline constexpr uint32_t ComboBox1 = 0x16016C54;        // 组合框1
inline constexpr uint32_t Button1 = 0x16016BD6;          // 按钮1 加载tovrex.exe
inline constexpr uint32_t CommonDialog1 = 0x16012415;    // 通用对话框1
}  // namespace unit

}  // namespace app
