// The real file dialogs: what they open with, read off the open dialog, and what they give back when the
// user picks a file or cancels.
#include "app/qt_file_choosers.h"
#include "support/temp_folder.h"
#include "widgets/qstring_print.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kalvian {
namespace {

struct SeenDialog {
    QString title;
    QStringList filters;
    QString defaultSuffix;
    QString folder;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
};

// Opens a dialog, reads it once it is open, then picks `pick` in it, or cancels when `pick` is empty.
SeenDialog seeWhileOpen(const std::function<void()>& open, const QString& pick) {
    SeenDialog seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->defaultSuffix(),
                dialog->directory().absolutePath(), dialog->acceptMode()};
        if (pick.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(pick);
        static_cast<QDialog*>(dialog)->accept(); // as the Open or Save button does
    });
    open();
    return seen;
}

class QtFileChoosersTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return QString::fromStdString(folder / name); }

    test::TempFolder folder;
    QWidget owner;
    QtFileChoosers choosers{&owner};
    FileRequest request{QStringLiteral("Pasta onde estão armazenados os arquivos da VRK 3"),
                        {QStringLiteral("Arquivo de Notas Emitidas VRK 3 (DSEMI.db)")},
                        QStringLiteral("db"),
                        QString::fromStdString(folder.path().string()),
                        {}};
};

TEST_F(QtFileChoosersTest, OpenDialogShowsTheRequestAndGivesTheChosenFile) {
    test::writeFile(folder.path() / "DSEMI.db", "x");
    std::optional<QString> chosen;
    const SeenDialog seen = seeWhileOpen([&] { chosen = choosers.openFile(request); }, path("DSEMI.db"));
    EXPECT_EQ(seen.title, request.title);
    EXPECT_EQ(seen.filters, request.filters);
    EXPECT_EQ(seen.defaultSuffix, QStringLiteral("db"));
    // The dialog holds its folder in Qt's form, "/" between names, whatever the system's separator.
    EXPECT_EQ(seen.folder, QDir::fromNativeSeparators(request.folder));
    EXPECT_EQ(seen.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(chosen, path("DSEMI.db"));
}

TEST_F(QtFileChoosersTest, SaveDialogAddsTheDefaultSuffixAndCancelGivesNothing) {
    request.defaultSuffix = QStringLiteral("txt");
    request.fileName = QStringLiteral("proposto.txt");
    std::optional<QString> chosen;
    const SeenDialog seen = seeWhileOpen([&] { chosen = choosers.saveFile(request); }, path("novo"));
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(chosen, path("novo.txt"));

    chosen = QStringLiteral("sobra");
    seeWhileOpen([&] { chosen = choosers.saveFile(request); }, {});
    EXPECT_EQ(chosen, std::nullopt);
}

} // namespace
} // namespace kalvian
