#include "app/forms/main_form.h"

#include "app/forms/app_icon.h"
#include "app/handler_offsets.h"

namespace app::stored_form {
namespace {

constexpr int32_t kClick = 0, kTick = 0, kLoaded = 0;  // each type's event 0

ButtonData Button(const char* caption) {
  return {.version = 1,
          .kind = 0,  // normal
          .horizontalAlignment = 1,  // centre
          .verticalAlignment = 1,    // centre
          .picture = {},
          .font = {},
          .caption = caption};
}

}  // namespace

FormDescription MainForm() {
  using namespace unit_flags;
  const WindowData window = {
      .version = 6,
      .borderStyle = 2,  // fixed single frame with caption
      .pictureMode = 1,
      .backgroundColour = 0xFF000000,  // the system's button-face colour
      .maximizeBox = 0,
      .minimizeBox = 1,
      .controlBox = 1,
      .startPosition = 1,  // centred on the screen
      .closeBox = 1,
      .property14 = 0,
      .property21 = 0,
      .property22 = 1,
      .property23 = 0,
      .property25 = 0,
      .showInTaskBar = 1,
      .property27 = 0,
      .property28 = 0,
      .alwaysOnTop = 0,
      .property30 = 0,
      .className = "",
      .backgroundPicture = {},
      .icon = AppIcon(),
      .property13 = {},
      .title = "Quenmire导演剪辑PC版分辨率修改器 v1",
      .property24 = "",
  };
  const TransparentLabelData label = {
      .version = 1,
      .textEffect = 0,       // none
      .textColour = 0x00FF00,  // green until the first tick
      .horizontalAlignment = 0,  // left
      .verticalAlignment = 1,    // centre
      .wordWrap = 0,
      .font = {},
      .caption = "",
  };
  const ComboBoxData resolutions = {
      .version = 3,
      .style = 2,  // drop-down list
      .maximumTextLength = 0,
      .selectionStart = 0,
      .selectionLength = 0,
      .sorted = 0,
      .extraRowHeight = 1,
      .textColour = 0,
      .backgroundColour = 0xFFFFFF,
      .currentSelection = 0,
      .font = {},
      .itemValues = {},
      .content = "",
      .items = {"1440 x 900"},
      .property22 = "",
      .property23 = "",
      .property24 = 0,
  };

  // Record order is the z-order among the components; they are created in reverse.
  return {.windows = {{
              .windowId = kMainFormId,
              .placeholder = 0x0E058E80,
              .wordA = 0x021D3620,
              .wordB = 0x19010002,
              .name = "",
              .secondText = "",
              .units = {
                  // name, UnitId, type, left, top, width, height, flags, bindings, type data
                  {"", unit::MainForm, type_code::Window, 50, 50, 315, 316, Visible,
                   {{kLoaded, handler_offset::InitialiseMainForm}}, window},
                  {"时钟1", unit::Timer1, type_code::Timer, 40, 16, 32, 32, 0,
                   {{kTick, handler_offset::CheckSignatureTick}},
                   TimerData{.version = 1, .interval = 1000}},
                  {"编辑框1", unit::EditBox1, type_code::EditBox, 48, 144, 88, 16, TabStop, {},
                   Defaults{}},
                  {"透明标签1", unit::TransparentLabel1, type_code::TransparentLabel, 48, 176, 96, 16,
                   Visible, {}, label},
                  {"按钮2", unit::Button2, type_code::Button, 156, 160, 80, 32, Visible | TabStop,
                   {{kClick, handler_offset::ApplyResolution}}, Button("修改")},
                  {"按钮6", unit::Button6, type_code::Button, 156, 120, 80, 32, Visible | TabStop,
                   {{kClick, handler_offset::ReadSignature}}, Button("读取分辨率")},
                  {"组合框1", unit::ComboBox1, type_code::ComboBox, 48, 88, 96, 20,
                   Visible | Disabled | TabStop, {}, resolutions},
                  {"按钮1", unit::Button1, type_code::Button, 156, 80, 80, 32, Visible | TabStop,
                   {{kClick, handler_offset::OpenExecutable}}, Button("加载tovrex.exe")},
                  {"通用对话框1", unit::CommonDialog1, type_code::CommonDialog, 176, 16, 64, 32, 0, {},
                   Defaults{}},
              },
          }}};
}

}  // namespace app::stored_form
