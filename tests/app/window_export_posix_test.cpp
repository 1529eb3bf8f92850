// "Exportar" from the window onto a USB stick mounted through FUSE (POSIX).
#include "app/window_export_fixture.h"
#include "support/posix/fuse_mount.h"

namespace kalvian::test {
namespace {

class WindowExportPosixTest : public WindowExportTest {};

// A USB stick whose file system has no other way to a new name than claiming it.
TEST_F(WindowExportPosixTest, ExportsOntoAFat32StickMountedThroughFuse) {
    const FuseMount stick(FuseMount::Kind::Fat32, destination.path());
    ASSERT_EQ(stick.failure(), "") << "the stick could not be mounted";
    edit("edtDestino")->setText(QString::fromStdString(stick.path().string()));
    messages->answers = {true};
    click("btnExportar");
    click("btnExportar");
    EXPECT_EQ(readFile(stick.path() / "saida.txt"), readFile(kGolden));
    EXPECT_EQ(messages->shown,
              (std::vector<std::string>{"inform Exportação | Dados exportados com sucesso. (information)",
                                        "ask Arquivo encontrado | O arquivo informado já existe. Deseja "
                                        "substituí-lo por novos dados ? (warning)",
                                        "inform Exportação | Dados exportados com sucesso. (information)"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(stick.path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace kalvian::test
