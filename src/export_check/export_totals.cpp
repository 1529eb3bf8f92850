#include "export_totals.h"

#include "common/ascii_digits.h"
#include "export_format/client_block_layout.h"

#include <algorithm>
#include <string_view>

namespace kalvian {

namespace {

constexpr std::size_t kNameOffset = kClientNameOffset;
constexpr std::size_t kNameWidth = kClientNameWidth;
constexpr int kLargestCodeDigits = 10; // CODCLI is a 32-bit integer

// The client block of an invoice whose client was not found, with a blank name.
std::string_view missingBlockOutsideName() {
    static const std::string block = [] {
        std::string text;
        appendMissingClientBlock(text, {});
        return text;
    }();
    return block;
}

enum class Missing { No, WithCode, WithoutCode };

// Whether the block is the placeholder of a missing client, and its code.
Missing missingClient(std::string_view block, std::string_view placeholder, std::int64_t& code) {
    const std::string_view expected = missingBlockOutsideName();
    if (block.size() != expected.size() || block.substr(0, kNameOffset) != expected.substr(0, kNameOffset) ||
        block.substr(kNameOffset + kNameWidth) != expected.substr(kNameOffset + kNameWidth)) {
        return Missing::No;
    }
    std::string_view name = block.substr(kNameOffset, kNameWidth);
    name = name.substr(0, name.find_last_not_of(' ') + 1);
    if (name.empty()) {
        return Missing::WithoutCode;
    }
    // "<placeholder> (<code>)"
    if (name.substr(0, placeholder.size()) != placeholder || name.substr(placeholder.size(), 2) != " (" ||
        name.back() != ')') {
        return Missing::No;
    }
    const std::size_t codeStart = placeholder.size() + 2;
    const std::string_view digits = name.substr(codeStart, name.size() - codeStart - 1);
    const bool plain = !digits.empty() && digits.size() <= kLargestCodeDigits && digits.front() != '0' &&
                       allAsciiDigits(digits);
    if (!plain) {
        return Missing::No;
    }
    code = 0;
    for (const char ch : digits) {
        code = code * 10 + (ch - '0');
    }
    return Missing::WithCode;
}

} // namespace

void ExportTotals::add(const ExportRecord& record) {
    const char* placeholder = nullptr;
    switch (record.type) {
    case 'C':
        ++issued;
        ++issuedShort;
        return;
    case 'E':
        ++issued;
        issuedValue.add(record.valnf);
        issuedServices.add(record.valser);
        placeholder = kMissingTaker;
        break;
    case 'R':
        ++received;
        receivedValue.add(record.valnf);
        receivedServices.add(record.valser);
        withheldTax.add(record.impret);
        placeholder = kMissingProvider;
        break;
    default:
        return;
    }
    std::int64_t code = 0;
    switch (missingClient(record.client, placeholder, code)) {
    case Missing::No:
        return;
    case Missing::WithCode:
        addMissingCode(code);
        break;
    case Missing::WithoutCode:
        ++withoutClientCode;
        break;
    }
    ++withoutClient;
}

void ExportTotals::addMissingCode(std::int64_t code) {
    if (std::find(missingClientCodes.begin(), missingClientCodes.end(), code) != missingClientCodes.end()) {
        return;
    }
    if (missingClientCodes.size() < kShownCodes) {
        missingClientCodes.push_back(code);
    } else {
        moreMissingCodes = true;
    }
}

void ExportTotals::add(const ExportTotals& other) {
    issued += other.issued;
    issuedShort += other.issuedShort;
    received += other.received;
    withoutClient += other.withoutClient;
    withoutClientCode += other.withoutClientCode;
    for (const std::int64_t code : other.missingClientCodes) {
        addMissingCode(code);
    }
    moreMissingCodes = moreMissingCodes || other.moreMissingCodes;
    issuedValue.add(other.issuedValue);
    issuedServices.add(other.issuedServices);
    receivedValue.add(other.receivedValue);
    receivedServices.add(other.receivedServices);
    withheldTax.add(other.withheldTax);
    ambiguousReadings += other.ambiguousReadings;
}

} // namespace kalvian
