#pragma once
// MainForm's stored description as the executable carries it: read-only bytes written at build
// time by generate_form_data from main_form.cpp, linked in unchanged.

#include <cstdint>

#include "app/forms/main_form_data_length.h"  // generated with the bytes: kMainFormDataLength

namespace app {

extern "C" const uint8_t kMainFormData[];

}  // namespace app
