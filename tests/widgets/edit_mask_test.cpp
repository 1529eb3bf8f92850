#include "qstring_print.h"
#include "support/case_names.h"
#include "widgets/edit_mask.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

struct MaskCase {
    const char* mask;
    int size;
    QChar blank;
    const char* written;
    const char* shown;
    const char* text;

    friend void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.mask << " showing " << c.shown; }
};

class EditMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(EditMaskTest, LaysShowsAndReadsBack) {
    const MaskCase& c = GetParam();
    const EditMask mask{QString::fromLatin1(c.mask)};
    EXPECT_EQ(mask.size(), c.size);
    EXPECT_EQ(mask.blank(), c.blank);
    const QString content = mask.lay(QString::fromLatin1(c.written));
    EXPECT_EQ(content.size(), c.size);
    EXPECT_EQ(mask.shown(content), QString::fromLatin1(c.shown));
    EXPECT_EQ(mask.textOf(content), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Masks, EditMaskTest,
    ::testing::Values(MaskCase{"!99/99/9999;1;_", 10, u'_', "", "__/__/____", "  /  /    "},
                      MaskCase{"!99/99/9999;1;_", 10, u'_', "1/2/2008", "1_/2_/2008", "1 /2 /2008"},
                      MaskCase{"!99/99/9999;1;_", 10, u'_', " 1/ 2/2008", "_1/_2/2008", " 1/ 2/2008"},
                      MaskCase{"!99/99/9999;1;_", 10, u'_', "01022008", "01/02/2008", "01/02/2008"},
                      MaskCase{"!99/99/9999;1;_", 10, u'_', "31/12", "31/12/____", "31/12/    "},
                      MaskCase{"!99/99/9999;1;_", 10, u'_', "__/__/____", "__/__/____", "  /  /    "},
                      MaskCase{"!99/99/9999;1;_", 10, u'_', "01/02/20089", "01/02/2008", "01/02/2008"},
                      // A digit as the blank character: what is filled still reads back as typed.
                      MaskCase{"!99/99/9999;1;0", 10, u'0', "1/2/8", "10/20/8000", "1 /2 /8   "},
                      MaskCase{"!99/99/9999;1;0", 10, u'0', "01/02/2008", "01/02/2008", "01/02/2008"},
                      MaskCase{"!99/99/99;1;_", 8, u'_', "01/02/08", "01/02/08", "01/02/08"},
                      MaskCase{"!99-99-9999;1;*", 10, u'*', " 1-  -2008", "*1-**-2008", " 1-  -2008"},
                      MaskCase{"!99.99.99;1;_", 8, u'_', "31.12", "31.12.__", "31.12.  "},
                      MaskCase{"99-99;0;_", 5, u'_', "123", "12-3_", "123 "},
                      MaskCase{"99:99", 5, u'_', "1:45", "1_:45", "1 :45"},
                      MaskCase{"99 99;1; ", 5, u' ', "12  4", "12  4", "12  4"}),
    kalvian::test::ByPrintedCase{});

TEST(EditMask, EmptyMaskHasNoPositions) {
    const EditMask mask;
    EXPECT_TRUE(mask.isEmpty());
    EXPECT_TRUE(EditMask(QString()).isEmpty());
    EXPECT_EQ(mask.lay(QStringLiteral(" 1/ 2")), QString());
    EXPECT_EQ(mask.nextDigitPosition(0), -1);
    EXPECT_EQ(mask.previousDigitPosition(5), -1);
}

TEST(EditMask, FindsDigitPositionsAndLiterals) {
    const EditMask mask(QStringLiteral("!99/99/9999;1;_"));
    const struct {
        int from;
        QChar literal;
        int digit;
        int previousDigit;
        int found;
    } cases[] = {{0, u'/', 0, -1, 2},  {2, u'/', 3, 1, 2},   {3, u'/', 3, 1, 5},    {5, u'/', 6, 4, 5},
                 {6, u'/', 6, 4, -1},  {9, u'/', 9, 8, -1},  {10, u'/', -1, 9, -1}, {0, u'.', 0, -1, -1},
                 {0, u'9', 0, -1, -1}, {11, u'/', -1, 9, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(mask.nextDigitPosition(c.from), c.digit) << c.from;
        EXPECT_EQ(mask.previousDigitPosition(c.from), c.previousDigit) << c.from;
        EXPECT_EQ(mask.nextLiteral(c.from, c.literal), c.found) << c.from << " " << c.literal.toLatin1();
    }
}

TEST(EditMask, ClearingUnfillsDigitPositionsOnly) {
    const EditMask mask(QStringLiteral("!99/99/9999;1;0"));
    const QString content = mask.lay(QStringLiteral("01/02/2008"));
    EXPECT_EQ(mask.cleared(content, 1, 4), QStringLiteral("0 / 2/2008"));
    EXPECT_EQ(mask.cleared(content, 0, 10), QStringLiteral("  /  /    "));
    EXPECT_EQ(mask.cleared(content, 4, 4), content);
    EXPECT_EQ(mask.shown(mask.cleared(content, 1, 4)), QStringLiteral("00/02/2008"));
}

} // namespace
} // namespace kalvian
