#include "qt_window_messages.h"

#include "app/application_title.h"
#include "common/error.h"

#include <QMessageBox>

namespace kalvian {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton run(QWidget* owner, const std::string& title, const std::string& text,
                                MessageIcon icon, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    QMessageBox box(boxIcon(icon), QString::fromStdString(title), QString::fromStdString(text), buttons,
                    owner);
    box.setDefaultButton(defaultButton);
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

bool QtWindowMessages::askYesNo(const std::string& title, const std::string& text, MessageIcon icon) {
    return run(m_owner, title, text, icon, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtWindowMessages::inform(const std::string& title, const std::string& text, MessageIcon icon) {
    run(m_owner, title, text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

void QtWindowMessages::showError(const std::string& message) {
    run(m_owner, kApplicationTitle, withFinalPeriod(message), MessageIcon::Stop, QMessageBox::Ok,
        QMessageBox::Ok);
}

} // namespace kalvian
