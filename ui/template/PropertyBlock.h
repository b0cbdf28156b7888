#pragma once
// Shared reading and writing of the per-type property blocks. Every block starts with a dword
// version; fields that an older version lacks keep their defaults, and an empty block means
// all defaults. A reader rejects a version above its type's maximum and a block that ends
// early; a unit whose block is rejected cannot be created.

#include "ui/template/ByteReader.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FontBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class BlockStatus { Ok, TooNewVersion, Truncated };

// Reads a block's fields in order; after the first failed read every later read does nothing,
// so a type's reader is a plain list of its fields and one check at the end.
class BlockReader {
public:
    explicit BlockReader(std::span<const uint8_t> block) : m_reader(block) {}

    void dword(int32_t& v) { m_ok = m_ok && readI32(m_reader, v); }
    void dword(uint32_t& v) { m_ok = m_ok && readU32(m_reader, v); }
    void word(uint16_t& v) { m_ok = m_ok && readU16(m_reader, v); }
    void bytes(std::vector<uint8_t>& v) { m_ok = m_ok && readCountedBytes(m_reader, v); }
    void text(std::string& v) { m_ok = m_ok && readCountedText(m_reader, v); }
    void font(FontBlock& v);
    // An item count, then that many counted texts.
    void items(std::vector<std::string>& v);

    bool ok() const { return m_ok; }

private:
    SpanReader m_reader;
    bool m_ok = true;
};

// Reads the version word of a non-empty block and checks it against the type's maximum.
BlockStatus readBlockVersion(BlockReader& r, uint32_t maxVersion, uint32_t& version);

// Writes a block's fields with the calls a BlockReader reads them with, so that a type lists its
// fields once for both.
class BlockWriter {
public:
    void dword(int32_t v) { m_writer.i32(v); }
    void dword(uint32_t v) { m_writer.u32(v); }
    void word(uint16_t v) { m_writer.u16(v); }
    void bytes(const std::vector<uint8_t>& v) { m_writer.countedBytes(v); }
    void text(const std::string& v) { m_writer.countedText(v); }
    void font(const FontBlock& v) { m_writer.countedBytes(v.bytes()); }
    void items(const std::vector<std::string>& v);

    std::vector<uint8_t> take() { return m_writer.take(); }

private:
    ByteWriter m_writer;
};

// Reads `block` into a fresh set of defaults and hands it over only when the whole block was
// accepted, so a rejected block leaves `target` as it was.
template <typename Properties>
BlockStatus readPropertyBlock(Properties& target, std::span<const uint8_t> block) {
    Properties fresh;
    if (block.empty()) {
        target = std::move(fresh);
        return BlockStatus::Ok;
    }
    BlockReader r(block);
    uint32_t version = 0;
    if (BlockStatus s = readBlockVersion(r, Properties::kMaxVersion, version); s != BlockStatus::Ok)
        return s;
    Properties::fields(fresh, r, version);
    if (!r.ok())
        return BlockStatus::Truncated;
    target = std::move(fresh);
    return BlockStatus::Ok;
}

} // namespace kelvarn::ui

namespace kelvarn::ui {

// The block of a property set in its stored layout at the type's maximum version.
template <typename Properties> std::vector<uint8_t> writePropertyBlock(const Properties& p) {
    BlockWriter w;
    w.dword(Properties::kMaxVersion);
    Properties::fields(p, w, Properties::kMaxVersion);
    return w.take();
}

} // namespace kelvarn::ui
