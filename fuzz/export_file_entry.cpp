#include "export_file_entry.h"

#include "common/error.h"
#include "export_check/export_file_check.h"

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace kalvian {

namespace {

// The bytes as a file --conferir is pointed at: one file in memory for the whole run, named by its path.
std::string asFile(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("export-file", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

void describe(std::string& out, const ExactSum& sum) {
    out += sum.text(',', '.');
    out += ' ';
}

// Everything a reading adds up, as text: equal texts, equal readings.
std::string summary(const ExportLineCheck& check) {
    const ExportTotals& t = check.totals();
    std::string out = std::to_string(check.lines()) + ' ' + check.registration() + ' ';
    for (const std::int64_t count :
         {t.issued, t.issuedShort, t.received, t.withoutClient, t.withoutClientCode, t.ambiguousReadings,
          std::int64_t{t.moreMissingCodes}}) {
        out += std::to_string(count) + ' ';
    }
    for (const std::int64_t code : t.missingClientCodes) {
        out += std::to_string(code) + ',';
    }
    for (const ExactSum* sum :
         {&t.issuedValue, &t.issuedServices, &t.receivedValue, &t.receivedServices, &t.withheldTax}) {
        describe(out, *sum);
    }
    return out;
}

// What a reading gave: its summary, or the message it failed with.
struct Reading {
    bool accepted = false;
    std::string text;
};

Reading checkedAsAFile(const std::uint8_t* data, std::size_t size) {
    try {
        return {true, summary(checkExportFile(asFile(data, size)))};
    } catch (const Error& error) {
        return {false, error.what()};
    }
}

Reading addedAsWritten(const std::uint8_t* data, std::size_t size) {
    try {
        ExportLineCheck check;
        check.addWritten({reinterpret_cast<const char*>(data), size});
        check.finish();
        return {true, summary(check)};
    } catch (const Error& error) {
        return {false, error.what()};
    }
}

} // namespace

bool readExportFileForFuzzing(const std::uint8_t* data, std::size_t size) {
    const Reading checked = checkedAsAFile(data, size);
    const Reading added = addedAsWritten(data, size);
    // The export's reading checks less (its usual lines only by their places), so it may accept what the
    // check refuses; a file the check accepts it must read to the same counts and sums.
    if (checked.accepted && (!added.accepted || added.text != checked.text)) {
        std::abort();
    }
    return checked.accepted;
}

} // namespace kalvian
