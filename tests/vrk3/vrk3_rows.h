#pragma once

#include "common/date_serial.h"
#include "vrk3_tables.h"

#include <cstdint>
#include <string>

namespace kalvian::test {

// A day of 2008 (March unless said).
inline double day(int d, int m = 3) {
    return toSerial({2008, m, d});
}

inline paradox::IssuedRow issued(double insmun, paradox::WriterValue date, std::int32_t number,
                                 std::int32_t client = 1) {
    paradox::IssuedRow row;
    row.insmun = insmun;
    row.data = std::move(date);
    row.numnf = number;
    row.codcli = client;
    return row;
}

inline paradox::ReceivedRow received(double insmun, double date, std::int32_t number,
                                     std::int32_t client = 1) {
    paradox::ReceivedRow row;
    row.insmun = insmun;
    row.data = date;
    row.numnf = number;
    row.codcli = client;
    return row;
}

inline paradox::ClientRow client(std::int32_t code, const std::string& name) {
    paradox::ClientRow row;
    row.codcli = code;
    row.nome = name;
    row.insmun = 12345678901.0;
    return row;
}

} // namespace kalvian::test
