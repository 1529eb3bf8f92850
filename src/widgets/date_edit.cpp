#include "widgets/date_edit.h"

#include "dates/date_pattern.h"
#include "dates/date_text.h"
#include "qt_locale/locale_date_separator.h"
#include "widgets/flat_frame.h"

#include <QDate>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QPainter>
#include <QStyleOptionFrame>

namespace kalvian {

namespace {

Qt::Alignment toQt(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlignment::taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TextAlignment::taLeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

TDateEdit::TDateEdit(QWidget* parent)
    : TCustomMaskEdit(parent), m_separator([] { return localeDateSeparator(QLocale()); }), m_today([] {
          const QDate today = QDate::currentDate();
          return CalendarDate{today.year(), today.month(), today.day()};
      }) {
    QLineEdit::setAlignment(toQt(m_alignment));
}

DateContext TDateEdit::context() const {
    return DateContext{m_separator(), m_today(), m_century};
}

QString TDateEdit::format(double serial) const {
    return QString::fromStdString(DatePattern(m_separator(), m_century).format(serial));
}

QString TDateEdit::DateMask() const {
    const QChar sep = QChar::fromLatin1(m_separator());
    return QStringLiteral("!99") + sep + QStringLiteral("99") + sep + (m_century ? "9999" : "99") +
           QStringLiteral(";1;") + m_baseChar;
}

void TDateEdit::setAlignment(TextAlignment alignment) {
    if (alignment == m_alignment) {
        return;
    }
    m_alignment = alignment;
    QLineEdit::setAlignment(toQt(alignment));
    if (hasFocus()) {
        selectAll();
    }
}

void TDateEdit::setBaseChar(QChar baseChar) {
    if (baseChar.unicode() == 0 || baseChar == m_baseChar) {
        return;
    }
    m_baseChar = baseChar;
    RebuildMask();
    UpdateDisplay();
    update();
}

void TDateEdit::setCentury(bool on) {
    if (on == m_century) {
        return;
    }
    m_century = on;
    RebuildMask();
    UpdateDisplay();
    update();
}

void TDateEdit::setDateValue(double value) {
    m_dateValue = value;
    UpdateDisplay();
}

QString TDateEdit::DateText() const {
    return format(m_dateValue);
}

void TDateEdit::setDateText(const QString& text) {
    m_dateValue = TextToDate(NormalizeText(text.toStdString(), context()));
    UpdateDisplay();
}

void TDateEdit::UpdateDisplay() {
    if (m_dateValue != kBlankDate) {
        setEditMask(DateMask());
        SetText(format(m_dateValue));
    } else {
        setEditMask(QString());
        SetText(QString());
    }
    if (hasFocus()) {
        selectAll();
    }
}

void TDateEdit::RebuildMask() {
    const double value = TextToDate(NormalizeText(Text().toStdString(), context()));
    SetText(QString());
    setEditMask(DateMask());
    SetText(value == kBlankDate ? QString() : format(value));
}

void TDateEdit::doEnter(Qt::FocusReason reason) {
    if (!m_editing) {
        RebuildMask();
    }
    TCustomMaskEdit::doEnter(reason);
    m_selectOnPress = reason == Qt::MouseFocusReason;
    m_editing = true;
    update();
}

void TDateEdit::doExit() {
    m_selectOnPress = false;
    const DateContext now = context();
    const std::string typed = NormalizeText(Text().toStdString(), now);
    const bool blank = IsBlankText(typed);
    if (blank || IsValidText(typed)) {
        if (!blank) {
            SetText(QString::fromStdString(CompleteText(typed, now)));
        }
        m_editing = false;
    } else if (m_assumeDefault) {
        SetText(QString::fromStdString(CompleteText(typed, now)));
    } else {
        ReportDateError();
        return;
    }
    m_dateValue = TextToDate(NormalizeText(Text().toStdString(), now));
    update();
    TCustomMaskEdit::doExit();
}

void TDateEdit::ReportDateError() {
    if (isSignalConnected(QMetaMethod::fromSignal(&TDateEdit::dateError))) {
        emit dateError(this);
    } else {
        beep();
    }
    keepFocus();
}

void TDateEdit::keyPressEvent(QKeyEvent* event) {
    // Without a mask the decimal point of the numeric keypad still types the date separator.
    if (!hasEditMask() && event->text() == QStringLiteral(".")) {
        QKeyEvent separator(event->type(), event->key(), event->modifiers(),
                            QString(QChar::fromLatin1(m_separator())), event->isAutoRepeat());
        TCustomMaskEdit::keyPressEvent(&separator);
        event->setAccepted(separator.isAccepted());
        return;
    }
    TCustomMaskEdit::keyPressEvent(event);
}

void TDateEdit::mousePressEvent(QMouseEvent* event) {
    // The click that brought the focus selects the whole text, as entering by Tab does.
    const bool entering = m_selectOnPress;
    m_selectOnPress = false;
    TCustomMaskEdit::mousePressEvent(event);
    if (entering && event->button() == Qt::LeftButton) {
        selectAll();
    }
}

void TDateEdit::paintEvent(QPaintEvent* event) {
    if (!hasFocus()) {
        paintUnfocused();
        return;
    }
    TCustomMaskEdit::paintEvent(event);
}

void TDateEdit::paintUnfocused() {
    const QString shown = m_dateValue == kBlankDate ? QString() : Text();
    QPainter painter(this);
    painter.setFont(font());
    QRect area = rect();
    const QBrush background = palette().brush(QPalette::Active, QPalette::Base);
    if (flat()) {
        // All of it filled: the frame, drawn last, takes the outermost device pixels at any scale.
        painter.fillRect(area, background);
        area.adjust(1, 1, -1, -1);
    } else {
        QStyleOptionFrame frame;
        initStyleOption(&frame);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);
        area.adjust(frame.lineWidth, frame.lineWidth, -frame.lineWidth, -frame.lineWidth);
        painter.fillRect(area, background);
    }

    // The text top sits where the system this field came from puts it: from the font's height in pixels,
    // counted negative, and the control's height.
    const QFontMetrics metrics(font());
    const int fontPixels =
        font().pixelSize() > 0 ? font().pixelSize() : qRound(font().pointSizeF() * logicalDpiY() / 72.0);
    const int top = (-fontPixels + height()) / 2 - 3;
    const int width = metrics.horizontalAdvance(shown);
    const int areaRight = area.x() + area.width();
    int left = top - 1;
    if (m_alignment == TextAlignment::taRightJustify) {
        left = areaRight - width - top;
    } else if (m_alignment == TextAlignment::taCenter) {
        left = (area.x() + areaRight - width) / 2;
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.setClipRect(area);
    painter.drawText(left, top + metrics.ascent(), shown);
    if (flat()) {
        painter.setClipping(false);
        drawFlatFrame(painter, *this);
    }
}

} // namespace kalvian
