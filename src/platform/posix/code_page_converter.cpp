#include "platform/code_page_converter.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <vector>

namespace kalvian {

namespace {

constexpr char kTarget[] = "CP1252";
constexpr char kWide[] = "UTF-32LE";
constexpr std::size_t kWideChar = 4;

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openIconv(const std::string& to, const std::string& from) {
    const iconv_t handle = iconv_open(to.c_str(), from.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    return IconvHandle(handle);
}

// Converts as much as it can; an input unit iconv rejects is replaced and skipped (skip bytes). Returns
// false when the input ends inside an incomplete character, which is replaced too.
bool convertReplacing(void* handle, std::string_view input, std::size_t skip, std::string_view replacement,
                      std::string& output) {
    auto* const cd = static_cast<iconv_t>(handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::vector<char> buffer(input.size() * kWideChar + 16);
    bool complete = true;
    while (inLeft > 0) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer.data(), out);
        if (result != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        output.append(replacement);
        if (errno == EINVAL) {
            complete = false;
            break;
        }
        const std::size_t step = std::min(skip, inLeft);
        in += step;
        inLeft -= step;
    }
    return complete;
}

// Through UTF-32 so that an invalid source byte and an unrepresentable character are each replaced once.
// The iconv state is shared by copies and by threads (the export builds lines on two): one conversion at a
// time.
class IconvConverter : public CodePageConverter {
public:
    explicit IconvConverter(int codePage)
        : m_toWide(openIconv(kWide, "CP" + std::to_string(codePage))), m_fromWide(openIconv(kTarget, kWide)) {
    }

    bool valid() const { return m_toWide && m_fromWide; }

    std::string toWindows1252(std::string_view input, bool& complete) const override {
        const std::lock_guard lock(m_converting);
        std::string wide;
        const char replacementChar[kWideChar] = {'?', 0, 0, 0};
        complete =
            convertReplacing(m_toWide.get(), input, 1, std::string_view(replacementChar, kWideChar), wide);
        std::string narrow;
        convertReplacing(m_fromWide.get(), wide, kWideChar, "?", narrow);
        return narrow;
    }

private:
    IconvHandle m_toWide;
    IconvHandle m_fromWide;
    mutable std::mutex m_converting;
};

} // namespace

std::unique_ptr<const CodePageConverter> CodePageConverter::open(int codePage) {
    auto converter = std::make_unique<IconvConverter>(codePage);
    if (!converter->valid()) {
        return nullptr;
    }
    return converter;
}

} // namespace kalvian
