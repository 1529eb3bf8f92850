#pragma once

#include "common/date_serial.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace kalvian {

// One decoded field: NULL, Windows-1252 text, a floating-point number, an integer or a date.
using FieldValue = std::variant<std::monostate, std::string, double, std::int32_t, DateSerial>;

// The four ways a source record is read (see SourceRecord). A value of a family that cannot be read the
// asked way raises kalvian::Error naming the field.
std::string valueAsText(const FieldValue& value);
double valueAsNumber(const FieldValue& value, std::string_view field);
std::int32_t valueAsInteger(const FieldValue& value, std::string_view field);
double valueAsDate(const FieldValue& value, std::string_view field);

} // namespace kalvian
