#include "file_name.h"

#include "common/trim.h"
#include "export/date_format.h"

namespace kalvian {

std::string NomeArquivoPadrao(std::string_view registration, double start, double end) {
    std::string name = "VRK3_";
    name += trimBlanks(registration);
    name += "__" + formatDate(start, '_') + "__" + formatDate(end, '_') + ".txt";
    return name;
}

} // namespace kalvian
