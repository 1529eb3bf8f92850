#include "platform/replacing_file.h"

namespace kalvian {

void ReplacingFile::fail(FileStep step, int systemError) const {
    throw FileError(systemError, step, m_target);
}

void ReplacingFile::writeAll(std::string_view bytes) {
    for (std::string_view rest = bytes; !rest.empty();) {
        std::size_t written = 0;
        const int error = m_calls.write(m_file, rest.data(), rest.size(), written);
        if (error != 0 || written == 0) {
            // A write that moves nothing without a cause is a full disk all the same.
            fail(FileStep::Write, error != 0 ? error : FileCalls::kDiskFull);
        }
        rest.remove_prefix(written);
    }
    // The disk takes the file a few megabytes at a time while the rest is built, so that the flush at commit
    // has little left to wait for. Only a hint: whatever fails here, that flush reports.
    constexpr long long kWritebackStep = 4 << 20;
    m_written += static_cast<long long>(bytes.size());
    if (m_written - m_writebackAsked >= kWritebackStep) {
        m_calls.startWriteback(m_file, m_writebackAsked, m_written - m_writebackAsked);
        m_writebackAsked = m_written;
    }
}

void ReplacingFile::sync() {
    if (const int error = m_calls.sync(m_file)) {
        fail(FileStep::Sync, error);
    }
}

void ReplacingFile::write(std::string_view bytes) {
    m_output.write(bytes, [this](std::string_view all) { writeAll(all); });
}

bool ReplacingFile::commit(Placement placement) {
    // Once on the disk, the file stays there for every later attempt to name it.
    if (!m_synced) {
        m_output.flush([this](std::string_view all) { writeAll(all); });
        sync();
        m_synced = true;
    }
    if (placement == Placement::Replace) {
        publishReplacing();
        return true;
    }
    return publishNew();
}

} // namespace kalvian
