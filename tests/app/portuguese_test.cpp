// The window as the program starts it, under a C locale: Qt's own texts in its real boxes and dialogs are
// Portuguese, and the boxes answer to the Portuguese mnemonics.
#include "app/main_window.h"
#include "support/temp_folder.h"
#include "widgets/qstring_print.h"
#include "widgets/widget_probe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace kalvian {
namespace {

// Runs `open`, which shows a modal dialog of type Dialog, and `act` on that dialog once it is up and
// active, as a user would find it; `act` must close it. A dialog left open is closed, and is a failure.
template <class Dialog>
void whileOpen(const std::function<void()>& open, const std::function<void(Dialog&)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }));
        act(*dialog);
        if (dialog->isVisible() && !QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 1000)) {
            ADD_FAILURE() << "the dialog stayed open";
            dialog->reject();
        }
    });
    open();
    EXPECT_TRUE(seen);
}

QStringList buttonTexts(const QList<QAbstractButton*>& buttons) {
    QStringList texts;
    for (const QAbstractButton* button : buttons) {
        texts << button->text();
    }
    texts.sort();
    return texts;
}

// The real window with its real boxes and dialogs, in a fresh current folder, under the test's C locale.
class PortugueseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(QLocale().language(), QLocale::Portuguese);
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
        window = std::make_unique<TfrmKalvian>();
        test::showActive(*window);
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(m_previousFolder);
    }

    test::TempFolder folder;
    std::unique_ptr<TfrmKalvian> window;

private:
    QString m_previousFolder;
};

TEST_F(PortugueseTest, ExitQuestionSaysSimAndNaoAndAnswersAltSAndAltN) {
    const struct {
        const char* answer;
        Qt::Key key;
        bool closes;
    } cases[] = {{"Alt+N", Qt::Key_N, false}, {"Alt+S", Qt::Key_S, true}};
    for (const auto& c : cases) {
        QStringList texts;
        QString defaultButton;
        whileOpen<QMessageBox>(
            [this] { window->findChild<QPushButton*>(QStringLiteral("btnSair"))->click(); },
            [&](QMessageBox& box) {
                texts = buttonTexts(box.buttons());
                defaultButton = box.defaultButton()->text();
                QTest::keyClick(&box, c.key, Qt::AltModifier);
            });
        EXPECT_EQ(texts, (QStringList{QStringLiteral("&Não"), QStringLiteral("&Sim")})) << c.answer;
        EXPECT_EQ(defaultButton, QStringLiteral("&Não")) << c.answer;
        EXPECT_EQ(window->isVisible(), !c.closes) << c.answer;
    }
}

struct SeenFileDialog {
    QString lookIn;
    QString fileName;
    QString fileType;
    QStringList buttons;
    bool qtsOwn = false;
};

// Opens a file dialog with its key pressed in the window, reads it and cancels it.
SeenFileDialog seeFileDialog(QWidget& window, Qt::Key key) {
    SeenFileDialog seen;
    // The keys are the window's: it must be the active one again after an earlier dialog, which the
    // offscreen platform, unlike a desktop, does not see to by itself.
    test::showActive(window);
    whileOpen<QFileDialog>(
        [&] { QTest::keyClick(window.findChild<QLineEdit*>(QStringLiteral("edtArquivo")), key); },
        [&](QFileDialog& dialog) {
            const auto label = [&dialog](const char* name) {
                const auto* found = dialog.findChild<QLabel*>(QString::fromLatin1(name));
                return found != nullptr ? found->text() : QStringLiteral("(ausente)");
            };
            seen.lookIn = label("lookInLabel");
            seen.fileName = label("fileNameLabel");
            seen.fileType = label("fileTypeLabel");
            if (const auto* box = dialog.findChild<QDialogButtonBox*>()) {
                seen.buttons = buttonTexts(box->buttons());
            }
            seen.qtsOwn = dialog.testOption(QFileDialog::DontUseNativeDialog);
            dialog.reject();
        });
    return seen;
}

TEST_F(PortugueseTest, FileDialogsArePortuguese) {
    const struct {
        const char* dialog;
        Qt::Key key;
        const char* accept;
    } cases[] = {{"origem (F11)", Qt::Key_F11, "&Abrir"}, {"destino (F12)", Qt::Key_F12, "&Salvar"}};
    for (const auto& c : cases) {
        const SeenFileDialog seen = seeFileDialog(*window, c.key);
        EXPECT_TRUE(seen.qtsOwn) << c.dialog;
        EXPECT_EQ(seen.lookIn, QStringLiteral("Procurar em:")) << c.dialog;
        EXPECT_EQ(seen.fileName, QStringLiteral("&Nome do arquivo:")) << c.dialog;
        EXPECT_EQ(seen.fileType, QStringLiteral("Arquivos do tipo:")) << c.dialog;
        EXPECT_EQ(seen.buttons, (QStringList{QString::fromUtf8(c.accept), QStringLiteral("Cancelar")}))
            << c.dialog;
    }
}

// The date fields' own edit menu uses Qt's texts, Portuguese as in the other edits.
TEST_F(PortugueseTest, DateFieldMenuIsPortuguese) {
    auto* field = window->findChild<QLineEdit*>(QStringLiteral("edtDataIni"));
    field->setFocus(Qt::TabFocusReason);
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (const QAction* entry : menu->actions()) {
            entries << entry->text().section(u'\t', 0, 0);
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &event);
    EXPECT_EQ(entries,
              (QStringList{QStringLiteral("Recor&tar"), QStringLiteral("&Copiar"), QStringLiteral("C&olar"),
                           QStringLiteral("Excluir"), QString(), QStringLiteral("Selecionar tudo")}));
}

} // namespace
} // namespace kalvian
