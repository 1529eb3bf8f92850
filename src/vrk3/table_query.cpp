#include "table_query.h"

#include "common/error.h"
#include "paradox/consistent_reading.h"
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
    try {
        // Rows of one moment of the table: read again while another program is writing it.
        m_table.emplace(paradox::readAtOneMoment(sourceTablePath(m_folder, m_tableFile),
                                                 [this](const paradox::Table& table) {
                                                     checkSchema(m_name, table, m_declared);
                                                     select(table);
                                                 }));
    } catch (...) {
        // A reading that failed halfway leaves nothing behind: the query stays closed.
        m_records = {};
        afterClose();
        throw;
    }
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
