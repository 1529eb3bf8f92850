#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kalvian {

// One record of an export file read back: a header (H), an issued invoice (E or the short C) or a received
// one (R), with the fields the totals need as they are written. Views point into the bytes read.
struct ExportRecord {
    char type = 0;
    std::size_t length = 0;  // bytes, CR LF included
    char dateSeparator = 0;  // of its dates; 0 in a header
    std::string_view header; // H: the registration, 11 bytes
    std::string_view valnf;  // E and R
    std::string_view valser; // E and R
    std::string_view impret; // R
    std::string_view client; // E and R: the 226-byte client block
};

// Why a record cannot be read: the message for the first bad field, and what is known of the line's length,
// so that a line cut short or run long is named as such rather than by the field it disturbed.
struct RecordFault {
    std::string message;                    // in Portuguese, without the line number
    char type = 0;                          // 0 when the first byte names no type
    std::size_t minimumLength = 0;          // of a line of that type, CR LF excluded
    bool fixedLength = false;               // H and C lines have no other length
    std::optional<std::size_t> knownLength; // this line's, CR LF excluded, once its fields say it
};

// The longest record the layout allows, CR LF included: an R line whose four numbers take their widest
// forms. A reader that holds this many bytes (or the rest of the file) holds a whole record.
inline constexpr std::size_t kLongestRecord = 347;

// Reads the record at the start of `bytes`, which hold at least kLongestRecord bytes or the rest of the file.
// Every field is checked in its format: dates that exist, with "/", "." or "-"; amounts and rates as the
// export writes them (zero-filled, negative, more integer digits, general notation from 10^18 on, "INF",
// "NAN"), read by their form rather than at fixed places; CR LF right after the last field. Text fields
// (registration, client block) may hold any byte.
//
// The layout puts numbers side by side with nothing between them, so a general-notation exponent followed by
// a digit may take two or three digits: "1.5E20" "8" "000000001000.00" reads as 1.5E208 and 1000.00, or as
// 1.5E20 and 8000000001000.00. The line's length settles most such cases. When both readings fit, the longer
// exponent is taken, which leaves the field after it in its usual width (an amount below 10^12 zero-filled
// to 12 digits, a rate below 100), by far the likelier; the read is then marked ambiguous.
struct RecordRead {
    std::optional<ExportRecord> record;
    RecordFault fault;
    bool ambiguous = false; // another reading gives other amounts
};
RecordRead readExportRecord(std::string_view bytes);

// The record at the start of `bytes` when it has the form nearly every line an export writes has: every
// amount zero-filled to 12 integer digits, every rate to 2, so each field lies at its usual place and the
// line has its usual length. Only the places are checked, not what the other fields hold: it serves lines the
// export has just built, which need adding up, not checking. Nothing for a line of any other form.
std::optional<ExportRecord> readUsualRecord(std::string_view bytes);

// The message for a fault, given the length of the record's physical line: the bytes before its first LF
// (or the end of the file), less a CR right before that LF.
std::string faultMessage(const RecordFault& fault, std::size_t physicalLength);

// The length of the physical line at the start of `bytes`, when they hold its end; nothing otherwise.
std::optional<std::size_t> physicalLineLength(std::string_view bytes, bool endOfFile);

} // namespace kalvian
