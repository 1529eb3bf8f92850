#include "qstring_print.h"
#include "support/case_names.h"
#include "widget_probe.h"
#include "widgets/date_edit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace kalvian {
namespace {

const QColor kBackground(255, 255, 255);
const QColor kTextColour(0, 0, 0);
const QColor kGreyText(128, 128, 128);
const QColor kFrameColour(0, 0, 160);

double serialOf(int year, int month, int day) {
    return toSerial({year, month, day});
}

// The main window's period: a plain edit first in the tab order, then the two date fields as the window
// sets them up (centred, flat, 100 x 20 with an 11-pixel font).
class DateEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&m_window);
        layout->addWidget(&m_other);
        for (TDateEdit* field : {&m_ini, &m_fin}) {
            field->setSeparatorSource([this] { return m_separator; });
            field->setTodaySource([this] { return m_today; });
            field->setBeep([this] { ++m_beeps; });
            field->setAlignment(TextAlignment::taCenter);
            field->setFixedSize(100, 20);
            QFont font = field->font();
            font.setPixelSize(11);
            field->setFont(font);
            QPalette palette = field->palette();
            palette.setColor(QPalette::Base, kBackground);
            palette.setColor(QPalette::Text, kTextColour);
            palette.setColor(QPalette::Disabled, QPalette::Text, kGreyText);
            palette.setColor(QPalette::WindowText, kFrameColour);
            field->setPalette(palette);
            layout->addWidget(field);
        }
        m_other.setFocus();
        test::showActive(m_window);
    }

    void enter(TDateEdit& field) {
        field.setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(field.hasFocus());
    }

    void type(TDateEdit& field, const char* keys) { QTest::keyClicks(&field, QString::fromLatin1(keys)); }

    void leaveByTab(TDateEdit& field) { QTest::keyClick(&field, Qt::Key_Tab); }

    bool selectedWhole(const TDateEdit& field) const {
        return field.selectionStart() == 0 && field.selectionLength() == field.displayText().size() &&
               !field.displayText().isEmpty();
    }

    // Pixels inside the one-pixel frame that are not background.
    QRect ink(TDateEdit& field) const {
        const QImage image = field.grab().toImage();
        return test::inkBounds(image, QRect(1, 1, field.width() - 2, field.height() - 2), kBackground);
    }

    char m_separator = '/';
    CalendarDate m_today{2008, 7, 15};
    int m_beeps = 0;
    QWidget m_window;
    QLineEdit m_other{&m_window};
    TDateEdit m_ini{&m_window};
    TDateEdit m_fin{&m_window};
};

TEST_F(DateEditTest, NewFieldIsBlankWithoutMask) {
    EXPECT_EQ(m_ini.DateValue(), -693594.0);
    EXPECT_EQ(m_ini.DateText(), QStringLiteral("00/00/0000"));
    EXPECT_EQ(m_ini.Text(), QString());
    EXPECT_FALSE(m_ini.hasEditMask());
    EXPECT_FALSE(m_ini.editing());
    EXPECT_TRUE(m_ini.AssumeDefault());
    EXPECT_EQ(m_ini.BaseChar(), u'_');
    EXPECT_TRUE(m_ini.Century());
    EXPECT_TRUE(ink(m_ini).isEmpty());
}

TEST_F(DateEditTest, EnteringNewFieldShowsMaskWhollySelected) {
    const struct {
        const char* how;
        std::function<void()> enter;
    } ways[] = {{"tab", [this] { QTest::keyClick(&m_other, Qt::Key_Tab); }},
                {"click", [this] { QTest::mouseClick(&m_ini, Qt::LeftButton, {}, QPoint(70, 10)); }}};
    for (const auto& way : ways) {
        m_other.setFocus();
        m_ini.UpdateDisplay();
        way.enter();
        EXPECT_TRUE(m_ini.hasFocus()) << way.how;
        EXPECT_EQ(m_ini.displayText(), QStringLiteral("__/__/____")) << way.how;
        EXPECT_EQ(m_ini.editMask(), QStringLiteral("!99/99/9999;1;_")) << way.how;
        EXPECT_TRUE(selectedWhole(m_ini)) << way.how;
        EXPECT_TRUE(m_ini.editing()) << way.how;
    }
}

TEST_F(DateEditTest, ClickInFocusedFieldOnlyMovesCaret) {
    enter(m_ini);
    QTest::mouseClick(&m_ini, Qt::LeftButton, {}, QPoint(90, 10));
    EXPECT_FALSE(m_ini.hasSelectedText());
}

TEST_F(DateEditTest, LeavingWithoutTypingKeepsBlank) {
    QSignalSpy exited(&m_ini, &TCustomMaskEdit::exited);
    enter(m_ini);
    leaveByTab(m_ini);
    EXPECT_TRUE(m_fin.hasFocus());
    EXPECT_EQ(m_ini.Text(), QStringLiteral("  /  /    "));
    EXPECT_EQ(m_ini.Text().trimmed(), QStringLiteral("/  /"));
    EXPECT_EQ(m_ini.DateValue(), kBlankDate);
    EXPECT_FALSE(m_ini.editing());
    EXPECT_EQ(exited.count(), 1);
    EXPECT_TRUE(ink(m_ini).isEmpty());
}

struct TypingCase {
    const char* name;
    char separator;
    bool century;
    const char* keys;
    const char* shown;
    const char* textAfterLeaving;
    double value;
    int beeps;

    friend void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }
};

class DateEditTypingTest : public DateEditTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(DateEditTypingTest, TypeAndLeave) {
    const TypingCase& c = GetParam();
    m_separator = c.separator;
    m_ini.setCentury(c.century);
    QSignalSpy exited(&m_ini, &TCustomMaskEdit::exited);
    enter(m_ini);
    type(m_ini, c.keys);
    EXPECT_EQ(m_ini.displayText(), QString::fromLatin1(c.shown));
    EXPECT_EQ(m_ini.DateValue(), kBlankDate); // only leaving takes what was typed
    leaveByTab(m_ini);
    EXPECT_TRUE(m_fin.hasFocus());
    EXPECT_EQ(exited.count(), 1);
    EXPECT_EQ(m_ini.Text(), QString::fromLatin1(c.textAfterLeaving));
    EXPECT_EQ(m_ini.DateValue(), c.value);
    EXPECT_EQ(m_beeps, c.beeps);
    EXPECT_EQ(ink(m_ini).isEmpty(), c.value == kBlankDate);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, DateEditTypingTest,
    ::testing::Values(
        TypingCase{"eight_digits", '/', true, "01022008", "01/02/2008", "01/02/2008", serialOf(2008, 2, 1),
                   0},
        TypingCase{"separators_jump", '/', true, "1/2/2008", "1_/2_/2008", "01/02/2008", serialOf(2008, 2, 1),
                   0},
        TypingCase{"day_and_month", '/', true, "1/02", "1_/02/____", "01/02/2008", serialOf(2008, 2, 1), 0},
        TypingCase{"day_only", '/', true, "15", "15/__/____", "15/07/2008", serialOf(2008, 7, 15), 0},
        TypingCase{"one_digit", '/', true, "5", "5_/__/____", "05/07/2008", serialOf(2008, 7, 5), 0},
        TypingCase{"past_month_end", '/', true, "31022008", "31/02/2008", "29/02/2008", serialOf(2008, 2, 29),
                   0},
        TypingCase{"month_13", '/', true, "15132008", "15/13/2008", "15/12/2008", serialOf(2008, 12, 15), 0},
        TypingCase{"short_year", '/', true, "1/2/95", "1_/2_/95__", "01/02/2095", serialOf(2095, 2, 1), 0},
        TypingCase{"one_digit_year", '/', true, "1/2/8", "1_/2_/8___", "01/02/2008", serialOf(2008, 2, 1), 0},
        TypingCase{"all_zeros", '/', true, "00000000", "00/00/0000", "00/00/0000", kBlankDate, 0},
        TypingCase{"one_zero", '/', true, "0", "0_/__/____", "0 /  /    ", kBlankDate, 0},
        TypingCase{"dot_beeps", '/', true, ".", "__/__/____", "  /  /    ", kBlankDate, 1},
        TypingCase{"letters_beep", '/', true, "1a2b", "12/__/____", "12/07/2008", serialOf(2008, 7, 12), 2},
        TypingCase{"separator_in_year", '/', true, "1/2/20/08", "1_/2_/2008", "01/02/2008",
                   serialOf(2008, 2, 1), 1},
        TypingCase{"ninth_digit", '/', true, "010220089", "01/02/2008", "01/02/2008", serialOf(2008, 2, 1),
                   1},
        TypingCase{"dash_separator", '-', true, "1-2-2008", "1_-2_-2008", "01-02-2008", serialOf(2008, 2, 1),
                   0},
        TypingCase{"slash_under_dash", '-', true, "1/", "1_-__-____", "01-07-2008", serialOf(2008, 7, 1), 1},
        TypingCase{"dot_separator", '.', true, "31.12.2008", "31.12.2008", "31.12.2008",
                   serialOf(2008, 12, 31), 0},
        TypingCase{"two_digit_year", '/', false, "010208", "01/02/08", "01/02/08", serialOf(2008, 2, 1), 0},
        TypingCase{"two_digit_year_short", '/', false, "1/2/8", "1_/2_/8_", "01/02/08", serialOf(2008, 2, 1),
                   0},
        TypingCase{"two_digit_year_dots", '.', false, "29.2.0", "29.2_.0_", "29.02.00", serialOf(2000, 2, 29),
                   0}),
    kalvian::test::ByCaseName{});

TEST_F(DateEditTest, RefusedDateKeepsFocusUntilCorrected) {
    const struct {
        const char* name;
        bool receiver;
        int reports;
        int beeps;
    } cases[] = {{"with_receiver", true, 1, 0}, {"without_receiver", false, 0, 1}};
    for (const auto& c : cases) {
        TDateEdit field(&m_window);
        field.setTodaySource([this] { return m_today; });
        field.setSeparatorSource([] { return '/'; });
        field.setBeep([this] { ++m_beeps; });
        field.setAssumeDefault(false);
        field.show();
        field.setDateValue(serialOf(2007, 1, 1));
        m_beeps = 0;
        int reported = 0;
        if (c.receiver) {
            QObject::connect(&field, &TDateEdit::dateError, &field, [&](TDateEdit* sender) {
                EXPECT_EQ(sender, &field);
                ++reported;
            });
        }
        QSignalSpy exited(&field, &TCustomMaskEdit::exited);
        QSignalSpy entered(&field, &TCustomMaskEdit::entered);
        field.setFocus(Qt::TabFocusReason);
        QTest::keyClicks(&field, QStringLiteral("31022008"));
        QTest::keyClick(&field, Qt::Key_Tab);

        EXPECT_EQ(reported, c.reports) << c.name;
        EXPECT_EQ(m_beeps, c.beeps) << c.name;
        EXPECT_TRUE(field.hasFocus()) << c.name;
        EXPECT_TRUE(selectedWhole(field)) << c.name;
        EXPECT_EQ(field.Text(), QStringLiteral("31/02/2008")) << c.name;
        EXPECT_EQ(field.DateValue(), serialOf(2007, 1, 1)) << c.name;
        EXPECT_TRUE(field.editing()) << c.name;
        EXPECT_EQ(exited.count(), 0) << c.name;
        EXPECT_EQ(entered.count(), 1) << c.name;

        QTest::keyClicks(&field, QStringLiteral("28022008"));
        QTest::keyClick(&field, Qt::Key_Tab);
        EXPECT_FALSE(field.hasFocus()) << c.name;
        EXPECT_EQ(field.DateValue(), serialOf(2008, 2, 28)) << c.name;
        EXPECT_EQ(exited.count(), 1) << c.name;
        EXPECT_FALSE(field.editing()) << c.name;
    }
}

TEST_F(DateEditTest, CompletedDateLeavesEditingFlagSet) {
    enter(m_ini);
    type(m_ini, "31022008");
    leaveByTab(m_ini);
    EXPECT_EQ(m_ini.Text(), QStringLiteral("29/02/2008"));
    EXPECT_TRUE(m_ini.editing());
    enter(m_ini);
    EXPECT_EQ(m_ini.displayText(), QStringLiteral("29/02/2008"));
}

TEST_F(DateEditTest, ZerosStayUntilEnteredAgain) {
    for (const char* zeros : {"00000000", "0"}) {
        m_ini.UpdateDisplay();
        enter(m_ini);
        type(m_ini, zeros);
        leaveByTab(m_ini);
        EXPECT_EQ(m_ini.DateValue(), kBlankDate) << zeros;
        EXPECT_TRUE(m_ini.Text().contains(u'0')) << zeros;
        EXPECT_TRUE(ink(m_ini).isEmpty()) << zeros;
        enter(m_ini);
        EXPECT_EQ(m_ini.displayText(), QStringLiteral("__/__/____")) << zeros;
    }
}

struct WrittenCase {
    const char* written;
    double value;
    const char* text;
    const char* dateText;

    friend void PrintTo(const WrittenCase& c, std::ostream* os) { *os << '"' << c.written << '"'; }
};

class DateEditWrittenTextTest : public DateEditTest, public ::testing::WithParamInterface<WrittenCase> {};

TEST_P(DateEditWrittenTextTest, WritingDateText) {
    const WrittenCase& c = GetParam();
    m_ini.setDateText(QString::fromLatin1(c.written));
    EXPECT_EQ(m_ini.DateValue(), c.value);
    EXPECT_EQ(m_ini.Text(), QString::fromLatin1(c.text));
    EXPECT_EQ(m_ini.DateText(), QString::fromLatin1(c.dateText));
    EXPECT_EQ(m_ini.hasEditMask(), c.value != kBlankDate);
    EXPECT_EQ(m_beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Written, DateEditWrittenTextTest,
    ::testing::Values(WrittenCase{"1/2/3", serialOf(2003, 2, 1), "01/02/2003", "01/02/2003"},
                      WrittenCase{"01/02/2008", serialOf(2008, 2, 1), "01/02/2008", "01/02/2008"},
                      WrittenCase{"1/2/95", serialOf(2095, 2, 1), "01/02/2095", "01/02/2095"},
                      WrittenCase{"31/02/2008", kBlankDate, "", "00/00/0000"},
                      WrittenCase{"15", kBlankDate, "", "00/00/0000"},
                      WrittenCase{"", kBlankDate, "", "00/00/0000"},
                      WrittenCase{"00/00/0000", kBlankDate, "", "00/00/0000"}),
    kalvian::test::ByPrintedCase{});

TEST_F(DateEditTest, WrittenDateValueIsStoredAsGiven) {
    const struct {
        double value;
        const char* shown;
    } cases[] = {{serialOf(2008, 2, 1) + 0.75, "01/02/2008"},
                 {1e7, "00/00/0000"},
                 {0.0, "30/12/1899"},
                 {kBlankDate, ""}};
    for (const auto& c : cases) {
        m_ini.setDateValue(c.value);
        EXPECT_EQ(m_ini.DateValue(), c.value);
        EXPECT_EQ(m_ini.displayText(), QString::fromLatin1(c.shown)) << c.value;
    }
}

TEST_F(DateEditTest, WritingWhileFocusedSelectsAll) {
    enter(m_ini);
    m_ini.setDateValue(serialOf(2008, 2, 1));
    EXPECT_TRUE(selectedWhole(m_ini));
    m_ini.setAlignment(TextAlignment::taRightJustify);
    EXPECT_TRUE(m_ini.alignment() & Qt::AlignRight);
    EXPECT_TRUE(selectedWhole(m_ini));
}

TEST_F(DateEditTest, ChangedFiresOnlyWhenShownTextChanges) {
    QSignalSpy changed(&m_ini, &TCustomMaskEdit::changed);
    const struct {
        const char* step;
        std::function<void()> run;
        int changes;
    } steps[] = {
        {"blank written on new field", [this] { m_ini.setDateText(QString()); }, 0},
        {"date written: mask, then text", [this] { m_ini.setDateValue(serialOf(2008, 2, 1)); }, 2},
        {"same date written", [this] { m_ini.setDateText(QStringLiteral("01/02/2008")); }, 0},
        {"entering clears, then lays the date", [this] { enter(m_ini); }, 2},
        {"typed digit over selection", [this] { type(m_ini, "3"); }, 1},
        {"refused letter", [this] { type(m_ini, "x"); }, 0},
        {"digits", [this] { type(m_ini, "/4/2009"); }, 5},
        {"leaving rewrites to the full form", [this] { leaveByTab(m_ini); }, 1},
        {"entering a left date: cleared, then laid", [this] { enter(m_ini); }, 2},
        {"leaving a full date", [this] { leaveByTab(m_ini); }, 0},
        {"century off: cleared, new mask, date laid", [this] { m_ini.setCentury(false); }, 3},
        {"century off again", [this] { m_ini.setCentury(false); }, 0},
        {"blank written removes the mask", [this] { m_ini.setDateValue(kBlankDate); }, 1},
        {"base char code 0", [this] { m_ini.setBaseChar(QChar(0)); }, 0},
    };
    for (const auto& step : steps) {
        changed.clear();
        step.run();
        EXPECT_EQ(changed.count(), step.changes) << step.step << ": " << m_ini.displayText().toStdString();
    }
}

TEST_F(DateEditTest, CenturyOffUsesTwoDigitYears) {
    m_ini.setCentury(false);
    EXPECT_EQ(m_ini.DateMask(), QStringLiteral("!99/99/99;1;_"));
    m_ini.setDateValue(serialOf(2008, 2, 1));
    EXPECT_EQ(m_ini.DateText(), QStringLiteral("01/02/08"));
    EXPECT_EQ(m_ini.displayText(), QStringLiteral("01/02/08"));
    m_ini.setCentury(true);
    EXPECT_EQ(m_ini.displayText(), QStringLiteral("01/02/2008"));
    EXPECT_EQ(m_ini.DateValue(), serialOf(2008, 2, 1));
}

TEST_F(DateEditTest, BaseCharRebuildsMask) {
    m_ini.setBaseChar(QChar(0));
    EXPECT_EQ(m_ini.BaseChar(), u'_');
    m_ini.setBaseChar(u'*');
    EXPECT_EQ(m_ini.DateMask(), QStringLiteral("!99/99/9999;1;*"));
    enter(m_ini);
    EXPECT_EQ(m_ini.displayText(), QStringLiteral("**/**/****"));
    type(m_ini, "1");
    EXPECT_EQ(m_ini.Text(), QStringLiteral("1 /  /    "));
}

struct BaseCharCase {
    const char* name;
    char16_t baseChar;
    const char* keys;
    const char* shown;
    const char* typedText;
    const char* textAfterLeaving;
    double value;

    friend void PrintTo(const BaseCharCase& c, std::ostream* os) { *os << c.name; }
};

class DateEditBaseCharTest : public DateEditTest, public ::testing::WithParamInterface<BaseCharCase> {};

// Filled places read back as typed, whatever BaseChar shows in the unfilled ones.
TEST_P(DateEditBaseCharTest, TypedDigitsAreKept) {
    const BaseCharCase& c = GetParam();
    m_ini.setBaseChar(QChar(c.baseChar));
    enter(m_ini);
    type(m_ini, c.keys);
    EXPECT_EQ(m_ini.displayText(), QString::fromLatin1(c.shown));
    EXPECT_EQ(m_ini.Text(), QString::fromLatin1(c.typedText));
    leaveByTab(m_ini);
    EXPECT_EQ(m_ini.Text(), QString::fromLatin1(c.textAfterLeaving));
    EXPECT_EQ(m_ini.DateValue(), c.value);
    EXPECT_EQ(m_beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(BaseChars, DateEditBaseCharTest,
                         ::testing::Values(BaseCharCase{"zero_eight_digits", u'0', "01022008", "01/02/2008",
                                                        "01/02/2008", "01/02/2008", serialOf(2008, 2, 1)},
                                           BaseCharCase{"zero_short_parts", u'0', "1/2/8", "10/20/8000",
                                                        "1 /2 /8   ", "01/02/2008", serialOf(2008, 2, 1)},
                                           BaseCharCase{"zero_one_digit", u'0', "5", "50/00/0000",
                                                        "5 /  /    ", "05/07/2008", serialOf(2008, 7, 5)},
                                           BaseCharCase{"zero_only_zeros", u'0', "00000000", "00/00/0000",
                                                        "00/00/0000", "00/00/0000", kBlankDate},
                                           BaseCharCase{"nine_short_parts", u'9', "9/9/9", "99/99/9999",
                                                        "9 /9 /9   ", "09/09/2009", serialOf(2009, 9, 9)},
                                           BaseCharCase{"nine_eight_digits", u'9', "19091999", "19/09/1999",
                                                        "19/09/1999", "19/09/1999", serialOf(1999, 9, 19)},
                                           BaseCharCase{"star_short_parts", u'*', "1/2/8", "1*/2*/8***",
                                                        "1 /2 /8   ", "01/02/2008", serialOf(2008, 2, 1)}),
                         kalvian::test::ByCaseName{});

TEST_F(DateEditTest, SeparatorIsReadAgainEachTime) {
    const struct {
        char separator;
        const char* mask;
        const char* dateText;
    } cases[] = {{'/', "!99/99/9999;1;_", "01/02/2008"},
                 {'-', "!99-99-9999;1;_", "01-02-2008"},
                 {'.', "!99.99.9999;1;_", "01.02.2008"}};
    m_ini.setDateValue(serialOf(2008, 2, 1));
    for (const auto& c : cases) {
        m_separator = c.separator;
        EXPECT_EQ(m_ini.DateMask(), QString::fromLatin1(c.mask));
        EXPECT_EQ(m_ini.DateText(), QString::fromLatin1(c.dateText));
        m_ini.UpdateDisplay();
        EXPECT_EQ(m_ini.displayText(), QString::fromLatin1(c.dateText));
    }
}

TEST_F(DateEditTest, DotWithoutMaskTypesSeparator) {
    for (char separator : {'/', '-'}) {
        m_separator = separator;
        enter(m_ini);
        m_ini.setDateText(QString()); // focused and blank: a plain edit
        ASSERT_FALSE(m_ini.hasEditMask());
        type(m_ini, "1.2.2008");
        const QChar sep = QChar::fromLatin1(separator);
        EXPECT_EQ(m_ini.Text(), QStringLiteral("1/2/2008").replace(u'/', sep));
        leaveByTab(m_ini);
        EXPECT_EQ(m_ini.Text(), QStringLiteral("01/02/2008").replace(u'/', sep));
        EXPECT_EQ(m_ini.DateValue(), serialOf(2008, 2, 1));
    }
}

TEST_F(DateEditTest, ClipboardCopiesBetweenFields) {
    m_ini.setDateText(QStringLiteral("01/02/2008"));
    enter(m_ini);
    QTest::keyClick(&m_ini, Qt::Key_C, Qt::ControlModifier);
    enter(m_fin);
    QTest::keyClick(&m_fin, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_fin.displayText(), QStringLiteral("01/02/2008"));
    leaveByTab(m_fin);
    EXPECT_EQ(m_fin.DateValue(), serialOf(2008, 2, 1));
    EXPECT_EQ(m_beeps, 0);
}

// What the field paints itself while unfocused: the text top and the left edge follow the placement rules
// for a 100 x 20 flat field with an 11-pixel font (text top 1).
TEST_F(DateEditTest, UnfocusedPaintingPlacesTextByAlignment) {
    m_ini.setDateText(QStringLiteral("01/02/2008"));
    const int textWidth = QFontMetrics(m_ini.font()).horizontalAdvance(QStringLiteral("01/02/2008"));
    const struct {
        TextAlignment alignment;
        int expectedLeft;
    } cases[] = {{TextAlignment::taLeftJustify, 0},
                 {TextAlignment::taRightJustify, 99 - textWidth - 1},
                 {TextAlignment::taCenter, (1 + 99 - textWidth) / 2}};
    for (const auto& c : cases) {
        m_ini.setAlignment(c.alignment);
        const QRect bounds = ink(m_ini);
        ASSERT_FALSE(bounds.isEmpty());
        // Glyphs start a pixel or two inside their advance box.
        EXPECT_GE(bounds.left(), std::max(c.expectedLeft, 1)) << static_cast<int>(c.alignment);
        EXPECT_LE(bounds.left(), c.expectedLeft + 3) << static_cast<int>(c.alignment);
        EXPECT_LE(bounds.right(), c.expectedLeft + textWidth) << static_cast<int>(c.alignment);
        EXPECT_GE(bounds.top(), 1);
    }
}

TEST_F(DateEditTest, UnfocusedPaintingColoursAndFrame) {
    m_ini.setDateText(QStringLiteral("01/02/2008"));
    const QImage enabled = m_ini.grab().toImage();
    const QRect inside(1, 1, 98, 18);
    EXPECT_LT(test::darkestPixel(enabled, inside).lightness(), 60);
    for (const QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 19), QPoint(99, 19), QPoint(50, 0)}) {
        EXPECT_EQ(enabled.pixelColor(corner), kFrameColour) << corner.x() << "," << corner.y();
    }
    const QRect bounds = test::inkBounds(enabled, inside, kBackground);
    EXPECT_LE(std::abs(bounds.left() - 1 - (98 - bounds.right())), 3); // centred

    m_ini.setEnabled(false);
    const QImage disabled = m_ini.grab().toImage();
    EXPECT_FALSE(test::inkBounds(disabled, inside, kBackground).isEmpty());
    EXPECT_GE(test::darkestPixel(disabled, inside).lightness(), kGreyText.lightness() - 5);
    EXPECT_EQ(disabled.pixelColor(0, 0), kFrameColour);
}

TEST_F(DateEditTest, FocusedFieldIsPaintedByTheEdit) {
    enter(m_ini);
    EXPECT_FALSE(ink(m_ini).isEmpty()); // the blanks of the mask and the selection
    leaveByTab(m_ini);
    EXPECT_TRUE(ink(m_ini).isEmpty()); // same text, but a blank date paints nothing
}

TEST_F(DateEditTest, FieldWithStyleFramePaintsTextInside) {
    m_ini.setFlat(false);
    m_ini.setDateText(QStringLiteral("01/02/2008"));
    const QImage image = m_ini.grab().toImage();
    EXPECT_NE(image.pixelColor(0, 0), kFrameColour);
    EXPECT_LT(test::darkestPixel(image, QRect(20, 3, 60, 14)).lightness(), 60);
}

} // namespace
} // namespace kalvian
