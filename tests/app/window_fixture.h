#pragma once

#include "app/answering_choosers.h"
#include "app/answering_messages.h"
#include "app/main_window.h"
#include "support/temp_folder.h"
#include "vrk3_tables.h"
#include "widgets/date_edit.h"
#include "widgets/qstring_print.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace kalvian::test {

// Three issued invoices (one short), two received ones (one of a missing client) and two clients of the
// registration number 123 in March 2008, as the export's golden file tres-emitidas-duas-recebidas.txt has
// them.
paradox::Vrk3Tables goldenTables();

// The real window with answering boxes and dialogs, shown and active, started in a fresh current folder,
// with the Brazilian locale and the date fields' separator and today fixed.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh window in place of the one there was.
    void openWindow();

    template <class Control> Control* control(const char* name) const {
        auto* found = window->findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    TDateEdit* date(const char* name) const { return control<TDateEdit>(name); }
    QAction* action(const char* name) const { return control<QAction>(name); }
    QString text(const char* label) const { return control<QLabel>(label)->text(); }
    QString focused() const;

    // Clicks into the control and types; dates as their digits, e.g. "01032008".
    void typeInto(const char* name, const QString& keys);
    void click(const char* button);
    // Fills the four fields of the query step and clicks "Consultar Dados".
    void query(const QString& registration, const QString& start, const QString& end,
               const std::filesystem::path& folder);
    // A successful query step over the golden tables, written into `source`.
    void queryGoldenTables();

    TempFolder startFolder;
    TempFolder source;
    TempFolder destination;
    AnsweringMessages* messages = nullptr;
    AnsweringChoosers* choosers = nullptr;
    std::unique_ptr<TfrmKalvian> window;

private:
    QString m_previousFolder;
};

} // namespace kalvian::test
