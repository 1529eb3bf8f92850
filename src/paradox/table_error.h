#pragma once

#include "common/error.h"

#include <string>

namespace kalvian::paradox {

// The messages a table can fail with. Each names the file; the part in parentheses says what is wrong.

// "Não foi possível ler a tabela: <arquivo> (<motivo>)"
Error unreadableTable(const std::string& file, const std::string& reason);
// "Tabela danificada: <arquivo> (<o que está errado>)"
Error damagedTable(const std::string& file, const std::string& what);
// "Tabela criptografada não suportada: <arquivo>"
Error encryptedTable(const std::string& file);
// "Arquivo não é uma tabela de dados Paradox: <arquivo> (<o que é>)"
Error notADataTable(const std::string& file, const std::string& what);
// "Página de código não suportada: <arquivo> (<número>)"
Error unsupportedCodePage(const std::string& file, int codePage);

// A reading that may hold bytes of two moments: another program wrote the file meanwhile. Worth reading
// again.
class TableChanged : public Error {
public:
    using Error::Error;
};
// "Não foi possível ler a tabela: <arquivo> (o arquivo mudou durante a leitura)"
TableChanged tableChanged(const std::string& file);
// "Não foi possível ler a tabela: <arquivo> (outro programa, talvez a VRK 3, está usando o arquivo)"
Error tableHeldElsewhere(const std::string& file);

} // namespace kalvian::paradox
