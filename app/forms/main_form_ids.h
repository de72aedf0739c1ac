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

// The type codes that name a component to its methods.
namespace type_code {
inline constexpr uint32_t ComboBox = 0x0001000E;
inline constexpr uint32_t CommonDialog = 0x0001001F;
}  // namespace type_code

// The property indices the application uses.
namespace property {
inline constexpr int32_t Disabled = 6;        // every component: truth value
inline constexpr int32_t EditContent = 8;     // 编辑框1: text
inline constexpr int32_t LabelCaption = 8;    // 透明标签1: text
inline constexpr int32_t LabelColour = 11;    // 透明标签1: 0x00BBGGRR
inline constexpr int32_t ComboContent = 9;    // 组合框1: the selected item's text
inline constexpr int32_t DialogFileName = 10; // 通用对话框1: full path
inline constexpr int32_t DialogFilter = 11;   // 通用对话框1: "description|pattern"
}  // namespace property

}  // namespace app
