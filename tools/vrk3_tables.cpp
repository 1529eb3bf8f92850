#include "vrk3_tables.h"

namespace kalvian::paradox {

namespace {

WriterField alpha(const char* name, int size) {
    return {name, FieldType::Alpha, size};
}
WriterField number(const char* name) {
    return {name, FieldType::Number, 0};
}
WriterField longInt(const char* name) {
    return {name, FieldType::Long, 0};
}
WriterField date(const char* name) {
    return {name, FieldType::Date, 0};
}

template <class Row>
void writeTable(const TableLayout& layout, const std::vector<Row>& rows, const BlockPlacement& placement,
                const std::filesystem::path& path) {
    TableWriter writer(layout);
    for (const Row& row : rows) {
        writer.addRow(values(row));
    }
    writer.writeFile(path, placement);
}

} // namespace

TableLayout issuedLayout(int level, int codePage) {
    return {level,
            codePage,
            2048,
            {number("INSMUN"), date("DATA"), alpha("SERIE", 1), longInt("NUMNF"), alpha("MODU", 1),
             number("VALNF"), number("VALSER"), alpha("RESTRB", 1), number("ALIQUO"), number("ALQRET"),
             alpha("SITPAG", 1), alpha("TIPDOC", 3), longInt("CODCLI")}};
}

TableLayout receivedLayout(int level, int codePage) {
    return {level,
            codePage,
            2048,
            {longInt("KEY"), number("INSMUN"), date("DATA"), longInt("CODCLI"), alpha("SERIE", 1),
             longInt("NUMNF"), date("DATEMI"), alpha("MODU", 1), number("VALNF"), number("VALSER"),
             number("ALIQUO"), number("IMPRET"), alpha("SITPAG", 1), alpha("TIPDOC", 3)}};
}

TableLayout clientLayout(int level, int codePage) {
    return {level,
            codePage,
            4096,
            {longInt("CODCLI"), number("INSMUN"), alpha("NUMCNPJ", 14), alpha("NUMCPF", 11),
             alpha("NOME", 70), alpha("RUA", 40), longInt("NUMERO"), alpha("COMPLE", 15), alpha("BAIRRO", 30),
             alpha("CIDADE", 20), alpha("ESTADO", 2), alpha("CEP", 8), alpha("TOMADO", 1),
             alpha("PRESTA", 1)}};
}

std::vector<WriterValue> values(const IssuedRow& r) {
    return {r.insmun, r.data,   r.serie,  r.numnf,  r.modu,   r.valnf, r.valser,
            r.restrb, r.aliquo, r.alqret, r.sitpag, r.tipdoc, r.codcli};
}

std::vector<WriterValue> values(const ReceivedRow& r) {
    return {r.key,  r.insmun, r.data,   r.codcli, r.serie,  r.numnf,  r.datemi,
            r.modu, r.valnf,  r.valser, r.aliquo, r.impret, r.sitpag, r.tipdoc};
}

std::vector<WriterValue> values(const ClientRow& r) {
    return {r.codcli, r.insmun, r.numcnpj, r.numcpf, r.nome, r.rua,    r.numero,
            r.comple, r.bairro, r.cidade,  r.estado, r.cep,  r.tomado, r.presta};
}

void Vrk3Tables::write(const std::filesystem::path& folder) const {
    const auto sized = [this](TableLayout layout) {
        if (blockSize != 0) {
            layout.blockSize = blockSize;
        }
        return layout;
    };
    writeTable(sized(issuedLayout(level, codePage)), issued, placement, folder / "DSEMI.DB");
    writeTable(sized(receivedLayout(level, codePage)), received, placement, folder / "DSREC.DB");
    writeTable(sized(clientLayout(level, codePage)), clients, placement, folder / "DSCLI.DB");
}

} // namespace kalvian::paradox
