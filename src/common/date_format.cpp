#include "date_format.h"

#include "common/date_serial.h"

namespace kalvian {

void appendDate(std::string& out, double serial, char separator) {
    const CalendarDate date = fromSerial(serial).value_or(CalendarDate{});
    const auto digit = [](int value) { return static_cast<char>('0' + value % 10); };
    const char text[] = {digit(date.day / 10),    digit(date.day),        separator,
                         digit(date.month / 10),  digit(date.month),      separator,
                         digit(date.year / 1000), digit(date.year / 100), digit(date.year / 10),
                         digit(date.year)};
    out.append(text, sizeof text);
}

std::string formatDate(double serial, char separator) {
    std::string text;
    appendDate(text, serial, separator);
    return text;
}

} // namespace kalvian
