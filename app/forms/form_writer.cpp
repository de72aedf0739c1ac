#include "app/forms/form_writer.h"

#include "runtime/forms/archive.h"

namespace app::stored_form {
namespace {

using ::forms::ArchiveWriter;

void WriteTypeData(ArchiveWriter&, const Defaults&) {}

void WriteTypeData(ArchiveWriter& out, const WindowData& d) {
  for (uint32_t word : {d.version, d.borderStyle, d.pictureMode, d.backgroundColour,
                        d.maximizeBox, d.minimizeBox, d.controlBox, d.startPosition, d.closeBox,
                        d.property14, d.property21, d.property22, d.property23, d.property25})
    out.U32(word);
  if (d.version >= 2) out.U32(d.showInTaskBar);
  if (d.version >= 3) {
    out.U32(d.property27);
    out.U32(d.property28);
  }
  if (d.version >= 4) out.U32(d.alwaysOnTop);
  if (d.version >= 5) out.U32(d.property30);
  if (d.version >= 6) out.LenText(d.className);
  out.LenBytes(d.backgroundPicture);
  out.LenBytes(d.icon);
  out.LenBytes(d.property13);
  out.LenText(d.title);
  out.LenText(d.property24);
}

void WriteTypeData(ArchiveWriter& out, const TimerData& d) {
  out.U32(d.version);
  out.U32(d.interval);
}

void WriteTypeData(ArchiveWriter& out, const TransparentLabelData& d) {
  for (uint32_t word : {d.version, d.textEffect, d.textColour, d.horizontalAlignment,
                        d.verticalAlignment, d.wordWrap})
    out.U32(word);
  out.LenBytes(d.font);
  out.LenText(d.caption);
}

void WriteTypeData(ArchiveWriter& out, const ButtonData& d) {
  for (uint32_t word : {d.version, d.kind, d.horizontalAlignment, d.verticalAlignment})
    out.U32(word);
  out.LenBytes(d.picture);
  out.LenBytes(d.font);
  out.LenText(d.caption);
}

void WriteTypeData(ArchiveWriter& out, const ComboBoxData& d) {
  for (uint32_t word : {d.version, d.style, d.maximumTextLength, d.selectionStart,
                        d.selectionLength, d.sorted, d.extraRowHeight, d.textColour,
                        d.backgroundColour})
    out.U32(word);
  out.I32(d.currentSelection);
  out.LenBytes(d.font);
  ArchiveWriter values;
  for (uint32_t value : d.itemValues) values.U32(value);
  out.LenBytes(values.Data());
  out.LenText(d.content);
  out.TextList(d.items);
  if (d.version >= 2) {
    out.LenText(d.property22);
    out.LenText(d.property23);
  }
  if (d.version >= 3) out.U32(d.property24);
}

void WriteTypeData(ArchiveWriter& out, const EditBoxData& d) {
  for (uint32_t word : {d.version, d.border, d.textColour, d.backgroundColour, d.hideSelection,
                        d.maximumLength, d.multiLine, d.scrollBars, d.alignment, d.inputMode})
    out.U32(word);
  out.U16(d.passwordCharacter);
  for (uint32_t word : {d.letterCase, d.adjuster, d.adjusterMinimum, d.adjusterMaximum,
                        d.selectionStart, d.selectionLength})
    out.U32(word);
  out.LenBytes(d.font);
  out.LenText(d.content);
  if (d.version >= 2) {
    out.LenText(d.property27);
    out.LenText(d.property28);
  }
}

void WriteTypeData(ArchiveWriter& out, const CommonDialogData& d) {
  out.U32(d.version);
  out.I32(d.kind);
  out.LenText(d.title);
  out.LenText(d.fileName);
  out.LenText(d.filter);
  out.I32(d.initialFilter);
  out.LenText(d.initialDirectory);
  out.LenText(d.defaultExtension);
  for (int32_t word : {d.createPrompt, d.fileMustExist, d.overwritePrompt, d.pathMustExist,
                       d.noChangeDirectory, d.colour, d.bold, d.italic, d.strikeOut, d.underline})
    out.I32(word);
  out.LenText(d.fontName);
  out.I32(d.fontSize);
  out.LenText(d.helpFile);
  out.I32(d.helpCommand);
  out.I32(d.helpTopic);
}

}  // namespace

std::vector<uint8_t> WriteUnitRecord(const UnitDescription& unit) {
  ArchiveWriter out;
  out.U32(unit.typeCode);
  out.U32(unit.sharedEventsUnit);
  out.Zeros(16);
  out.ZText(unit.name);
  out.ZText("");  // the second text, empty in every record
  out.U32(0);     // object slot, filled in at run time
  out.I32(unit.left);
  out.I32(unit.top);
  out.I32(unit.width);
  out.I32(unit.height);
  out.U32(0);  // pointer-handle slot, filled in at run time
  out.U32(unit.parentUnit);
  out.U32(static_cast<uint32_t>(unit.children.size()));
  for (uint32_t child : unit.children) out.U32(child);
  out.LenBytes(unit.cursor);
  out.ZText(unit.tag);
  out.U32(0);
  out.U32(unit.flags);
  out.U32(0);
  out.U32(static_cast<uint32_t>(unit.events.size()));
  for (const StoredBinding& binding : unit.events) {
    out.I32(binding.event);
    out.U32(binding.handlerOffset);
  }
  out.Zeros(20);
  std::visit([&out](const auto& data) { WriteTypeData(out, data); }, unit.typeData);
  return std::move(out.Data());
}

std::vector<uint8_t> WriteUnitBlock(const WindowDescription& window) {
  std::vector<std::vector<uint8_t>> records;
  for (const UnitDescription& unit : window.units) records.push_back(WriteUnitRecord(unit));

  ArchiveWriter out;
  for (const UnitDescription& unit : window.units) out.U32(unit.id);
  uint32_t offset = 0;
  for (const std::vector<uint8_t>& record : records) {
    out.U32(offset);
    offset += 4 + static_cast<uint32_t>(record.size());
  }
  for (const std::vector<uint8_t>& record : records) out.LenBytes(record);
  return std::move(out.Data());
}

std::vector<uint8_t> WriteFormData(const FormDescription& form) {
  ArchiveWriter table;
  for (const WindowDescription& window : form.windows) table.U32(window.windowId);
  for (const WindowDescription& window : form.windows) table.U32(window.placeholder);

  ArchiveWriter out;
  out.LenBytes(table.Data());
  for (const WindowDescription& window : form.windows) {
    out.U32(window.wordA);
    out.U32(window.wordB);
    out.LenText(window.name);
    out.LenText(window.secondText);
    out.U32(static_cast<uint32_t>(window.units.size()));
    out.LenBytes(WriteUnitBlock(window));
  }
  return std::move(out.Data());
}

}  // namespace app::stored_form
