#include "tests/forms/conformance_form.h"

#include <cstring>
#include <map>

#include "app/forms/form_writer.h"
#include "runtime/forms/event_routing.h"
#include "runtime/forms/form_reader.h"
#include "runtime/forms/form_runtime.h"
#include "tests/forms/form_harness.h"
#include "tests/forms/picture_files.h"

namespace forms::testing::conformance {
namespace {

using namespace app::stored_form;
namespace sf = app::stored_form;

// Every event number any of the seven types raises, each bound to a handler of its own so that
// the log knows the number.
constexpr int32_t kEventNumbers[] = {0, 1, 2, 3, 4, 12, -7, -8, -9};
constexpr uint32_t kFirstOffset = 0x100;

uint32_t OffsetOf(int32_t number) {
  for (uint32_t i = 0; i < std::size(kEventNumbers); ++i)
    if (kEventNumbers[i] == number) return kFirstOffset + 4 * i;
  return kNoHandlerOffset;
}

template <int32_t Number>
HandlerResult Log(const uint32_t* args, uint32_t count) {
  const EventSource source = CurrentEventSource();
  Seen().push_back({source.windowId, source.unitId, Number, {args, args + count}});
  if (Number == 1 || Number == 12) {
    const CloseAnswer answer = AnswerToClose(Number);
    return {answer.value, answer.returns};
  }
  return {0, false};
}

template <size_t... I>
constexpr std::array<HandlerEntry, sizeof...(I)> Entries(std::index_sequence<I...>) {
  return {HandlerEntry{kFirstOffset + 4 * I, &Log<kEventNumbers[I]>}...};
}
constexpr auto kEntries = Entries(std::make_index_sequence<std::size(kEventNumbers)>());
constexpr HandlerTable kHandlers = {static_cast<uint32_t>(kEntries.size()), kEntries.data()};

std::vector<StoredBinding> Bindings(std::initializer_list<int32_t> numbers) {
  std::vector<StoredBinding> bindings;
  for (int32_t number : numbers) bindings.push_back({number, OffsetOf(number)});
  return bindings;
}

Bytes Pointer(uint8_t shape) { return {shape, 0, 0, 0}; }

CommonDialogData Dialog(int32_t kind) {
  CommonDialogData d{};
  d.version = 1;
  d.kind = kind;
  d.title = "对话框标题";
  d.fileName = "默认.txt";
  d.filter = "文本文件|*.txt|所有文件|*.*";
  d.initialFilter = 1;
  d.initialDirectory = "C:\\";
  d.defaultExtension = "txt";
  d.createPrompt = 1;
  d.fileMustExist = 0;
  d.overwritePrompt = 0;
  d.pathMustExist = 0;
  d.noChangeDirectory = 1;
  d.colour = 0x00204060;
  d.bold = 1;
  d.italic = 1;
  d.strikeOut = 1;
  d.underline = 1;
  d.fontName = "宋体";
  d.fontSize = 14;
  d.helpFile = "帮助.hlp";
  d.helpCommand = 2;
  d.helpTopic = 77;
  return d;
}

FormDescription Build() {
  sf::WindowData window{};
  window.version = 6;
  window.borderStyle = 1;  // sizable
  window.pictureMode = 2;
  window.backgroundColour = 0x00336699;
  window.maximizeBox = 1;
  window.minimizeBox = 0;
  window.controlBox = 1;
  window.startPosition = 0;  // as stored
  window.closeBox = 0;
  window.property14 = 3;
  window.property21 = 1;
  window.property22 = 0;
  window.property23 = 1;
  window.property25 = 25;
  window.showInTaskBar = 0;
  window.property27 = 1;
  window.property28 = 2;
  window.alwaysOnTop = 0;  // a topmost test window would sit over every later test's windows
  window.property30 = 1;
  window.className = "ConformanceWindow";
  window.backgroundPicture = BitmapFile({.width = 16, .height = 16});
  window.icon = IconOrCursorFile(1);
  window.property13 = {1, 2, 3};
  window.title = "一致性窗口";
  window.property24 = "二十四";

  EditBoxData edit{};
  edit.version = 2;
  edit.border = 3;
  edit.textColour = 0x000000FF;
  edit.backgroundColour = 0x00E0FFE0;
  edit.hideSelection = 0;
  edit.maximumLength = 40;
  edit.multiLine = 1;
  edit.scrollBars = 2;
  edit.alignment = 1;
  edit.inputMode = 1;
  edit.passwordCharacter = '#';
  edit.letterCase = 2;
  edit.adjuster = 0;
  edit.adjusterMinimum = 5;
  edit.adjusterMaximum = 50;
  edit.selectionStart = 2;  // bytes of the GBK content: "辑内"
  edit.selectionLength = 4;
  edit.font = FontData("Tahoma", -15, FW_BOLD);
  edit.content = "编辑内容";
  edit.property27 = "二十七";
  edit.property28 = "二十八";

  TransparentLabelData label{};
  label.version = 1;
  label.textEffect = 2;
  label.textColour = 0x000000FF;
  label.horizontalAlignment = 2;
  label.verticalAlignment = 2;
  label.wordWrap = 1;
  label.font = FontData("Tahoma", -13, FW_NORMAL, 0);
  label.caption = "标签文字";

  sf::ButtonData iconButton{};
  iconButton.version = 1;
  iconButton.kind = 1;
  iconButton.horizontalAlignment = 0;
  iconButton.verticalAlignment = 2;
  iconButton.picture = IconOrCursorFile(1);
  iconButton.font = FontData("Tahoma", -12, FW_BOLD);
  iconButton.caption = "图标按钮";
  sf::ButtonData cursorButton = iconButton;
  cursorButton.kind = 0;
  cursorButton.horizontalAlignment = 2;
  cursorButton.verticalAlignment = 0;
  cursorButton.picture = IconOrCursorFile(2, 6, 9);
  cursorButton.caption = "指针按钮";
  sf::ButtonData bitmapButton = iconButton;
  bitmapButton.kind = 0;
  bitmapButton.picture = BitmapFile({.width = 12, .height = 10, .bitCount = 8});
  bitmapButton.caption = "位图按钮";

  ComboBoxData combo{};
  combo.version = 3;
  combo.style = 1;  // drop-down: the content and its selection are the box's own
  combo.maximumTextLength = 20;
  combo.selectionStart = 2;  // bytes of the GBK content: "二项"
  combo.selectionLength = 4;
  combo.sorted = 0;
  combo.extraRowHeight = 4;
  combo.textColour = 0x00800000;
  combo.backgroundColour = 0x00F0F0C0;
  combo.currentSelection = 1;
  combo.font = FontData("Tahoma", -14, FW_NORMAL);
  combo.itemValues = {11, 22, 33};
  combo.content = "第二项";
  combo.items = {"第一项", "第二项", "第三项"};
  combo.property22 = "二十二";
  combo.property23 = "二十三";
  combo.property24 = 24;

  const std::initializer_list<int32_t> visual = {0, -7, -8, -9};
  const std::initializer_list<int32_t> windowEvents = {0, 1, 2, 3, 4, 12, -7};
  WindowDescription main{kMainWindow, 0, 0x021D3620, 0x19010002, "", "", {}};
  main.units = {
      {"", 0x06010000, type_code::Window, 40, 30, 420, 360, unit_flags::Visible,
       Bindings(windowEvents), window, 0, 0, {}, Pointer(1), "窗口标记"},
      {"时钟1", kTimer, type_code::Timer, 4, 4, 32, 32, 0, Bindings({0}), TimerData{1, 60000}, 0, 0, {},
       Pointer(0), "时钟标记"},
      {"编辑框1", kEdit, type_code::EditBox, 10, 10, 140, 60, unit_flags::Visible | unit_flags::TabStop,
       Bindings(visual), edit, 0, 0, {}, Pointer(2), "编辑框标记"},
      {"透明标签1", kLabel, type_code::TransparentLabel, 160, 10, 120, 40, unit_flags::Visible,
       Bindings(visual), label, 0, 0, {}, Pointer(14), "标签标记"},
      {"按钮1", kIconButton, type_code::Button, 10, 80, 90, 50, unit_flags::Visible | unit_flags::TabStop,
       Bindings(visual), iconButton, 0, 0, {}, Pointer(4), "按钮一"},
      {"按钮2", kCursorButton, type_code::Button, 110, 80, 90, 50,
       unit_flags::Visible | unit_flags::TabStop | unit_flags::Disabled, Bindings(visual), cursorButton,
       0, 0, {}, Pointer(0), "按钮二"},
      {"按钮3", kBitmapButton, type_code::Button, 210, 80, 90, 50, unit_flags::Visible | unit_flags::TabStop,
       Bindings(visual), bitmapButton, 0, 0, {}, Pointer(0), "按钮三"},
      {"组合框1", kCombo, type_code::ComboBox, 10, 150, 150, 24, unit_flags::Visible | unit_flags::TabStop,
       Bindings(visual), combo, 0, 0, {}, Pointer(9), "组合框标记"},
      {"通用对话框1", kOpenDialog, type_code::CommonDialog, 300, 4, 32, 32, 0, {}, Dialog(0)},
      {"通用对话框2", kSaveDialog, type_code::CommonDialog, 300, 40, 32, 32, 0, {}, Dialog(1)},
      {"通用对话框3", kFontDialog, type_code::CommonDialog, 340, 4, 32, 32, 0, {}, Dialog(2)},
      {"通用对话框4", kHelpDialog, type_code::CommonDialog, 340, 40, 32, 32, 0, {}, Dialog(3)},
  };

  sf::WindowData modalData = window;
  modalData.borderStyle = 2;
  modalData.className = "";
  modalData.backgroundPicture = {};
  modalData.title = "模态窗口";
  modalData.showInTaskBar = 1;
  modalData.closeBox = 1;
  sf::ButtonData modalButtonData{1, 0, 1, 1, {}, {}, "关闭"};
  WindowDescription modal{kModalWindow, 0, 0x021D3620, 0x19010002, "模态", "", {}};
  modal.units = {
      {"", 0x06010000, type_code::Window, 80, 80, 240, 160, unit_flags::Visible, Bindings(windowEvents),
       modalData},
      {"按钮1", kModalButton, type_code::Button, 20, 20, 90, 32, unit_flags::Visible | unit_flags::TabStop,
       Bindings(visual), modalButtonData},
  };
  return {{main, modal}};
}

}  // namespace

std::vector<uint8_t> FontData(const char* face, LONG height, LONG weight, LONG escapement) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfEscapement = font.lfOrientation = escapement;
  font.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&font);
  return {bytes, bytes + sizeof font};
}

const FormDescription& Description() {
  static const FormDescription form = Build();
  return form;
}

const UnitDescription& UnitOf(uint32_t windowId, uint32_t unitId) {
  for (const WindowDescription& window : Description().windows)
    if (window.windowId == windowId)
      for (const UnitDescription& unit : window.units)
        if (unit.id == unitId || (unitId == 0 && &unit == &window.units[0])) return unit;
  static const UnitDescription none{};
  return none;
}

std::vector<SeenEvent>& Seen() {
  static std::vector<SeenEvent> seen;
  return seen;
}

CloseAnswer& AnswerToClose(int32_t number) {
  static std::map<int32_t, CloseAnswer> answers;
  return answers[number];
}

void ReadIntoRuntime() {
  InstallRuntime();
  ClearWindows();
  const std::vector<uint8_t> block = WriteFormData(Description());
  Forms().ReadFormData(block.data(), static_cast<uint32_t>(block.size()), &kHandlers);
  Seen().clear();
}

}  // namespace forms::testing::conformance
