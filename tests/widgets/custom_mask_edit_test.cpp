#include "qstring_print.h"
#include "support/case_names.h"
#include "widget_probe.h"
#include "widgets/custom_mask_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace kalvian {
namespace {

const QString kDateMask = QStringLiteral("!99/99/9999;1;_");

// A window with a plain edit first in the tab order, then the masked edit under test.
class CustomMaskEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&m_window);
        layout->addWidget(&m_other);
        layout->addWidget(&m_edit);
        m_edit.setBeep([this] { ++m_beeps; });
        m_other.setFocus();
        test::showActive(m_window);
    }

    void enter() {
        m_edit.setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(m_edit.hasFocus());
    }

    QWidget m_window;
    QLineEdit m_other{&m_window};
    TCustomMaskEdit m_edit{&m_window};
    int m_beeps = 0;
};

TEST_F(CustomMaskEditTest, MaskTakesCurrentTextAndEmptyMaskLeavesItPlain) {
    m_edit.SetText(QStringLiteral("01/02/2008"));
    m_edit.setEditMask(kDateMask);
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("01/02/2008"));
    EXPECT_EQ(m_edit.Text(), QStringLiteral("01/02/2008"));

    m_edit.SetText(QStringLiteral("1 /2 /2008"));
    m_edit.setEditMask(QString());
    EXPECT_FALSE(m_edit.hasEditMask());
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("1 /2 /2008"));
    EXPECT_EQ(m_edit.Text(), m_edit.displayText());
}

TEST_F(CustomMaskEditTest, UnfilledPositionsReadAsSpaces) {
    m_edit.setEditMask(kDateMask);
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("__/__/____"));
    EXPECT_EQ(m_edit.Text(), QStringLiteral("  /  /    "));
    EXPECT_EQ(m_edit.Text().trimmed(), QStringLiteral("/  /"));

    m_edit.setEditMask(QStringLiteral("!99/99/99;1;_"));
    EXPECT_EQ(m_edit.Text(), QStringLiteral("  /  /  "));
}

TEST_F(CustomMaskEditTest, WrittenTextIsLaidIntoPositions) {
    m_edit.setEditMask(kDateMask);
    const struct {
        const char* written;
        const char* shown;
    } cases[] = {{"01/02/2008", "01/02/2008"}, {"", "__/__/____"},           {" 1/ 2/2008", "_1/_2/2008"},
                 {"1/2/2008", "1_/2_/2008"},   {"  /  /    ", "__/__/____"}, {"31/12", "31/12/____"}};
    for (const auto& c : cases) {
        m_edit.SetText(QString::fromLatin1(c.written));
        EXPECT_EQ(m_edit.displayText(), QString::fromLatin1(c.shown)) << c.written;
    }
}

TEST_F(CustomMaskEditTest, LiteralsLeftOutOfTextWhenTheMaskSaysSo) {
    m_edit.setEditMask(QStringLiteral("99-99;0;*"));
    enter();
    QTest::keyClicks(&m_edit, QStringLiteral("123"));
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("12-3*"));
    EXPECT_EQ(m_edit.Text(), QStringLiteral("123 "));
}

struct TypingCase {
    const char* name;
    const char* mask;
    const char* keys;
    const char* shown;
    int beeps;

    friend void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }
};

class CustomMaskEditTypingTest : public CustomMaskEditTest,
                                 public ::testing::WithParamInterface<TypingCase> {};

TEST_P(CustomMaskEditTypingTest, TypedCharactersUnderMask) {
    const TypingCase& c = GetParam();
    m_edit.setEditMask(QString::fromLatin1(c.mask));
    enter();
    QTest::keyClicks(&m_edit, QString::fromLatin1(c.keys));
    EXPECT_EQ(m_edit.displayText(), QString::fromLatin1(c.shown));
    EXPECT_EQ(m_beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CustomMaskEditTypingTest,
    ::testing::Values(TypingCase{"separator_right_away", "!99/99/9999;1;_", "/5", "__/5_/____", 0},
                      TypingCase{"full_parts_and_separators", "!99/99/9999;1;_", "31/12/2008", "31/12/2008",
                                 0},
                      TypingCase{"separator_after_jump", "!99/99/9999;1;_", "1//5", "1_/__/5___", 0},
                      TypingCase{"separator_in_year", "!99/99/9999;1;_", "1/2/20/", "1_/2_/20__", 1},
                      TypingCase{"letters_and_space", "!99/99/9999;1;_", "a1 b", "1_/__/____", 3},
                      TypingCase{"dash_mask", "!99-99-9999;1;*", "3-4/-5-", "3*-4*-5***", 2},
                      TypingCase{"time_mask", "99:99", "9:3", "9_:3_", 0}),
    kalvian::test::ByCaseName{});

TEST_F(CustomMaskEditTest, ADigitAsBlankCharacterKeepsTypedDigits) {
    m_edit.setEditMask(QStringLiteral("!99/99/9999;1;0"));
    enter();
    QTest::keyClicks(&m_edit, QStringLiteral("0102"));
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("01/02/0000"));
    EXPECT_EQ(m_edit.Text(), QStringLiteral("01/02/    "));
    QTest::keyClicks(&m_edit, QStringLiteral("0"));
    EXPECT_EQ(m_edit.Text(), QStringLiteral("01/02/0   "));
    QTest::keyClick(&m_edit, Qt::Key_Backspace);
    EXPECT_EQ(m_edit.Text(), QStringLiteral("01/02/    "));
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("01/02/0000"));
}

struct EditingCase {
    const char* name;
    const char* start; // the text written before entering
    std::function<void(TCustomMaskEdit&)> keys;
    const char* shown;
    const char* text;
    const char* clipboard; // what the clipboard holds afterwards (set to "31122008" before)
    int beeps = 0;

    friend void PrintTo(const EditingCase& c, std::ostream* os) { *os << c.name; }
};

class CustomMaskEditEditingTest : public CustomMaskEditTest,
                                  public ::testing::WithParamInterface<EditingCase> {};

TEST_P(CustomMaskEditEditingTest, DeletionCutAndPasteGoThroughTheMask) {
    const EditingCase& c = GetParam();
    m_edit.setEditMask(kDateMask);
    m_edit.SetText(QString::fromLatin1(c.start));
    QGuiApplication::clipboard()->setText(QStringLiteral("31122008"));
    enter();
    c.keys(m_edit);
    EXPECT_EQ(m_edit.displayText(), QString::fromLatin1(c.shown));
    EXPECT_EQ(m_edit.Text(), QString::fromLatin1(c.text));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromLatin1(c.clipboard));
    EXPECT_EQ(m_beeps, c.beeps);
}

void key(TCustomMaskEdit& edit, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(&edit, key, modifiers);
}

INSTANTIATE_TEST_SUITE_P(Keys, CustomMaskEditEditingTest,
                         ::testing::Values(EditingCase{"backspace_passes_the_separator", "01/02/2008",
                                                       [](TCustomMaskEdit& e) {
                                                           e.setCursorPosition(3);
                                                           key(e, Qt::Key_Backspace);
                                                       },
                                                       "0_/02/2008", "0 /02/2008", "31122008"},
                                           EditingCase{"backspace_at_start_does_nothing", "01/02/2008",
                                                       [](TCustomMaskEdit& e) {
                                                           e.setCursorPosition(0);
                                                           key(e, Qt::Key_Backspace);
                                                       },
                                                       "01/02/2008", "01/02/2008", "31122008"},
                                           EditingCase{"delete_clears_forward", "01/02/2008",
                                                       [](TCustomMaskEdit& e) {
                                                           e.setCursorPosition(2);
                                                           key(e, Qt::Key_Delete);
                                                           key(e, Qt::Key_Delete);
                                                       },
                                                       "01/__/2008", "01/  /2008", "31122008"},
                                           EditingCase{"delete_clears_the_selection", "01/02/2008",
                                                       [](TCustomMaskEdit& e) { key(e, Qt::Key_Delete); },
                                                       "__/__/____", "  /  /    ", "31122008"},
                                           EditingCase{"cut_copies_then_clears", "01/02/2008",
                                                       [](TCustomMaskEdit& e) {
                                                           e.setSelection(0, 5);
                                                           key(e, Qt::Key_X, Qt::ControlModifier);
                                                       },
                                                       "__/__/2008", "  /  /2008", "01/02"},
                                           EditingCase{"copy_leaves_the_text", "01/02/2008",
                                                       [](TCustomMaskEdit& e) {
                                                           e.setSelection(6, 4);
                                                           key(e, Qt::Key_C, Qt::ControlModifier);
                                                       },
                                                       "01/02/2008", "01/02/2008", "2008"},
                                           EditingCase{"paste_over_everything", "01/02/2008",
                                                       [](TCustomMaskEdit& e) {
                                                           key(e, Qt::Key_V, Qt::ControlModifier);
                                                       },
                                                       "31/12/2008", "31/12/2008", "31122008"},
                                           EditingCase{"paste_at_the_caret_drops_what_finds_no_place", "",
                                                       [](TCustomMaskEdit& e) {
                                                           e.setCursorPosition(3);
                                                           key(e, Qt::Key_V, Qt::ControlModifier);
                                                       },
                                                       "__/31/1220", "  /31/1220", "31122008", 1}),
                         kalvian::test::ByCaseName{});

TEST_F(CustomMaskEditTest, PasteOfWhatFindsNoPlaceBeepsOnce) {
    m_edit.setEditMask(kDateMask);
    QGuiApplication::clipboard()->setText(QStringLiteral("1a2b"));
    enter();
    QTest::keyClick(&m_edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_edit.Text(), QStringLiteral("12/  /    "));
    EXPECT_EQ(m_beeps, 1);
}

TEST_F(CustomMaskEditTest, ChangesMadeBehindTheMaskAreTakenBack) {
    m_edit.setEditMask(kDateMask);
    m_edit.SetText(QStringLiteral("01/02/2008"));
    enter();
    m_edit.setCursorPosition(3);
    QSignalSpy changed(&m_edit, &TCustomMaskEdit::changed);
    const struct {
        const char* how;
        std::function<void()> change;
    } changes[] = {
        {"insert", [this] { m_edit.insert(QStringLiteral("77")); }},
        {"clear", [this] { m_edit.clear(); }},
        {"QLineEdit::setText", [this] { m_edit.QLineEdit::setText(QStringLiteral("abc")); }},
        {"backspace slot", [this] { m_edit.backspace(); }},
        {"delete to end of line", [this] { QTest::keyClick(&m_edit, Qt::Key_K, Qt::ControlModifier); }},
        {"undo", [this] { QTest::keyClick(&m_edit, Qt::Key_Z, Qt::ControlModifier); }},
    };
    for (const auto& c : changes) {
        c.change();
        EXPECT_EQ(m_edit.displayText(), QStringLiteral("01/02/2008")) << c.how;
        EXPECT_EQ(m_edit.Text(), QStringLiteral("01/02/2008")) << c.how;
    }
    EXPECT_EQ(changed.count(), 0);
    // Nothing comes in but by keys.
    EXPECT_FALSE(m_edit.acceptDrops());
    EXPECT_FALSE(m_edit.testAttribute(Qt::WA_InputMethodEnabled));
    m_edit.setEditMask(QString());
    EXPECT_TRUE(m_edit.acceptDrops());
    EXPECT_TRUE(m_edit.testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(CustomMaskEditTest, ContextMenuEditsThroughTheMask) {
    m_edit.setEditMask(kDateMask);
    m_edit.SetText(QStringLiteral("01/02/2008"));
    QGuiApplication::clipboard()->setText(QStringLiteral("3112"));
    enter();
    m_edit.setSelection(0, 2);
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* entry : menu->actions()) {
            entries << entry->text();
            if (entry->text().startsWith(QStringLiteral("&Paste"))) {
                entry->trigger();
            }
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), m_edit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&m_edit, &event);
    EXPECT_EQ(entries, (QStringList{QStringLiteral("Cu&t\tCtrl+X"), QStringLiteral("&Copy\tCtrl+C"),
                                    QStringLiteral("&Paste\tCtrl+V"), QStringLiteral("Delete"), QString(),
                                    QStringLiteral("Select All\tCtrl+A")}));
    EXPECT_EQ(m_edit.Text(), QStringLiteral("31/12/2008"));
}

TEST_F(CustomMaskEditTest, EscapeRestoresTextOfEntering) {
    m_edit.setEditMask(kDateMask);
    m_edit.SetText(QStringLiteral(" 1/02/2008"));
    enter();
    QTest::keyClicks(&m_edit, QStringLiteral("3/4"));
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("3_/4_/____"));
    QTest::keyClick(&m_edit, Qt::Key_Escape);
    EXPECT_EQ(m_edit.displayText(), QStringLiteral("_1/02/2008"));
    EXPECT_EQ(m_beeps, 0);
}

TEST_F(CustomMaskEditTest, EnteringSelectsAllAndLeavingSignals) {
    QSignalSpy entered(&m_edit, &TCustomMaskEdit::entered);
    QSignalSpy exited(&m_edit, &TCustomMaskEdit::exited);
    m_edit.setEditMask(kDateMask);
    m_edit.SetText(QStringLiteral("01/02/2008"));

    enter();
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(m_edit.selectionStart(), 0);
    EXPECT_EQ(m_edit.selectionLength(), 10);

    QTest::keyClick(&m_edit, Qt::Key_Tab);
    EXPECT_TRUE(m_other.hasFocus());
    EXPECT_EQ(exited.count(), 1);
    EXPECT_EQ(entered.count(), 1);
}

TEST_F(CustomMaskEditTest, WithoutAutoSelectCaretGoesToFirstDigitPosition) {
    m_edit.setAutoSelect(false);
    m_edit.setEditMask(QStringLiteral("!-99-99;1;_"));
    m_edit.SetText(QStringLiteral("-12-34"));
    enter();
    EXPECT_FALSE(m_edit.hasSelectedText());
    EXPECT_EQ(m_edit.cursorPosition(), 1);
}

TEST_F(CustomMaskEditTest, AnotherWindowTakingActivationIsNoLeaving) {
    QSignalSpy entered(&m_edit, &TCustomMaskEdit::entered);
    QSignalSpy exited(&m_edit, &TCustomMaskEdit::exited);
    enter();
    QWidget elsewhere;
    test::showActive(elsewhere);
    EXPECT_FALSE(m_edit.hasFocus());
    test::showActive(m_window);
    EXPECT_TRUE(m_edit.hasFocus());
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(exited.count(), 0);
}

TEST_F(CustomMaskEditTest, ChangedFiresOnlyWhenShownTextChanges) {
    QSignalSpy changed(&m_edit, &TCustomMaskEdit::changed);
    const struct {
        const char* step;
        std::function<void()> run;
        int changes;
    } steps[] = {
        {"mask laid over empty text", [this] { m_edit.setEditMask(kDateMask); }, 1},
        {"same mask again", [this] { m_edit.setEditMask(kDateMask); }, 0},
        {"empty text under mask", [this] { m_edit.SetText(QString()); }, 0},
        {"enter", [this] { enter(); }, 0},
        {"two digits", [this] { QTest::keyClicks(&m_edit, QStringLiteral("12")); }, 2},
        {"backspace", [this] { QTest::keyClick(&m_edit, Qt::Key_Backspace); }, 1},
        {"refused letter", [this] { QTest::keyClicks(&m_edit, QStringLiteral("x")); }, 0},
        {"separator jump", [this] { QTest::keyClicks(&m_edit, QStringLiteral("/")); }, 0},
        {"same text written", [this] { m_edit.SetText(m_edit.Text()); }, 0},
        {"mask removed keeps shown text", [this] { m_edit.setEditMask(QString()); }, 1},
        {"plain text written", [this] { m_edit.SetText(QStringLiteral("abc")); }, 1},
        {"plain typing", [this] { QTest::keyClicks(&m_edit, QStringLiteral("d")); }, 1},
    };
    for (const auto& step : steps) {
        changed.clear();
        step.run();
        EXPECT_EQ(changed.count(), step.changes) << step.step << ": " << m_edit.displayText().toStdString();
    }
}

} // namespace
} // namespace kalvian
