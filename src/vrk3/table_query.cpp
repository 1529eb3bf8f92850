#include "table_query.h"

#include "common/error.h"
#include "vrk3/table_files.h"

namespace kalvian {

TableQuery::TableQuery(std::string name, std::string tableFile, std::vector<DeclaredField> declared)
    : m_name(std::move(name)), m_tableFile(std::move(tableFile)), m_declared(std::move(declared)) {}

TableQuery::TableQuery(const QueryDefinition& definition)
    : TableQuery(definition.name, definition.tableFile, definition.fields) {}

void TableQuery::setFolder(const std::string& folder) {
    if (folder == m_folder) {
        return;
    }
    if (isOpen()) {
        throw Error(m_name + ": Cannot perform this operation on an open dataset");
    }
    m_folder = folder;
}

void TableQuery::open() {
    if (isOpen()) {
        return;
    }
    paradox::Table table = openSourceTable(m_folder, m_tableFile);
    checkSchema(m_name, table, m_declared);
    try {
        select(table);
    } catch (...) {
        // A reading that failed halfway leaves nothing behind: the query stays closed.
        m_records = {};
        afterClose();
        throw;
    }
    m_table.emplace(std::move(table));
}

void TableQuery::requireOpen() const {
    if (!isOpen()) {
        throw Error(m_name + ": Cannot perform this operation on a closed dataset");
    }
}

void TableQuery::close() {
    if (!isOpen()) {
        return;
    }
    m_table.reset();
    m_records = {};
    afterClose();
}

} // namespace kalvian
