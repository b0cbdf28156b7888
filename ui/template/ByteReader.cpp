#include "ui/template/ByteReader.h"

#include <algorithm>
#include <cstring>

namespace kelvarn::ui {

bool SpanReader::read(void* out, size_t n) {
    if (n > remaining())
        return false;
    if (n != 0)
        std::memcpy(out, m_bytes.data() + m_position, n);
    m_position += n;
    return true;
}

bool SpanReader::skip(size_t n) {
    if (n > remaining())
        return false;
    m_position += n;
    return true;
}

int SpanReader::nextByte() {
    if (m_position >= m_bytes.size())
        return -1;
    return m_bytes[m_position++];
}

bool BufferedStreamReader::refill() {
    size_t n = std::min(kBufferSize, m_stream.size() - m_streamPos);
    if (n == 0)
        return false;
    std::memcpy(m_buffer.data(), m_stream.data() + m_streamPos, n);
    m_streamPos += n;
    m_buffered = n;
    m_bufferPos = 0;
    return true;
}

bool BufferedStreamReader::read(void* out, size_t n) {
    if (n > remaining())
        return false;
    auto* dst = static_cast<uint8_t*>(out);
    while (n > 0) {
        if (m_bufferPos == m_buffered && !refill())
            return false;
        size_t chunk = std::min(n, m_buffered - m_bufferPos);
        std::memcpy(dst, m_buffer.data() + m_bufferPos, chunk);
        m_bufferPos += chunk;
        dst += chunk;
        n -= chunk;
    }
    return true;
}

int BufferedStreamReader::nextByte() {
    if (m_bufferPos == m_buffered && !refill())
        return -1;
    return m_buffer[m_bufferPos++];
}

} // namespace kelvarn::ui
