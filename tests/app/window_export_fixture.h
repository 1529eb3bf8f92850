#pragma once

#include "app/window_fixture.h"

#include <string>

// The window with the golden tables queried and a destination folder of its own.
namespace kalvian::test {

inline const std::string kGolden =
    std::string(KALVIAN_TEST_DATA_DIR) + "/export/tres-emitidas-duas-recebidas.txt";

class WindowExportTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        queryGoldenTables();
        edit("edtDestino")->setText(QString::fromStdString(destination.path().string()));
        edit("edtArquivo")->setText(QStringLiteral("saida.txt"));
    }
    std::string target() const { return destination / "saida.txt"; }
};

} // namespace kalvian::test
