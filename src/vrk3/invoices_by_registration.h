#pragma once

#include "common/date_serial.h"
#include "vrk3/table_query.h"

#include <cstddef>
#include <vector>

namespace kalvian {

// The invoices of one table dated within a period, gathered per registration number (INSMUN) in a single
// reading, each registration's rows kept together with their chain order: the rows the window's query
// would select for that registration, for every registration at once.
class InvoicesByRegistration : public TableQuery {
public:
    struct Group {
        double registration = 0; // the stored value; -0 is gathered with 0, as the window matches it
        paradox::RecordSet rows;
    };

    using TableQuery::TableQuery;

    // Taken at the next opening.
    void setPeriod(Period period) { m_period = period; }

    // After opening: the groups in ascending order of registration. Callers may take the rows away.
    std::vector<Group>& groups() { return m_groups; }
    // Rows of the period whose INSMUN no typed registration can match: NULL, and NaN or infinite.
    std::size_t rowsWithoutRegistration() const { return m_withoutRegistration; }
    std::size_t rowsWithInvalidRegistration() const { return m_withInvalidRegistration; }
    const paradox::Table& openTable() const { return table(); }

protected:
    void select(const paradox::Table& table) override;
    void afterClose() override;

private:
    Period m_period;
    std::vector<Group> m_groups;
    std::size_t m_withoutRegistration = 0;
    std::size_t m_withInvalidRegistration = 0;
};

} // namespace kalvian
