#include "ui/template/PropertyBlock.h"

namespace kelvarn::ui {

void BlockReader::font(FontBlock& v) {
    std::vector<uint8_t> stored;
    bytes(stored);
    if (m_ok)
        v = FontBlock::fromStored(stored);
}

void BlockReader::items(std::vector<std::string>& v) {
    uint32_t count = 0;
    m_ok = m_ok && readItemCount(m_reader, count);
    // Each item takes at least its count word: refuse a count the block cannot hold before
    // reserving room for it.
    if (!m_ok || count > m_reader.remaining() / 4) {
        m_ok = false;
        return;
    }
    std::vector<std::string> list(count);
    for (auto& item : list)
        text(item);
    if (m_ok)
        v = std::move(list);
}

BlockStatus readBlockVersion(BlockReader& r, uint32_t maxVersion, uint32_t& version) {
    r.dword(version);
    if (!r.ok())
        return BlockStatus::Truncated;
    return version > maxVersion ? BlockStatus::TooNewVersion : BlockStatus::Ok;
}

void BlockWriter::items(const std::vector<std::string>& v) {
    m_writer.itemCount(static_cast<uint32_t>(v.size()));
    for (const auto& item : v)
        m_writer.countedText(item);
}

} // namespace kelvarn::ui
