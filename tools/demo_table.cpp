#include "demo_table.h"

#include <array>
#include <string>

namespace kalvian::paradox {

namespace {

constexpr std::size_t kNullEvery = 7;

const std::array<const char*, 5> kNames = {"S\xE3o Jo\xE3o",
                                           "A\xE7"
                                           "a\xED",
                                           "\xC7\xC0\xC9\xCE\xD5\xDC",
                                           "Pra\xE7"
                                           "a da S\xE9",
                                           "Plain"};

} // namespace

TableLayout demoLayout(int level, int codePage, int blockSize) {
    return {level,
            codePage,
            blockSize,
            {{"NOME", FieldType::Alpha, 20},
             {"VALOR", FieldType::Number},
             {"PRE\xC7O", FieldType::Currency},
             {"QTD", FieldType::Short},
             {"CODIGO", FieldType::Long},
             {"DATA", FieldType::Date},
             {"HORA", FieldType::Time},
             {"MOMENTO", FieldType::Timestamp},
             {"ATIVO", FieldType::Logical},
             {"SEQ", FieldType::AutoInc},
             {"DADOS", FieldType::Bytes, 4}}};
}

std::vector<WriterValue> demoRow(std::size_t index) {
    const auto i = static_cast<std::int32_t>(index);
    const double day = 36526.0 + static_cast<double>(index % 9000); // from 01/01/2000
    std::vector<WriterValue> row = {
        std::string(kNames[index % kNames.size()]) + " " + std::to_string(index),
        (i % 2 == 0 ? -1.0 : 1.0) * (static_cast<double>(i) * 1.25 + 0.01),
        static_cast<double>(i % 1000) / 100.0,
        static_cast<std::int32_t>(i % 65535 - 32767),
        static_cast<std::int32_t>(i * 7919 - 1000000),
        day,
        static_cast<std::int32_t>((i * 1009) % 86400000),
        day + static_cast<double>(index % 86400) / 86400.0,
        i % 3 == 0,
        i + 1,
        std::vector<std::byte>{std::byte{0}, static_cast<std::byte>(i & 0xFF), std::byte{0xFF}, std::byte{0}},
    };
    row[(index % kNullEvery) % row.size()] = std::monostate{};
    if (index % kNullEvery == 0) {
        row[(index / kNullEvery) % row.size()] = std::monostate{};
    }
    return row;
}

} // namespace kalvian::paradox
