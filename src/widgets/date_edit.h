#pragma once

#include "common/date_serial.h"
#include "dates/date_context.h"
#include "widgets/custom_mask_edit.h"

#include <functional>

namespace kalvian {

enum class TextAlignment { taLeftJustify, taRightJustify, taCenter };

// The entry field for one calendar date (the period fields of the main window). Beside its text it keeps
// the date as a serial, DateValue, with the blank date standing for no date; DateValue changes only when
// written or when the field is left. On leaving, what was typed is widened to a full date; an impossible or
// partial date is completed from today's date (AssumeDefault) or refused with the focus kept in the field.
// While it does not have the focus the field paints its date itself, and paints no text for the blank date.
class TDateEdit : public TCustomMaskEdit {
    Q_OBJECT

public:
    explicit TDateEdit(QWidget* parent = nullptr);

    TextAlignment Alignment() const { return m_alignment; }
    void setAlignment(TextAlignment alignment);

    bool AssumeDefault() const { return m_assumeDefault; }
    void setAssumeDefault(bool on) { m_assumeDefault = on; }

    // Shown in every digit position not yet filled; the character with code 0 is ignored.
    QChar BaseChar() const { return m_baseChar; }
    void setBaseChar(QChar baseChar);

    bool Century() const { return m_century; }
    void setCentury(bool on);

    double DateValue() const { return m_dateValue; }
    // Stored as given, without any test.
    void setDateValue(double value);

    // DateValue in DatePattern form, "00/00/0000" for the blank date.
    QString DateText() const;
    // A blank text, or one that is no date, gives the blank date; a short year is widened.
    void setDateText(const QString& text);

    // Set while the user edits the field: from entering until it is left with a valid or blank date.
    bool editing() const { return m_editing; }

    // "!99/99/9999;1;_", with the regional separator, a two-digit year without Century and BaseChar last.
    QString DateMask() const;

    // What varies from run to run; the regional separator is read again each time it is needed.
    void setSeparatorSource(std::function<char()> separator) { m_separator = std::move(separator); }
    // The regional date separator as the field reads it now.
    char DateSeparator() const { return m_separator(); }
    void setTodaySource(std::function<CalendarDate()> today) { m_today = std::move(today); }

    // Shows DateValue: in DateMask and DatePattern form, or as an empty plain edit for the blank date.
    void UpdateDisplay();
    // Lays the date the text holds into a fresh DateMask; DateValue is not touched.
    void RebuildMask();

signals:
    // A date that cannot be taken was typed and AssumeDefault is off; without a receiver the field beeps.
    void dateError(kalvian::TDateEdit* sender);

protected:
    void doEnter(Qt::FocusReason reason) override;
    void doExit() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    DateContext context() const;
    QString format(double serial) const;
    void ReportDateError();
    void paintUnfocused();

    TextAlignment m_alignment = TextAlignment::taLeftJustify;
    bool m_assumeDefault = true;
    QChar m_baseChar = u'_';
    bool m_century = true;
    double m_dateValue = kBlankDate;
    bool m_editing = false;
    bool m_selectOnPress = false;
    std::function<char()> m_separator;
    std::function<CalendarDate()> m_today;
};

} // namespace kalvian
