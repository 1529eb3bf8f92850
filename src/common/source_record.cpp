#include "source_record.h"

namespace kalvian {

void SourceRecord::placeFields(std::span<const FixedWidthField> fields, std::span<char> out) const {
    std::size_t offset = 0;
    for (const FixedWidthField& field : fields) {
        placeFixedWidth(out.subspan(offset, field.width), asText(field.name), field.fill, field.justify);
        offset += field.width;
    }
}

} // namespace kalvian
