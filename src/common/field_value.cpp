#include "field_value.h"

#include "common/date_format.h"
#include "common/date_serial.h"
#include "common/error.h"
#include "common/number_text.h"

#include <cmath>
#include <limits>

namespace kalvian {

namespace {

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
// Clang before 17 deduces no template arguments for aggregates by itself.
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

[[noreturn]] void failRead(std::string_view field, const char* kind) {
    throw Error("Field '" + std::string(field) + "' cannot be read as " + kind);
}

} // namespace

std::string valueAsText(const FieldValue& value) {
    return std::visit(Overloaded{
                          [](std::monostate) { return std::string(); },
                          [](const std::string& text) { return text; },
                          [](double number) { return formatGeneral(number); },
                          [](std::int32_t integer) { return std::to_string(integer); },
                          [](DateSerial date) { return formatDate(date.serial, '/'); },
                      },
                      value);
}

double valueAsNumber(const FieldValue& value, std::string_view field) {
    if (std::holds_alternative<std::monostate>(value)) {
        return 0;
    }
    if (const auto* number = std::get_if<double>(&value)) {
        return *number;
    }
    if (const auto* integer = std::get_if<std::int32_t>(&value)) {
        return *integer;
    }
    failRead(field, "a number");
}

std::int32_t valueAsInteger(const FieldValue& value, std::string_view field) {
    if (std::holds_alternative<std::monostate>(value)) {
        return 0;
    }
    if (const auto* integer = std::get_if<std::int32_t>(&value)) {
        return *integer;
    }
    if (const auto* number = std::get_if<double>(&value)) {
        const double rounded = std::round(*number);
        if (rounded >= std::numeric_limits<std::int32_t>::min() &&
            rounded <= std::numeric_limits<std::int32_t>::max()) {
            return static_cast<std::int32_t>(rounded);
        }
    }
    failRead(field, "an integer");
}

double valueAsDate(const FieldValue& value, std::string_view field) {
    if (std::holds_alternative<std::monostate>(value)) {
        return kBlankDate;
    }
    if (const auto* date = std::get_if<DateSerial>(&value)) {
        return date->serial;
    }
    failRead(field, "a date");
}

} // namespace kalvian
