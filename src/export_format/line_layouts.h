#pragma once

#include "common/fixed_width.h"
#include "export_format/client_block_layout.h"
#include "export_format/number_format.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace kalvian {

// The layout of each line of the export file, stated once: the export writes its lines by walking these
// fields, and a reading of the file checks each line against them.

// What a field holds, which says how it is written and how a reading checks it.
enum class FieldForm {
    Literal,      // these bytes
    Text,         // the fill rule over text of any bytes (the header's registration)
    Char,         // the fill rule over a one-byte text field
    Integer,      // the fill rule over an integer's text
    Date,         // dd/mm/yyyy, with the locale's separator
    Repeat,       // the bytes of the field before, again
    Amount,       // number format with at least 12 integer digits
    Rate,         // number format with at least 2 integer digits
    WithheldRate, // a rate: ALIQUO when RESTRB is exactly "R" and ALQRET is 0; ALQRET otherwise
    Client,       // the client block of the invoice's CODCLI; `literal` names a client not found
};

struct LineField {
    FieldForm form;
    std::string_view name; // the source field, or what messages call the field
    std::size_t width;     // numbers: as written below 10^12 (amounts) or 100 (rates), the usual form
    char fill = ' ';
    Justify justify = Justify::Right;
    std::string_view literal = {};
};

struct LineLayout {
    char type; // the first byte of the line
    std::span<const LineField> fields;
};

inline constexpr int kRegistrationWidth = 11;
inline constexpr std::size_t kAmountWidth = kAmountIntegerDigits + 3;
inline constexpr std::size_t kRateWidth = kRateIntegerDigits + 3;

constexpr bool isNumber(FieldForm form) {
    return form == FieldForm::Amount || form == FieldForm::Rate || form == FieldForm::WithheldRate;
}

inline constexpr LineField kData{FieldForm::Date, "DATA", 10};
inline constexpr LineField kSerie{FieldForm::Char, "SERIE", 1};
inline constexpr LineField kModu{FieldForm::Char, "MODU", 1};
inline constexpr LineField kNumnf{FieldForm::Integer, "NUMNF", 8, '0'};

inline constexpr LineField kHeaderFields[] = {
    {FieldForm::Text, "inscrição", kRegistrationWidth, '0'},
    {FieldForm::Literal, "versão", 2, ' ', Justify::Right, "40"},
};
// An issued invoice whose MODU is not exactly "X".
inline constexpr LineField kIssuedFields[] = {
    kData,
    kSerie,
    kModu,
    kNumnf,
    {FieldForm::Amount, "VALNF", kAmountWidth},
    {FieldForm::Amount, "VALSER", kAmountWidth},
    {FieldForm::Char, "RESTRB", 1},
    {FieldForm::Rate, "ALIQUO", kRateWidth},
    {FieldForm::WithheldRate, "ALQRET", kRateWidth},
    {FieldForm::Client, "cliente", kClientBlockWidth, ' ', Justify::Right, kMissingTaker},
};
// An issued invoice whose MODU is exactly "X", in place of its E line: the number twice, the first and the
// last of a range of one invoice.
inline constexpr LineField kShortFields[] = {
    kData,
    {FieldForm::Literal, "tipo", 2, ' ', Justify::Right, "11"},
    {FieldForm::Char, "SERIE", 1, ' ', Justify::Left},
    kNumnf,
    {FieldForm::Repeat, "NUMNF", kNumnf.width},
};
// DATA twice; the table's own DATEMI is never written.
inline constexpr LineField kReceivedFields[] = {
    kData,
    {FieldForm::Repeat, "DATA", kData.width},
    kSerie,
    kModu,
    kNumnf,
    {FieldForm::Amount, "VALNF", kAmountWidth},
    {FieldForm::Amount, "VALSER", kAmountWidth},
    {FieldForm::Rate, "ALIQUO", kRateWidth},
    {FieldForm::Amount, "IMPRET", kAmountWidth},
    {FieldForm::Client, "cliente", kClientBlockWidth, ' ', Justify::Right, kMissingProvider},
};

inline constexpr LineLayout kHeaderLine{'H', kHeaderFields};
inline constexpr LineLayout kIssuedLine{'E', kIssuedFields};
inline constexpr LineLayout kShortLine{'C', kShortFields};
inline constexpr LineLayout kReceivedLine{'R', kReceivedFields};

// The line's length without CR LF when every field has its usual width.
constexpr std::size_t usualLength(const LineLayout& line) {
    std::size_t length = 1;
    for (const LineField& field : line.fields) {
        length += field.width;
    }
    return length;
}
static_assert(usualLength(kHeaderLine) == 14 && usualLength(kIssuedLine) == 288 &&
              usualLength(kShortLine) == 30 && usualLength(kReceivedLine) == 307);

} // namespace kalvian
