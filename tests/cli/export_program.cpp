#include "export_program.h"

#include "support/temp_folder.h"

#include <cstdlib>
#include <sys/wait.h>

namespace kalvian::test {

ProgramRun runExport(const std::filesystem::path& folder, const std::string& arguments,
                     const std::filesystem::path& scratch) {
    const std::string out = (scratch / "out.txt").string();
    const std::string err = (scratch / "err.txt").string();
    const std::string command = "cd '" + folder.string() +
                                "' && LC_ALL=C LANG=C '" KALVIAN_EXPORT_PROGRAM "' " + arguments + " >'" +
                                out + "' 2>'" + err + "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

} // namespace kalvian::test
