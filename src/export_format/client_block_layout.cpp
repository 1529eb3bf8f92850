#include "export_format/client_block_layout.h"

#include "export_format/fill.h"

namespace kalvian {

static_assert(kClientBlockWidth == 226);

std::string missingClientName(std::string_view placeholder, std::int64_t code) {
    if (code < 1) {
        return {};
    }
    return std::string(placeholder) + " (" + std::to_string(code) + ")";
}

void appendMissingClientBlock(std::string& line, std::string_view name) {
    for (const FixedWidthField& field : kClientBlockFields) {
        if (field.name == "NOME") {
            appendPreencheDireita(line, name, static_cast<int>(field.width), field.fill);
        } else {
            line.append(field.width, field.fill);
        }
    }
}

} // namespace kalvian
