#include "qstring_print.h"
#include "support/case_names.h"
#include "widgets/edit_mask.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

struct MaskCase {
    const char* mask;
    int size;
    const char* qtMask;
    QChar blank;
    const char* shown;
    const char* text;

    friend void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.mask << " showing " << c.shown; }
};

class EditMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(EditMaskTest, ParsesAndReadsBack) {
    const MaskCase& c = GetParam();
    const EditMask mask{QString::fromLatin1(c.mask)};
    EXPECT_EQ(mask.size(), c.size);
    EXPECT_EQ(mask.qtMask(), QString::fromLatin1(c.qtMask));
    EXPECT_EQ(mask.blank(), c.blank);
    EXPECT_EQ(mask.textOf(QString::fromLatin1(c.shown)), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Masks, EditMaskTest,
    ::testing::Values(MaskCase{"!99/99/9999;1;_", 10, "00\\/00\\/0000;_", u'_', "__/__/____", "  /  /    "},
                      MaskCase{"!99/99/9999;1;_", 10, "00\\/00\\/0000;_", u'_', "1_/2_/2008", "1 /2 /2008"},
                      MaskCase{"!99/99/99;1;_", 8, "00\\/00\\/00;_", u'_', "01/02/08", "01/02/08"},
                      MaskCase{"!99-99-9999;1;*", 10, "00\\-00\\-0000;*", u'*', "*1-**-2008", " 1-  -2008"},
                      MaskCase{"!99.99.99;1;_", 8, "00\\.00\\.00;_", u'_', "31.12.__", "31.12.  "},
                      MaskCase{"99-99;0;_", 5, "00\\-00;_", u'_', "12-3_", "123 "},
                      MaskCase{"99:99", 5, "00\\:00;_", u'_', "1_:45", "1 :45"},
                      MaskCase{"99 99;1; ", 5, "00\\ 00; ", u' ', "12  4", "12  4"}),
    kalvian::test::ByPrintedCase{});

TEST(EditMask, EmptyMaskHasNoPositions) {
    const EditMask mask;
    EXPECT_TRUE(mask.isEmpty());
    EXPECT_TRUE(EditMask(QString()).isEmpty());
    EXPECT_EQ(mask.toShown(QStringLiteral(" 1/ 2")), QStringLiteral(" 1/ 2"));
    EXPECT_EQ(mask.nextDigitPosition(0), -1);
}

TEST(EditMask, FindsDigitPositionsAndLiterals) {
    const EditMask mask(QStringLiteral("!99/99/9999;1;_"));
    const struct {
        int from;
        QChar literal;
        int digit;
        int found;
    } cases[] = {{0, u'/', 0, 2},  {2, u'/', 3, 2},    {3, u'/', 3, 5},  {5, u'/', 6, 5}, {6, u'/', 6, -1},
                 {9, u'/', 9, -1}, {10, u'/', -1, -1}, {0, u'.', 0, -1}, {0, u'9', 0, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(mask.nextDigitPosition(c.from), c.digit) << c.from;
        EXPECT_EQ(mask.nextLiteral(c.from, c.literal), c.found) << c.from << " " << c.literal.toLatin1();
    }
}

} // namespace
} // namespace kalvian
