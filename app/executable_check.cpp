// The executable check: a click reads the signature into the hidden edit box, every tick
// compares it and shows the verdict in the label.

#include "app/constants.h"
#include "app/conversions.h"
#include "app/forms/main_form_ids.h"
#include "app/handlers.h"
#include "app/program.h"
#include "app/runtime_calls.h"

namespace app {
namespace {

constexpr forms::HandlerResult kNoResult = {0, false};
constexpr int32_t kSignatureBytes = 15;
constexpr int32_t kGreen = 0xFF00, kRed = 255, kBlack = 0;

bool PropertyTextEquals(uint32_t unitId, int32_t index, const char* expected) {
  rt::Text text = ReadTextProperty(unitId, index);
  const bool equal = rt::CompareTexts(text, expected) == 0;
  Release(text);
  return equal;
}

}  // namespace

forms::HandlerResult ReadSignature(const uint32_t*, uint32_t) {
  rt::Text offset = TextVariable(kConstants.signatureOffset);
  rt::Text value = ReadLittleEndianValue(ExecutableFileNumber, &offset, kSignatureBytes);
  WriteTextProperty(unit::EditBox1, property::EditContent, value);
  Release(value);
  Release(offset);
  return kNoResult;
}

// The order of the reads and writes is part of the behaviour: a failing value while the list is
// still locked writes the red text first and the black one over it.
forms::HandlerResult CheckSignatureTick(const uint32_t*, uint32_t) {
  if (PropertyTextEquals(unit::EditBox1, property::EditContent, kConstants.expectedSignature)) {
    WriteIntProperty(unit::TransparentLabel1, property::LabelColour, kGreen);
    WriteTextProperty(unit::TransparentLabel1, property::LabelCaption, kConstants.passCaption);
  } else {
    WriteTextProperty(unit::TransparentLabel1, property::LabelCaption, kConstants.failCaption);
    WriteIntProperty(unit::TransparentLabel1, property::LabelColour, kRed);
  }
  if (PropertyTextEquals(unit::TransparentLabel1, property::LabelCaption, kConstants.passCaption))
    WriteIntProperty(unit::ComboBox1, property::Disabled, 0);  // never locked again
  if (ReadIntProperty(unit::ComboBox1, property::Disabled) == 1) {
    WriteIntProperty(unit::TransparentLabel1, property::LabelColour, kBlack);
    WriteTextProperty(unit::TransparentLabel1, property::LabelCaption, kConstants.noFileCaption);
  }
  return kNoResult;
}

}  // namespace app
