#pragma once

#include "common/date_serial.h"
#include "common/invoice_query.h"
#include "vrk3/record_cursor.h"
#include "vrk3/table_query.h"

#include <optional>

namespace kalvian {

// An invoice query: the rows of one declarant (INSMUN equal to the registration number) dated within the
// period (DATA between start and end, both included), in the order of the table's blocks.
class InvoiceTableQuery : public TableQuery, public InvoiceQuery {
public:
    using TableQuery::TableQuery;

    // Taken at the next opening. No registration number selects nothing at all.
    void setParameters(std::optional<double> registration, Period period);

    std::int64_t rowCount() const override { return static_cast<std::int64_t>(recordCount()); }
    void first() override;
    bool eof() const override { return m_walk.eof(); }
    void next() override { m_walk.next(); }
    const SourceRecord& current() const override { return m_walk.current(); }
    std::unique_ptr<InvoiceQuery> anotherCursor() const override;

protected:
    void select(const paradox::Table& table) override;
    void afterClose() override { m_walk = {}; }

private:
    std::optional<double> m_registration;
    Period m_period;
    RecordCursor m_walk;
};

} // namespace kalvian
