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

} // namespace kalvian::paradox
