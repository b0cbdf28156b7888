#pragma once
// The decoded form of a picture property, kept while the property's bytes stay the same: a
// write of other bytes discards it and the next paint decodes them.

#include "platform/windowing/Picture.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kelvarn::ui {

class PictureCache {
public:
    // Null when the bytes are empty or do not decode.
    const platform::Picture* get(const std::vector<uint8_t>& bytes) {
        if (bytes != m_bytes) {
            m_bytes = bytes;
            m_picture = platform::Picture::decode(m_bytes);
        }
        return m_picture.get();
    }

private:
    std::vector<uint8_t> m_bytes;
    std::shared_ptr<const platform::Picture> m_picture;
};

} // namespace kelvarn::ui
