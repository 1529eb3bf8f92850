#include "date_argument.h"

#include "common/ascii_digits.h"
#include "dates/date_text.h"

namespace kalvian {

namespace {

bool digits(std::string_view part, std::size_t fewest, std::size_t most) {
    return part.size() >= fewest && part.size() <= most && allAsciiDigits(part);
}

// The date field reads far more than this (it drops what is not a digit and cuts long parts), which suits
// typing but would let a mistyped argument through as some other date.
bool isDayMonthYear(std::string_view text) {
    const auto first = text.find('/');
    const auto second = first == std::string_view::npos ? first : text.find('/', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    const std::string_view year = text.substr(second + 1);
    return digits(text.substr(0, first), 1, 2) && digits(text.substr(first + 1, second - first - 1), 1, 2) &&
           (digits(year, 2, 2) || digits(year, 4, 4));
}

} // namespace

DateArgument readDateArgument(std::string_view text, std::string_view option, CalendarDate today) {
    const std::string named = std::string(option) + ": " + std::string(text);
    if (text.empty()) {
        return {kBlankDate, "Informe a data de " + std::string(option) + " (DD/MM/AAAA)"};
    }
    if (!isDayMonthYear(text)) {
        return {kBlankDate, "Data inválida em " + named +
                                " (use DD/MM/AAAA; dia e mês com 1 ou 2 dígitos, ano com 2 ou 4)"};
    }
    const std::string normalized = NormalizeText(text, DateContext{'/', today, true});
    if (!IsValidText(normalized)) {
        return {kBlankDate, "Data inválida em " + named + " (não existe no calendário)"};
    }
    return {TextToDate(normalized), {}};
}

} // namespace kalvian
