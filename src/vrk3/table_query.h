#pragma once

#include "paradox/table.h"
#include "vrk3/query_definitions.h"
#include "vrk3/query_schema.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kalvian {

// What the three source queries share: a name for messages, the table file they read from a folder, the
// fields they declare, and the rows they selected, kept as stored.
class TableQuery {
public:
    TableQuery(std::string name, std::string tableFile, std::vector<DeclaredField> declared);
    explicit TableQuery(const QueryDefinition& definition);
    virtual ~TableQuery() = default;

    const std::string& name() const { return m_name; }
    const std::string& folder() const { return m_folder; }
    // A new folder takes effect at the next opening; an open query refuses to change it.
    void setFolder(const std::string& folder);
    bool isOpen() const { return m_table.has_value(); }
    // Opening an open query does nothing. The table is read again, after a pause, while another program
    // changes it, a few times before its change is the failure. Raises kalvian::Error when the table cannot
    // be read or lacks a declared field; the query then stays closed.
    void open();
    // Closing a closed query does nothing.
    void close();

    // The rows of the chain the query kept, and their size.
    std::size_t recordCount() const { return m_records.chainOrder.size(); }
    std::size_t recordSize() const { return m_records.recordSize; }

protected:
    // Called by open() once the table is read and checked: select the rows, and set them as the records.
    virtual void select(const paradox::Table& table) = 0;
    virtual void afterClose() {}

    void setRecords(paradox::RecordSet rows) { m_records = std::move(rows); }
    const paradox::RecordSet& records() const { return m_records; }
    const paradox::Table& table() const { return *m_table; }
    // Raises "<query>: Cannot perform this operation on a closed dataset" unless open.
    void requireOpen() const;

private:
    std::string m_name;
    std::string m_tableFile;
    std::vector<DeclaredField> m_declared;
    std::string m_folder;
    std::optional<paradox::Table> m_table;
    paradox::RecordSet m_records;
};

} // namespace kalvian
