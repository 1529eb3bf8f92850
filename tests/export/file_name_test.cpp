#include "common/date_serial.h"
#include "export/file_name.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

TEST(NomeArquivoPadrao, BuildsFromRegistrationAndPeriod) {
    const double start = toSerial({2008, 1, 1});
    const double end = toSerial({2008, 1, 31});
    EXPECT_EQ(NomeArquivoPadrao("123", start, end), "VRK3_123__01_01_2008__31_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao(" 123 ", start, end), "VRK3_123__01_01_2008__31_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao("00000000123", start, start), "VRK3_00000000123__01_01_2008__01_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao("", start, end), "VRK3___01_01_2008__31_01_2008.txt");
    EXPECT_EQ(NomeArquivoPadrao("1", kBlankDate, toSerial({2008, 12, 15})),
              "VRK3_1__00_00_0000__15_12_2008.txt");
}

} // namespace
} // namespace kalvian
