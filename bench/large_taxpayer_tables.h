#pragma once

#include "vrk3_tables.h"

namespace kalvian::bench {

// The registration that holds a tenth of each table's rows in the period: 100,000 issued invoices (a third
// of them short "X" ones) and 100,000 received ones, each with a client that is found.
inline constexpr const char* kLargeTaxpayer = "123";

// DSEMI and DSREC of 1,000,000 rows each and DSCLI of 100,000 clients, as an office's folder holds them:
// besides the large taxpayer's rows of 2008, rows of about a thousand other registrations and rows dated
// outside the period, mixed in at random; clients with accented names and full addresses, each invoice's
// client drawn from all of them. 4 KiB blocks, shuffled, 60 to 100% full, 16 free blocks among them. A
// fixed seed gives the same tables on every machine.
paradox::Vrk3Tables largeTaxpayerTables();

} // namespace kalvian::bench
