// Every registration's invoices of a period gathered in one scan of each table: the same rows, in the same
// order, as the window's own queries select for each registration; invoices whose INSMUN is NULL, NaN or
// infinite belong to no registration, there or here.
#include "common/error.h"
#include "support/case_names.h"
#include "support/temp_folder.h"
#include "vrk3/period_invoices.h"
#include "vrk3/registration.h"
#include "vrk3/registration_text.h"
#include "vrk3/source_queries.h"
#include "vrk3_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace kalvian {
namespace {

using paradox::BlockPlacement;
using paradox::Vrk3Tables;
using paradox::WriterValue;
using test::day;
using test::issued;
using test::received;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

class NoWindowHost : public QueryHost {
public:
    void setWaitCursor(bool) override {}
    void focusSourceFolder() override {}
};

std::vector<std::int32_t> numbersOf(InvoiceQuery& query) {
    std::vector<std::int32_t> numbers;
    for (query.first(); !query.eof(); query.next()) {
        numbers.push_back(query.current().asInteger("NUMNF"));
    }
    return numbers;
}

struct Gathered {
    std::string registration;
    std::vector<std::int32_t> issued;
    std::vector<std::int32_t> received;
    bool operator==(const Gathered&) const = default;
};

void PrintTo(const Gathered& g, std::ostream* out) {
    *out << g.registration << " E" << ::testing::PrintToString(g.issued) << " R"
         << ::testing::PrintToString(g.received);
}

std::vector<Gathered> gather(PeriodInvoices& invoices) {
    std::vector<Gathered> all;
    for (const RegistrationInvoices& registration : invoices.registrations()) {
        RecordCursor issuedRows = invoices.issued(registration);
        RecordCursor receivedRows = invoices.received(registration);
        all.push_back(
            {registrationText(registration.registration), numbersOf(issuedRows), numbersOf(receivedRows)});
    }
    return all;
}

class PeriodInvoicesTest : public ::testing::Test {
protected:
    void open(double start, double end) {
        tables.write(folder.path());
        invoices.open(folder.path().string(), {{start}, {end}});
    }

    test::TempFolder folder;
    Vrk3Tables tables;
    PeriodInvoices invoices;
};

// ---- what is gathered

TEST_F(PeriodInvoicesTest, RegistrationsWithInvoicesInThePeriodInAscendingOrder) {
    tables.issued = {issued(5, day(10), 1), issued(3, day(10), 2), issued(9, day(10, 5), 3),
                     issued(5, day(11), 4)};
    tables.received = {received(7, day(1), 10), received(3, day(31), 11), received(8, day(1, 4), 12)};
    open(day(1), day(31));
    EXPECT_EQ(gather(invoices),
              (std::vector<Gathered>{{"3", {2}, {11}}, {"5", {1, 4}, {}}, {"7", {}, {10}}}));
    EXPECT_EQ(invoices.unassigned().total(), 0u);

    PeriodInvoices june;
    june.open(folder.path().string(), {{day(1, 6)}, {day(30, 6)}});
    EXPECT_TRUE(june.registrations().empty());
}

TEST_F(PeriodInvoicesTest, ZeroAndItsNegativeTwinAreOneRegistrationAsTheWindowMatchesThem) {
    tables.issued = {issued(0.0, day(10), 1), issued(-0.0, day(10), 2), issued(1, day(10), 3)};
    open(day(1), day(31));
    EXPECT_EQ(gather(invoices), (std::vector<Gathered>{{"0", {1, 2}, {}}, {"1", {3}, {}}}));
}

TEST_F(PeriodInvoicesTest, NullNaNAndInfiniteRegistrationsAreCountedApart) {
    paradox::IssuedRow empty = issued(0, day(10), 1);
    empty.insmun = WriterValue{};
    paradox::ReceivedRow emptyReceived = received(0, day(11), 2);
    emptyReceived.insmun = WriterValue{};
    paradox::IssuedRow outside = empty;
    outside.data = day(1, 5);
    tables.issued = {
        empty,   issued(kNaN, day(10), 3), issued(-kNaN, day(12), 4), issued(kInfinity, day(13), 5),
        outside, issued(8, day(14), 6)};
    tables.received = {emptyReceived, received(-kInfinity, day(15), 7)};
    open(day(1), day(31));
    EXPECT_EQ(gather(invoices), (std::vector<Gathered>{{"8", {6}, {}}}));
    EXPECT_EQ(invoices.unassigned().withoutRegistration, 2u);
    EXPECT_EQ(invoices.unassigned().invalidRegistration, 4u);
}

TEST_F(PeriodInvoicesTest, FailuresCarryTheWindowsMessages) {
    tables.issued = {issued(1, day(10), 1)};
    tables.write(folder.path());
    paradox::TableLayout layout = paradox::receivedLayout();
    layout.fields.pop_back(); // TIPDOC
    paradox::TableWriter(layout).writeFile(folder.path() / "DSREC.DB");
    try {
        invoices.open(folder.path().string(), {{day(1)}, {day(31)}});
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "qryRecebida: Field 'TIPDOC' not found");
    }
}

// ---- the same rows as each registration's own query

struct PlacementCase {
    const char* name;
    BlockPlacement placement;
};

class SameRowsAsTheWindowTest : public ::testing::TestWithParam<PlacementCase> {};

// Registrations as VRK 3 tables hold them, and numbers that text would turn into other numbers.
const std::vector<double> kRegistrations = {1,
                                            2,
                                            3,
                                            17,
                                            12345678901.0,
                                            123456789012345678.0,
                                            0.30000000000000004,
                                            0.1,
                                            1e-7,
                                            -5,
                                            0.0,
                                            -0.0,
                                            1e21,
                                            4.5,
                                            99999999999.0,
                                            kNaN,
                                            kInfinity};

TEST_P(SameRowsAsTheWindowTest, EveryRegistrationGetsWhatItsOwnQueryStepSelects) {
    const test::TempFolder folder;
    Vrk3Tables tables;
    tables.placement = GetParam().placement;
    std::mt19937 random(17);
    std::uniform_int_distribution<std::size_t> which(0, kRegistrations.size());
    std::uniform_int_distribution<int> month(1, 12);
    std::size_t inPeriod = 0;
    std::size_t unassigned = 0;
    const auto registrationOf = [&](std::size_t pick) {
        return pick == kRegistrations.size() ? WriterValue{} : WriterValue{kRegistrations[pick]};
    };
    for (std::int32_t n = 1; n <= 1500; ++n) {
        const std::size_t pick = which(random);
        const double date = day(10, month(random));
        paradox::IssuedRow row = issued(0, date, n);
        row.insmun = registrationOf(pick);
        tables.issued.push_back(row);
        paradox::ReceivedRow other = received(0, day(20, month(random)), 100000 + n);
        other.insmun = registrationOf(which(random));
        tables.received.push_back(other);
    }
    const double start = day(1, 3);
    const double end = day(30, 9);
    for (const auto& row : tables.issued) {
        const double date = std::get<double>(row.data);
        const auto* value = std::get_if<double>(&row.insmun);
        const bool inside = date >= start && date <= end;
        inPeriod += inside;
        unassigned += inside && (value == nullptr || !std::isfinite(*value));
    }
    for (const auto& row : tables.received) {
        const double date = std::get<double>(row.data);
        const auto* value = std::get_if<double>(&row.insmun);
        const bool inside = date >= start && date <= end;
        inPeriod += inside;
        unassigned += inside && (value == nullptr || !std::isfinite(*value));
    }
    tables.write(folder.path());

    PeriodInvoices invoices;
    invoices.open(folder.path().string(), {{start}, {end}});
    const std::vector<Gathered> gathered = gather(invoices);
    ASSERT_EQ(gathered.size(), 14u); // 17 values less NaN and infinity, with 0 and -0 as one
    std::size_t rows = 0;
    for (const Gathered& registration : gathered) {
        NoWindowHost host;
        SourceQueries window;
        window.AbreConsultas(registration.registration, {{start}, {end}}, folder.path().string(), host);
        EXPECT_EQ(registration.issued, numbersOf(window.emitida())) << registration.registration;
        EXPECT_EQ(registration.received, numbersOf(window.recebida())) << registration.registration;
        EXPECT_FALSE(registration.issued.empty() && registration.received.empty())
            << registration.registration;
        rows += registration.issued.size() + registration.received.size();
    }
    EXPECT_EQ(invoices.unassigned().total(), unassigned);
    EXPECT_EQ(rows + unassigned, inPeriod);
}

INSTANTIATE_TEST_SUITE_P(Placements, SameRowsAsTheWindowTest,
                         ::testing::Values(PlacementCase{"em-ordem", {}},
                                           PlacementCase{"embaralhada-meio-cheia-com-livres",
                                                         {true, 23, 6, 1}}),
                         kalvian::test::ByCaseName{});

// ---- what the window selects with NULL, NaN and infinite registrations in the table

TEST(NoRegistrationInTheWindow, NothingTypedSelectsNullNaNOrInfiniteRows) {
    const test::TempFolder folder;
    Vrk3Tables tables;
    paradox::IssuedRow empty = issued(0, day(10), 1);
    empty.insmun = WriterValue{};
    tables.issued = {empty,
                     issued(kNaN, day(10), 2),
                     issued(-kNaN, day(10), 3),
                     issued(kInfinity, day(10), 4),
                     issued(-kInfinity, day(10), 5),
                     issued(0.0, day(10), 6)};
    tables.write(folder.path());
    const struct {
        const char* typed;
        std::vector<std::int32_t> numbers;
    } cases[] = {{"", {}},    {" ", {}},    {"0", {6}},    {"-0", {6}},    {"nan", {}}, {"NaN", {}},
                 {"inf", {}}, {"-inf", {}}, {"1e999", {}}, {"-1e999", {}}, {"NAN", {}}, {"INF", {}}};
    for (const auto& c : cases) {
        NoWindowHost host;
        SourceQueries window;
        window.AbreConsultas(c.typed, {{day(1)}, {day(31)}}, folder.path().string(), host);
        EXPECT_EQ(numbersOf(window.emitida()), c.numbers) << "'" << c.typed << "'";
    }
}

// ---- registration text

TEST(RegistrationText, WholeNumbersWithAllTheirDigitsOthersInTheShortestExactForm) {
    const struct {
        double registration;
        const char* text;
    } cases[] = {
        {123, "123"},
        {12345678901.0, "12345678901"},
        // The double nearest to 123456789012345678 is 123456789012345680, and that is what the table holds.
        {123456789012345678.0, "123456789012345680"},
        {1e21, "1000000000000000000000"},
        {-5, "-5"},
        {0.0, "0"},
        {4.5, "4.5"},
        {0.30000000000000004, "0.30000000000000004"},
        {0.1, "0.1"},
        {1e-7, "1e-07"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(registrationText(c.registration), c.text) << c.text;
    }
}

TEST(RegistrationText, ReadsBackAsExactlyTheSameNumber) {
    std::mt19937_64 random(99);
    std::vector<double> values = {std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
                                  std::numeric_limits<double>::min(),
                                  std::numeric_limits<double>::denorm_min(), 9007199254740993.0};
    std::uniform_real_distribution<double> anywhere(-1e12, 1e12);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 2000; ++i) {
        values.push_back(anywhere(random));
        values.push_back(std::round(anywhere(random)));
        const double raw = std::bit_cast<double>(bits(random));
        if (std::isfinite(raw)) {
            values.push_back(raw);
        }
    }
    for (const double value : values) {
        const std::string text = registrationText(value);
        const std::optional<double> back = registrationNumber(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*back), std::bit_cast<std::uint64_t>(value)) << text;
    }
}

} // namespace
} // namespace kalvian
