#include "export_check/export_file_reader.h"

#include "common/ascii_digits.h"
#include "common/date_serial.h"
#include "export_format/line_layouts.h"

#include <algorithm>
#include <array>
#include <span>

namespace kalvian {

namespace {

constexpr std::size_t kNumeroOffset = kClientNumberOffset;
constexpr std::size_t kNumeroWidth = kClientNumberWidth;
constexpr std::size_t kLargestFixedDigits = 18; // from 10^18 on, amounts are in general notation
constexpr std::size_t kMaxFractionDigits = 14;  // general notation keeps 15 significant digits
constexpr int kSmallestExponent = 18;
constexpr int kLargestExponent = 308;

// Where a field's bytes go in the record read, if anywhere.
constexpr std::string_view ExportRecord::*slotOf(const LineField& field) {
    return field.form == FieldForm::Text     ? &ExportRecord::header
           : field.form == FieldForm::Client ? &ExportRecord::client
           : field.name == "VALNF"           ? &ExportRecord::valnf
           : field.name == "VALSER"          ? &ExportRecord::valser
           : field.name == "IMPRET"          ? &ExportRecord::impret
                                             : nullptr;
}

// The least integer digits of a number field: its usual width less the point and two decimals.
constexpr std::size_t integerDigits(const LineField& field) {
    return field.width - 3;
}

// Bytes a field takes at the most.
constexpr std::size_t kWidestNumber = 1 + kLargestFixedDigits + 3; // "-", 18 digits, ".", 2 digits
constexpr std::size_t longestRecord(const LineLayout& line) {
    std::size_t length = 1 + 2; // type letter, CR LF
    for (const LineField& field : line.fields) {
        length += isNumber(field.form) ? kWidestNumber : field.width;
    }
    return length;
}
static_assert(kLongestRecord == longestRecord(kReceivedLine) && kLongestRecord > longestRecord(kIssuedLine));

const LineLayout* layoutOf(char type) {
    for (const LineLayout* line : {&kHeaderLine, &kShortLine, &kIssuedLine, &kReceivedLine}) {
        if (line->type == type) {
            return line;
        }
    }
    return nullptr;
}

// Where the usual form of a line (every amount zero-filled to 12 integer digits, every rate to 2) puts
// its numbers, its first date's separator and the fields the totals read: places known before any line is
// read.
struct UsualForm {
    struct Slot {
        std::size_t offset = 0;
        std::size_t width = 0;
        std::string_view ExportRecord::*member = nullptr;
    };
    char type = 0;
    std::size_t length = 0; // CR LF included
    std::size_t dateSeparator = 0;
    std::array<std::pair<std::size_t, std::size_t>, 4> numbers{}; // where each starts, its integer digits
    std::size_t numberCount = 0;
    std::array<Slot, 4> slots{};
    std::size_t slotCount = 0;
};

constexpr UsualForm usualForm(const LineLayout& line) {
    UsualForm form;
    form.type = line.type;
    std::size_t offset = 1;
    for (const LineField& field : line.fields) {
        if (isNumber(field.form)) {
            form.numbers[form.numberCount++] = {offset, integerDigits(field)};
        } else if (field.form == FieldForm::Date && form.dateSeparator == 0) {
            form.dateSeparator = offset + 2;
        }
        if (slotOf(field) != nullptr) {
            form.slots[form.slotCount++] = {offset, field.width, slotOf(field)};
        }
        offset += field.width;
    }
    form.length = offset + 2;
    return form;
}

const UsualForm* usualFormOf(char type) {
    static constexpr std::array kForms = {usualForm(kHeaderLine), usualForm(kShortLine),
                                          usualForm(kIssuedLine), usualForm(kReceivedLine)};
    for (const UsualForm& form : kForms) {
        if (form.type == type) {
            return &form;
        }
    }
    return nullptr;
}

// A field's bytes for a message: printable ASCII as it is, anything else as \xNN.
std::string quoted(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "\"";
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte < 0x7F) {
            text += ch;
        } else {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xF];
        }
    }
    return text + "\"";
}

std::string columns(std::size_t offset, std::size_t width) {
    const std::string first = std::to_string(offset + 1);
    return width <= 1 ? "coluna " + first : "colunas " + first + "-" + std::to_string(offset + width);
}

// Where a number written at some offset may end: one place, or two when a general-notation exponent may
// have two or three digits and a digit follows (the next field may start with one); or the first bad byte.
struct NumberEnds {
    std::array<std::size_t, 2> ends{};
    int count = 0;
    std::size_t bad = 0;
};

NumberEnds scanNumber(std::string_view s, std::size_t at, std::size_t leastIntegerDigits) {
    NumberEnds result;
    const auto digitAt = [&](std::size_t i) { return i < s.size() && isAsciiDigit(s[i]); };
    const auto failAt = [&](std::size_t i) {
        result.bad = i;
        return result;
    };
    const auto endAt = [&](std::size_t i) { result.ends[static_cast<std::size_t>(result.count++)] = i; };

    const bool negative = at < s.size() && s[at] == '-';
    const std::size_t start = negative ? at + 1 : at;
    if (!digitAt(start) && (s.substr(start, 3) == "INF" || (!negative && s.substr(start, 3) == "NAN"))) {
        endAt(start + 3);
        return result;
    }
    std::size_t i = start;
    while (digitAt(i)) {
        ++i;
    }
    const std::size_t integerDigits = i - start;
    const bool general = integerDigits == 1 && i < s.size() && (s[i] == '.' || s[i] == 'E');
    if (general) {
        // d[.ddd]E<exponent>: a digit 1-9, up to 14 decimals without trailing zeros, an exponent of 18..308.
        if (s[start] == '0') {
            return failAt(start);
        }
        if (s[i] == '.') {
            const std::size_t decimals = ++i;
            while (digitAt(i) && i - decimals < kMaxFractionDigits) {
                ++i;
            }
            if (i == decimals || s[i - 1] == '0') {
                return failAt(i == decimals ? i : i - 1);
            }
        }
        if (i >= s.size() || s[i] != 'E') {
            return failAt(i);
        }
        ++i;
        if (!digitAt(i) || s[i] == '0' || !digitAt(i + 1)) {
            return failAt(digitAt(i) && s[i] != '0' ? i + 1 : i);
        }
        const int twoDigits = (s[i] - '0') * 10 + (s[i + 1] - '0');
        if (twoDigits >= kSmallestExponent) {
            endAt(i + 2);
        }
        if (digitAt(i + 2) && twoDigits * 10 + (s[i + 2] - '0') <= kLargestExponent) {
            endAt(i + 3);
        }
        return result.count > 0 ? result : failAt(i);
    }

    // [-]ddd...d.dd: zero-filled to the least integer digits, no leading zero beyond them, no "-" on zero.
    if (integerDigits < leastIntegerDigits) {
        return failAt(i);
    }
    if (integerDigits > kLargestFixedDigits) {
        return failAt(start + kLargestFixedDigits);
    }
    if (integerDigits > leastIntegerDigits && s[start] == '0') {
        return failAt(start);
    }
    if (i >= s.size() || s[i] != '.') {
        return failAt(i);
    }
    if (!digitAt(i + 1) || !digitAt(i + 2)) {
        return failAt(digitAt(i + 1) ? i + 2 : i + 1);
    }
    if (negative && s.substr(start, i + 3 - start).find_first_not_of("0.") == std::string_view::npos) {
        return failAt(at);
    }
    endAt(i + 3);
    return result;
}

// Where a bad number seems to end, to show it whole: through the two decimals after its point, or through
// the exponent of general notation; the least width when it has neither form.
std::size_t numberExtent(std::string_view s, std::size_t at, std::size_t leastWidth) {
    const auto digitAt = [&](std::size_t i) { return i < s.size() && isAsciiDigit(s[i]); };
    const std::size_t start = at < s.size() && s[at] == '-' ? at + 1 : at;
    std::size_t i = start;
    while (digitAt(i)) {
        ++i;
    }
    const char next = i < s.size() ? s[i] : '\0';
    if (i - start > 1 && next == '.') {
        i += 3;
    } else if (i - start == 1 && (next == '.' || next == 'E')) {
        while (digitAt(i) || (i < s.size() && s[i] == '.')) {
            ++i;
        }
        if (i < s.size() && s[i] == 'E') {
            const std::size_t exponent = ++i;
            while (digitAt(i) && i - exponent < 2) {
                ++i;
            }
            const bool thirdDigit = i - exponent == 2 && digitAt(i) &&
                                    std::stoi(std::string(s.substr(exponent, 3))) <= kLargestExponent;
            i += thirdDigit ? 1 : 0;
        }
    } else {
        i = at + leastWidth;
    }
    return std::min(i, at + kWidestNumber);
}

// An integer's text right-justified with zeros and cut to its width: digits, or zeros, "-" and digits.
std::optional<std::size_t> badIntegerByte(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == '0') {
        ++i;
    }
    if (i < field.size() && field[i] == '-') {
        if (++i == field.size()) {
            return i - 1;
        }
    }
    for (; i < field.size(); ++i) {
        if (!isAsciiDigit(field[i])) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<CalendarDate> readDate(std::string_view text, char& separator, std::size_t& bad) {
    constexpr std::size_t kSeparators[] = {2, 5};
    separator = text[2];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool isSeparator = i == kSeparators[0] || i == kSeparators[1];
        const bool good =
            isSeparator ? (text[i] == separator && (separator == '/' || separator == '.' || separator == '-'))
                        : isAsciiDigit(text[i]);
        if (!good) {
            bad = i;
            return std::nullopt;
        }
    }
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    return CalendarDate{number(6, 4), number(3, 2), number(0, 2)};
}

// Reads the fields of one layout, trying both ends of a number where its form allows two (the longer
// exponent first, unless asked otherwise), and keeps the fault that got furthest when none fits.
class RecordReader {
public:
    RecordReader(std::string_view bytes, char type, bool shorterExponentFirst)
        : m_bytes(bytes), m_fields(layoutOf(type)->fields), m_shorterExponentFirst(shorterExponentFirst) {
        m_record.type = type;
    }

    RecordRead read() {
        if (readFrom(0, 1, 0)) {
            return {m_record, {}};
        }
        return {std::nullopt, m_fault};
    }

    // Whether some number could have ended in two places.
    bool hadChoice() const { return m_hadChoice; }

private:
    bool readFrom(std::size_t index, std::size_t offset, std::size_t previousOffset) {
        for (; index < m_fields.size(); ++index) {
            const LineField& field = m_fields[index];
            if (isNumber(field.form)) {
                return readNumber(index, offset);
            }
            if (!readField(index, offset, previousOffset)) {
                return false;
            }
            previousOffset = offset;
            offset += field.width;
        }
        return readLineEnd(offset);
    }

    bool readNumber(std::size_t index, std::size_t offset) {
        const LineField& field = m_fields[index];
        const NumberEnds number = scanNumber(m_bytes, offset, integerDigits(field));
        if (number.count == 0) {
            const std::size_t shown = std::max(number.bad + 1, numberExtent(m_bytes, offset, field.width));
            return fail(index, offset, number.bad,
                        "campo " + std::string(field.name) + " inválido a partir da coluna " +
                            std::to_string(offset + 1) + ": " + quoted(lineBytes(offset, shown - offset)));
        }
        m_hadChoice = m_hadChoice || number.count > 1;
        for (int i = 0; i < number.count; ++i) {
            const int choice = m_shorterExponentFirst ? i : number.count - 1 - i;
            const std::size_t end = number.ends[static_cast<std::size_t>(choice)];
            if (const auto slot = slotOf(field)) {
                m_record.*slot = m_bytes.substr(offset, end - offset);
            }
            if (readFrom(index + 1, end, offset)) {
                return true;
            }
        }
        return false;
    }

    bool readField(std::size_t index, std::size_t offset, std::size_t previousOffset) {
        const LineField& field = m_fields[index];
        if (offset + field.width > m_bytes.size()) {
            return fail(index, offset, m_bytes.size(), "o arquivo termina no meio da linha");
        }
        const std::string_view text = m_bytes.substr(offset, field.width);
        const auto where = [&] { return columns(offset, field.width); };
        switch (field.form) {
        case FieldForm::Literal:
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] != field.literal[i]) {
                    return fail(index, offset, offset + i,
                                "esperado \"" + std::string(field.literal) + "\" nas " + where() +
                                    ", encontrado " + quoted(text));
                }
            }
            break;
        case FieldForm::Date: {
            std::size_t bad = 0;
            const std::optional<CalendarDate> date = readDate(text, m_record.dateSeparator, bad);
            if (!date) {
                return fail(index, offset, offset + bad,
                            "campo " + std::string(field.name) + " mal formado nas " + where() + ": " +
                                quoted(text) + " (esperado DD/MM/AAAA)");
            }
            if (!isValidDate(*date)) {
                return fail(index, offset, offset,
                            "data impossível no campo " + std::string(field.name) + " (" + where() +
                                "): " + quoted(text));
            }
            break;
        }
        case FieldForm::Repeat:
            if (text != m_bytes.substr(previousOffset, field.width)) {
                return fail(index, offset, offset,
                            "o segundo campo " + std::string(field.name) + " (" + where() +
                                ") difere do primeiro: " + quoted(text));
            }
            break;
        case FieldForm::Char:
            if (static_cast<unsigned char>(text[0]) < 0x20) {
                return fail(index, offset, offset,
                            "caractere de controle no campo " + std::string(field.name) + " (" + where() +
                                ")");
            }
            break;
        case FieldForm::Integer:
            if (const auto bad = badIntegerByte(text)) {
                return fail(index, offset, offset + *bad,
                            "campo " + std::string(field.name) + " inválido nas " + where() + ": " +
                                quoted(text));
            }
            break;
        case FieldForm::Client: {
            const std::string_view numero = text.substr(kNumeroOffset, kNumeroWidth);
            if (const auto bad = badIntegerByte(numero)) {
                return fail(index, offset, offset + kNumeroOffset + *bad,
                            "campo NUMERO do cliente inválido nas " +
                                columns(offset + kNumeroOffset, kNumeroWidth) + ": " + quoted(numero));
            }
            break;
        }
        case FieldForm::Text:
        case FieldForm::Amount:
        case FieldForm::Rate:
        case FieldForm::WithheldRate:
            break;
        }
        if (const auto slot = slotOf(field)) {
            m_record.*slot = text;
        }
        return true;
    }

    bool readLineEnd(std::size_t offset) {
        const std::string_view end = m_bytes.substr(offset, 2);
        if (end == "\r\n") {
            m_record.length = offset + 2;
            return true;
        }
        const std::string column = std::to_string(offset + 1);
        const char* message = end.empty()      ? "falta o fim de linha (CR LF) no fim do arquivo"
                              : end[0] == '\n' ? "a linha termina só com LF, sem o CR"
                              : end == "\r"    ? "o arquivo termina com CR, sem o LF"
                                               : nullptr;
        return fail(m_fields.size(), offset, offset,
                    message != nullptr ? std::string(message) + " (coluna " + column + ")"
                                       : "esperado o fim da linha (CR LF) na coluna " + column);
    }

    std::string_view lineBytes(std::size_t offset, std::size_t count) const {
        const std::string_view bytes = m_bytes.substr(offset, std::min(count, kWidestNumber));
        return bytes.substr(0, bytes.find_first_of("\r\n"));
    }

    // Keeps the fault whose first bad byte lies furthest into the line. Once no number lies ahead, the line's
    // length is known from the field's place.
    bool fail(std::size_t index, std::size_t fieldOffset, std::size_t badOffset, std::string message) {
        if (m_hasFault && badOffset < m_faultOffset) {
            return false;
        }
        if (!m_hasFault) {
            m_fault.type = m_record.type;
            m_fault.minimumLength = usualLength(*layoutOf(m_record.type));
            m_fault.fixedLength = m_record.type == 'H' || m_record.type == 'C';
        }
        m_hasFault = true;
        m_faultOffset = badOffset;
        m_fault.message = std::move(message);
        std::size_t length = fieldOffset;
        m_fault.knownLength.reset();
        for (std::size_t i = index; i < m_fields.size(); ++i) {
            if (isNumber(m_fields[i].form)) {
                return false;
            }
            length += m_fields[i].width;
        }
        m_fault.knownLength = length;
        return false;
    }

    std::string_view m_bytes;
    std::span<const LineField> m_fields;
    bool m_shorterExponentFirst;
    bool m_hadChoice = false;
    ExportRecord m_record;
    RecordFault m_fault;
    bool m_hasFault = false;
    std::size_t m_faultOffset = 0;
};

std::string characters(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " caractere" : " caracteres");
}

} // namespace

RecordRead readExportRecord(std::string_view bytes) {
    const char type = bytes.empty() ? '\0' : bytes.front();
    if (layoutOf(type) == nullptr) {
        RecordFault fault;
        fault.message = "tipo de linha desconhecido: " + quoted(bytes.substr(0, 1)) +
                        " (as linhas começam com H, E, C ou R)";
        return {std::nullopt, fault};
    }
    RecordReader reader(bytes, type, false);
    RecordRead read = reader.read();
    if (read.record && reader.hadChoice()) {
        const RecordRead other = RecordReader(bytes, type, true).read();
        read.ambiguous = other.record && (other.record->valnf != read.record->valnf ||
                                          other.record->valser != read.record->valser ||
                                          other.record->impret != read.record->impret);
    }
    return read;
}

std::optional<ExportRecord> readUsualRecord(std::string_view bytes) {
    const UsualForm* const form = usualFormOf(bytes.empty() ? '\0' : bytes.front());
    if (form == nullptr || bytes.size() < form->length || bytes.substr(form->length - 2, 2) != "\r\n") {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < form->numberCount; ++i) {
        const auto [offset, digits] = form->numbers[i];
        if (!allAsciiDigits(bytes.substr(offset, digits)) || bytes[offset + digits] != '.' ||
            !allAsciiDigits(bytes.substr(offset + digits + 1, 2))) {
            return std::nullopt;
        }
    }
    ExportRecord record;
    record.type = bytes.front();
    record.length = form->length;
    if (form->dateSeparator != 0) {
        record.dateSeparator = bytes[form->dateSeparator];
    }
    for (std::size_t i = 0; i < form->slotCount; ++i) {
        const UsualForm::Slot& slot = form->slots[i];
        record.*slot.member = bytes.substr(slot.offset, slot.width);
    }
    return record;
}

std::string faultMessage(const RecordFault& fault, std::size_t physicalLength) {
    if (physicalLength == 0) {
        return "linha vazia";
    }
    if (fault.type == 0) {
        return fault.message;
    }
    const std::string type(1, fault.type);
    const std::optional<std::size_t> expected =
        fault.fixedLength ? std::optional<std::size_t>(fault.minimumLength) : fault.knownLength;
    const std::string should =
        fault.fixedLength ? "; uma linha " + type + " tem " : "; esta linha " + type + " deveria ter ";
    if (expected) {
        if (physicalLength < *expected) {
            return "linha curta: " + characters(physicalLength) + should + std::to_string(*expected);
        }
        if (physicalLength > *expected) {
            return "linha longa: " + characters(physicalLength) + should + std::to_string(*expected);
        }
    } else if (physicalLength < fault.minimumLength) {
        return "linha curta: " + characters(physicalLength) + "; uma linha " + type + " tem pelo menos " +
               std::to_string(fault.minimumLength);
    }
    return fault.message;
}

std::optional<std::size_t> physicalLineLength(std::string_view bytes, bool endOfFile) {
    std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) {
        if (!endOfFile) {
            return std::nullopt;
        }
        end = bytes.size();
    }
    return end > 0 && bytes[end - 1] == '\r' ? end - 1 : end;
}

} // namespace kalvian
