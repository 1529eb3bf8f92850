#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kalvian {

// The current row of a source query, read by field name. Text is Windows-1252, a character a byte.
// An unknown field name raises kalvian::Error.
class SourceRecord {
public:
    virtual ~SourceRecord() = default;

    // NULL gives the empty text. Integers give their decimal digits, floating-point numbers their shortest
    // general form with up to 15 significant digits (formatGeneral), dates the day as dd/mm/yyyy.
    virtual std::string asText(std::string_view field) const = 0;
    // NULL gives 0.
    virtual double asNumber(std::string_view field) const = 0;
    // NULL gives 0.
    virtual std::int32_t asInteger(std::string_view field) const = 0;
    // A date serial; NULL gives the blank date.
    virtual double asDate(std::string_view field) const = 0;
};

// Finds a client record by its code (CODCLI).
class ClientLookup {
public:
    virtual ~ClientLookup() = default;

    // The first client with that code, or nullptr when there is none. The record stays valid until the next
    // call.
    virtual const SourceRecord* find(std::int32_t code) = 0;
};

} // namespace kalvian
