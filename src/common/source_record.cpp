#include "source_record.h"

#include <atomic>
#include <cstring>

namespace kalvian {

FixedWidthLayout::FixedWidthLayout(std::span<const FixedWidthField> fields)
    : m_fields(fields.begin(), fields.end()) {
    static std::atomic<std::uint64_t> layouts{0};
    m_number = ++layouts;
    for (const FixedWidthField& field : m_fields) {
        m_fill.append(field.width, field.fill);
    }
}

void SourceRecord::placeFields(const FixedWidthLayout& layout, std::span<char> out) const {
    std::memcpy(out.data(), layout.fill().data(), layout.fill().size());
    std::size_t offset = 0;
    for (const FixedWidthField& field : layout.fields()) {
        placeOverFill(out.subspan(offset, field.width), asText(field.name), field.justify);
        offset += field.width;
    }
}

} // namespace kalvian
