#pragma once
// A form description as the application writes it down: windows, their units, and each unit's
// type data as named fields. Every type-data struct declares its fields in stored order, so a
// description reads like the stored record and the writer walks the fields top to bottom.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace app::stored_form {

namespace type_code {
inline constexpr uint32_t Window = 0x00010001;
inline constexpr uint32_t EditBox = 0x00010005;
inline constexpr uint32_t Button = 0x0001000B;
inline constexpr uint32_t ComboBox = 0x0001000E;
inline constexpr uint32_t CommonDialog = 0x0001001F;
inline constexpr uint32_t Timer = 0x00010020;
inline constexpr uint32_t TransparentLabel = 0x00020005;
}  // namespace type_code

namespace unit_flags {
inline constexpr uint32_t Visible = 1;
inline constexpr uint32_t Disabled = 2;
inline constexpr uint32_t TabStop = 4;
}  // namespace unit_flags

using Bytes = std::vector<uint8_t>;

// Property indices in the comments; fields marked "from version n" are stored only when the
// version is at least n.
struct WindowData {
  uint32_t version;
  uint32_t borderStyle;       // 9
  uint32_t pictureMode;       // 12
  uint32_t backgroundColour;  // 10; 0xFF000000: the system's button-face colour
  uint32_t maximizeBox;       // 16
  uint32_t minimizeBox;       // 17
  uint32_t controlBox;        // 15
  uint32_t startPosition;     // 18
  uint32_t closeBox;          // 19
  uint32_t property14;
  uint32_t property21;
  uint32_t property22;
  uint32_t property23;
  uint32_t property25;
  uint32_t showInTaskBar;  // 26, from version 2
  uint32_t property27;     // from version 3
  uint32_t property28;     // from version 3
  uint32_t alwaysOnTop;    // 29, from version 4
  uint32_t property30;     // from version 5
  std::string className;   // 31, from version 6
  Bytes backgroundPicture;  // 11
  Bytes icon;               // 20: an icon file
  Bytes property13;
  std::string title;  // 8
  std::string property24;
};

struct TimerData {
  uint32_t version;
  uint32_t interval;  // 8, milliseconds
};

struct TransparentLabelData {
  uint32_t version;
  uint32_t textEffect;           // 9
  uint32_t textColour;           // 11, 0x00BBGGRR
  uint32_t horizontalAlignment;  // 12
  uint32_t verticalAlignment;    // 14
  uint32_t wordWrap;             // 13
  Bytes font;                    // 10; empty: the default font
  std::string caption;           // 8
};

struct ButtonData {
  uint32_t version;
  uint32_t kind;                 // 9: 0 normal, 1 default button
  uint32_t horizontalAlignment;  // 11
  uint32_t verticalAlignment;    // 12
  Bytes picture;                 // 8
  Bytes font;                    // 13
  std::string caption;           // 10
};

struct ComboBoxData {
  uint32_t version;
  uint32_t style;  // 8: 0 simple, 1 drop-down, 2 drop-down list
  uint32_t maximumTextLength;  // 10
  uint32_t selectionStart;     // 11
  uint32_t selectionLength;    // 12
  uint32_t sorted;             // 14
  uint32_t extraRowHeight;     // 15
  uint32_t textColour;         // 16
  uint32_t backgroundColour;   // 17
  int32_t currentSelection;    // 19
  Bytes font;                  // 18
  std::vector<uint32_t> itemValues;  // 21
  std::string content;               // 9
  std::vector<std::string> items;    // 20
  std::string property22;            // from version 2
  std::string property23;            // from version 2
  uint32_t property24;               // from version 3
};

struct EditBoxData {
  uint32_t version;
  uint32_t border;             // 9
  uint32_t textColour;         // 10
  uint32_t backgroundColour;   // 11; 0xFF000000: the system's button-face colour
  uint32_t hideSelection;      // 13
  uint32_t maximumLength;      // 14
  uint32_t multiLine;          // 15
  uint32_t scrollBars;         // 16
  uint32_t alignment;          // 17
  uint32_t inputMode;          // 18
  uint16_t passwordCharacter;  // 19, a character code
  uint32_t letterCase;         // 20
  uint32_t adjuster;           // 21
  uint32_t adjusterMinimum;    // 22
  uint32_t adjusterMaximum;    // 23
  uint32_t selectionStart;     // 24
  uint32_t selectionLength;    // 25
  Bytes font;                  // 12
  std::string content;         // 8
  std::string property27;      // from version 2
  std::string property28;      // from version 2
};

// Every property from 8 to 29 in index order: texts for the text properties, numbers for the rest.
struct CommonDialogData {
  uint32_t version;
  int32_t kind;  // 8
  std::string title;
  std::string fileName;
  std::string filter;
  int32_t initialFilter;
  std::string initialDirectory;
  std::string defaultExtension;
  int32_t createPrompt, fileMustExist, overwritePrompt, pathMustExist, noChangeDirectory;
  int32_t colour, bold, italic, strikeOut, underline;
  std::string fontName;
  int32_t fontSize;
  std::string helpFile;
  int32_t helpCommand, helpTopic;  // 28, 29
};

// No type data: every property of the unit keeps its type's default.
struct Defaults {};

using TypeData = std::variant<Defaults, WindowData, TimerData, TransparentLabelData, ButtonData,
                              ComboBoxData, EditBoxData, CommonDialogData>;

struct StoredBinding {
  int32_t event;
  uint32_t handlerOffset;  // 0xFFFFFFFF: no handler
};

struct UnitDescription {
  std::string name;  // GBK; empty for the window's own unit
  uint32_t id;
  uint32_t typeCode;
  int32_t left, top, width, height;
  uint32_t flags;  // unit_flags
  std::vector<StoredBinding> events;
  TypeData typeData;
  // What every unit of this program's form stores alike.
  uint32_t sharedEventsUnit = 0;
  uint32_t parentUnit = 0;  // 0: the window
  std::vector<uint32_t> children = {};
  Bytes cursor = {0, 0, 0, 0};  // shorter than 4 bytes would do too: the standard arrow
  std::string tag = {};
};

struct WindowDescription {
  uint32_t windowId;
  uint32_t placeholder;  // replaced in memory by the runtime; stored for the table's shape
  uint32_t wordA, wordB;
  std::string name, secondText;
  std::vector<UnitDescription> units;  // record order; the window's own unit first
};

struct FormDescription {
  std::vector<WindowDescription> windows;
};

}  // namespace app::stored_form
