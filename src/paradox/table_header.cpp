#include "paradox/table_header.h"

#include "paradox/paradox_layout.h"
#include "paradox/table_error.h"

#include <algorithm>
#include <array>

namespace kalvian::paradox {

namespace {

using namespace layout;

std::uint16_t word(const std::vector<std::byte>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned>(bytes[at]) | static_cast<unsigned>(bytes[at + 1])
                                                                             << 8);
}

std::uint32_t dword(const std::vector<std::byte>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(word(bytes, at)) | static_cast<std::uint32_t>(word(bytes, at + 2))
                                                             << 16;
}

class HeaderReader {
public:
    explicit HeaderReader(const ByteSource& source) : m_source(source) {}

    TableHeader read() {
        readFixedPart();
        checkKind();
        readSizes();
        readFields();
        readFieldNames();
        m_header.bytes = std::move(m_bytes);
        return m_header;
    }

private:
    [[noreturn]] void damaged(const std::string& what) const { throw damagedTable(m_source.name(), what); }

    bool level4OrLater() const { return m_header.versionCode >= kFirstLevel4Version; }

    void readFixedPart() {
        m_bytes.resize(kDescriptorsOld);
        if (m_source.readAt(0, m_bytes) < kDescriptorsOld) {
            damaged("arquivo menor que um cabeçalho, " + std::to_string(m_source.size()) + " bytes");
        }
        m_header.versionCode = static_cast<int>(m_bytes[kVersion]);
    }

    void checkKind() const {
        const int fileType = static_cast<int>(m_bytes[kFileType]);
        if (fileType != 0 && fileType != 2) {
            throw notADataTable(m_source.name(), "tipo de arquivo " + std::to_string(fileType));
        }
        if (m_header.versionCode < kFirstVersion || m_header.versionCode > kLevel7Version) {
            damaged("versão desconhecida " + std::to_string(m_header.versionCode));
        }
    }

    void readSizes() {
        m_header.recordSize = word(m_bytes, kRecordSize);
        m_header.headerSize = word(m_bytes, kHeaderSize);
        m_header.recordCount = dword(m_bytes, kRecordCount);
        m_header.firstBlock = word(m_bytes, kFirstBlock);
        const int kilobytes = static_cast<int>(m_bytes[kBlockKilobytes]);
        if (std::find(kBlockKilobyteChoices.begin(), kBlockKilobyteChoices.end(), kilobytes) ==
            kBlockKilobyteChoices.end()) {
            damaged("tamanho de bloco inválido: " + std::to_string(kilobytes) + " KB");
        }
        m_header.blockSize = kilobytes * 1024;
        const std::size_t descriptors = level4OrLater() ? kDescriptorsNew : kDescriptorsOld;
        if (m_header.headerSize < static_cast<int>(descriptors)) {
            damaged("tamanho do cabeçalho inválido: " + std::to_string(m_header.headerSize));
        }
        if (static_cast<std::uint64_t>(m_header.headerSize) > m_source.size()) {
            damaged("arquivo menor que o cabeçalho, " + std::to_string(m_source.size()) + " de " +
                    std::to_string(m_header.headerSize) + " bytes");
        }
        m_bytes.resize(static_cast<std::size_t>(m_header.headerSize));
        m_source.readAt(0, m_bytes);
        checkEncryption();
        // Block n (from 1) starts at headerSize + (n - 1) * blockSize; it must at least hold its 6-byte head.
        const std::uint64_t dataBytes = m_source.size() - static_cast<std::uint64_t>(m_header.headerSize);
        const std::uint64_t blocks = (dataBytes + static_cast<std::uint64_t>(m_header.blockSize) - 6) /
                                     static_cast<std::uint64_t>(m_header.blockSize);
        m_header.lastFileBlock = static_cast<int>(std::min<std::uint64_t>(blocks, 0xFFFF));
        if (m_header.recordSize < 1 || m_header.recordSize > m_header.blockSize - 6) {
            damaged("tamanho de registro inválido: " + std::to_string(m_header.recordSize));
        }
        if (level4OrLater()) {
            m_header.codePage = word(m_bytes, kCodePage);
        }
    }

    void checkEncryption() const {
        // Level 4+ tables keep a fixed marker in the old slot and the key in the new one.
        const bool encrypted = dword(m_bytes, level4OrLater() ? kEncryptionNew : kEncryptionOld) != 0;
        if (encrypted) {
            throw encryptedTable(m_source.name());
        }
    }

    void readFields() {
        const int count = word(m_bytes, kFieldCount);
        m_descriptors = level4OrLater() ? kDescriptorsNew : kDescriptorsOld;
        if (count < 1 || m_descriptors + 2 * static_cast<std::size_t>(count) > m_bytes.size()) {
            damaged("número de campos inválido: " + std::to_string(count));
        }
        int offset = 0;
        for (int i = 0; i < count; ++i) {
            const std::size_t at = m_descriptors + 2 * static_cast<std::size_t>(i);
            const auto code = static_cast<std::uint8_t>(m_bytes[at]);
            const int declaredSize = static_cast<int>(m_bytes[at + 1]);
            const std::string which = "campo " + std::to_string(i + 1);
            const std::optional<FieldType> type = fieldTypeFromCode(code);
            if (!type) {
                damaged(which + " de tipo desconhecido: " + std::to_string(code));
            }
            FieldInfo field;
            field.type = *type;
            field.offset = offset;
            // A BCD descriptor gives the number of decimals; the field always takes 17 bytes.
            field.size = fixedFieldSize(*type).value_or(declaredSize);
            if (*type == FieldType::Bcd) {
                field.decimals = declaredSize;
            }
            const bool sizeOk = *type == FieldType::Bcd ? declaredSize <= 32
                                : fixedFieldSize(*type) ? declaredSize == field.size
                                                        : declaredSize > 0;
            if (!sizeOk) {
                damaged(which + " de tamanho inválido: " + std::to_string(declaredSize));
            }
            offset += field.size;
            m_header.fields.push_back(std::move(field));
        }
        if (offset != m_header.recordSize) {
            damaged("os campos somam " + std::to_string(offset) + " bytes e o registro tem " +
                    std::to_string(m_header.recordSize));
        }
    }

    void readFieldNames() {
        const std::size_t count = m_header.fields.size();
        const std::size_t tableName =
            m_header.versionCode >= kLevel7Version ? kTableNameLevel7 : kTableNameOld;
        std::size_t at = m_descriptors + 2 * count + kPointerSize * (count + 1) + tableName;
        for (FieldInfo& field : m_header.fields) {
            const auto begin = m_bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, m_bytes.size()));
            const auto end = std::find(begin, m_bytes.end(), std::byte{0});
            if (end == m_bytes.end()) {
                damaged("nomes dos campos fora do cabeçalho");
            }
            field.name.assign(reinterpret_cast<const char*>(&*begin), static_cast<std::size_t>(end - begin));
            at += field.name.size() + 1;
        }
    }

    const ByteSource& m_source;
    std::vector<std::byte> m_bytes;
    std::size_t m_descriptors = 0;
    TableHeader m_header;
};

} // namespace

TableHeader readTableHeader(const ByteSource& source) {
    return HeaderReader(source).read();
}

} // namespace kalvian::paradox
