// The real message boxes: title, text, icon, buttons, default button and modality, read off the open box
// and answered with the keyboard as a user would.
#include "app/application_title.h"
#include "app/qt_window_messages.h"
#include "widgets/qstring_print.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kalvian {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool modal = false;
};

// Shows a box, reads it once it is open and answers it with the key given.
SeenBox seeWhileOpen(const std::function<void()>& show, Qt::Key answer) {
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(),
                box->text(),
                box->icon(),
                box->standardButtons(),
                box->standardButton(box->defaultButton()),
                box->isModal()};
        QTest::keyClick(box, answer);
    });
    show();
    return seen;
}

TEST(QtWindowMessages, ErrorBoxIsModalWithStopIconOkAndTheProgramsTitle) {
    QWidget owner;
    QtWindowMessages messages(&owner);
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"A Data Final deve ser maior ou igual a Data Inicial",
         "A Data Final deve ser maior ou igual a Data Inicial."},
        {"Arquivo de Clientes não foi encontrado.\n(DSCLI.DB)",
         "Arquivo de Clientes não foi encontrado.\n(DSCLI.DB)"},
    };
    for (const auto& c : cases) {
        const SeenBox seen = seeWhileOpen([&] { messages.showError(c.message); }, Qt::Key_Return);
        EXPECT_EQ(seen.title, QString::fromUtf8(kApplicationTitle));
        EXPECT_EQ(seen.text, QString::fromUtf8(c.shown));
        EXPECT_EQ(seen.icon, QMessageBox::Critical);
        EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_TRUE(seen.modal);
    }
}

TEST(QtWindowMessages, QuestionsDefaultToNoAndAreTrueOnlyOnYes) {
    QWidget owner;
    QtWindowMessages messages(&owner);
    const struct {
        Qt::Key key;
        bool answer;
    } cases[] = {{Qt::Key_Return, false}, {Qt::Key_Escape, false}, {Qt::Key_S, true}};
    for (const auto& c : cases) {
        bool answer = !c.answer;
        const SeenBox seen = seeWhileOpen(
            [&] {
                answer = messages.askYesNo("Sair", "Deseja encerrar o programa ?", MessageIcon::Question);
            },
            c.key);
        EXPECT_EQ(answer, c.answer) << c.key;
        EXPECT_EQ(seen.title, QStringLiteral("Sair"));
        EXPECT_EQ(seen.text, QStringLiteral("Deseja encerrar o programa ?"));
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(seen.defaultButton, QMessageBox::No);
    }
}

TEST(QtWindowMessages, NoticesHaveTheirIconAndOk) {
    QWidget owner;
    QtWindowMessages messages(&owner);
    const struct {
        MessageIcon icon;
        QMessageBox::Icon shown;
    } cases[] = {{MessageIcon::Information, QMessageBox::Information},
                 {MessageIcon::Warning, QMessageBox::Warning},
                 {MessageIcon::Stop, QMessageBox::Critical}};
    for (const auto& c : cases) {
        const SeenBox seen = seeWhileOpen(
            [&] { messages.inform("Exportação", "Dados exportados com sucesso.", c.icon); }, Qt::Key_Return);
        EXPECT_EQ(seen.title, QStringLiteral("Exportação"));
        EXPECT_EQ(seen.icon, c.shown);
        EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
}

} // namespace
} // namespace kalvian
