#pragma once

#include "common/fixed_width.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvian {

// A field of a block of fixed-width text, filled from the field of a record named `name`.
struct FixedWidthField {
    std::string_view name;
    std::size_t width;
    char fill;
    Justify justify;
};

// Where the field of that name starts among fields laid side by side, from 0; their whole width when none
// has that name.
constexpr std::size_t fieldOffset(std::span<const FixedWidthField> fields, std::string_view name) {
    std::size_t offset = 0;
    for (const FixedWidthField& field : fields) {
        if (field.name == name) {
            return offset;
        }
        offset += field.width;
    }
    return offset;
}

// Fields laid side by side, fixed once. A record that fills block after block of one layout finds the
// columns once, knowing the layout by its number, which no other layout ever has. The names must stay as they
// are while the layout lives, as literals do.
class FixedWidthLayout {
public:
    explicit FixedWidthLayout(std::span<const FixedWidthField> fields);
    FixedWidthLayout(const FixedWidthLayout&) = delete;
    FixedWidthLayout& operator=(const FixedWidthLayout&) = delete;

    std::span<const FixedWidthField> fields() const { return m_fields; }
    // Every field's fill, side by side: as wide as the layout.
    const std::string& fill() const { return m_fill; }
    std::uint64_t number() const { return m_number; }

private:
    std::vector<FixedWidthField> m_fields;
    std::string m_fill;
    std::uint64_t m_number;
};

// The current row of a source query, read by field name. Text is Windows-1252, a character a byte.
// An unknown field name raises kalvian::Error.
class SourceRecord {
public:
    virtual ~SourceRecord() = default;

    // NULL gives the empty text. Integers give their decimal digits, floating-point numbers their shortest
    // general form with up to 15 significant digits (formatGeneral), dates the day as dd/mm/yyyy.
    virtual std::string asText(std::string_view field) const = 0;
    // Writes the layout's fields over `out` (as wide as the layout), each the fixed-width field (its fill,
    // then its kept text) of its text as asText reads it: a block of fields in one call, which a stored
    // record fills without a string for each.
    virtual void placeFields(const FixedWidthLayout& layout, std::span<char> out) const;
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
    // Says that find(code) comes soon, so that a lookup holding its clients in memory can start fetching
    // that one meanwhile: clients are met in no order, and each is likely far from the processor's caches.
    virtual void prefetch(std::int32_t) {}
    // Another lookup over the same clients, used on its own (also in another thread) while this one stays
    // as it is.
    virtual std::unique_ptr<ClientLookup> anotherLookup() const = 0;
};

} // namespace kalvian
