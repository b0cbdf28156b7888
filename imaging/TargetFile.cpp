#include "imaging/TargetFile.h"

#include "platform/files/FileSystem.h"
#include "platform/files/Path.h"

namespace kelvarn::imaging {

namespace {

// Names ".kelvarn<n>.tmp" that are taken (by a concurrent conversion, a leftover or anything
// else) are skipped; beyond this many the folder is treated as unusable.
constexpr int kSiblingCandidates = 1000;

} // namespace

bool TargetFile::create(const char* target) {
    discard();
    if (!target)
        return false;
    // The folder is cut off in the native form: in the runtime text a '\' may be the trail byte
    // of a double-byte character.
    const std::string native = platform::toNativePath(target);
    if (native.empty() || native.back() == '/')
        return false;
    const size_t slash = native.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
    for (int n = 0; n < kSiblingCandidates; ++n) {
        const std::string candidate =
            platform::fromNativePath(folder + ".kelvarn" + std::to_string(n) + ".tmp");
        // Created exclusively, never opened if anything of that name exists (a link
        // included), so the sibling is always a new file of this conversion. Conversions on
        // other threads create and rename their own siblings meanwhile: whether the name was
        // taken is what the open said, not what is there a moment later.
        bool taken = false;
        if (platform::createNewStream(candidate, taken)) {
            m_target = target;
            m_sibling = candidate;
            return true;
        }
        if (!taken)
            return false; // the folder itself refuses new files
    }
    return false;
}

bool TargetFile::commit() {
    if (m_sibling.empty())
        return false;
    if (!platform::renameFile(m_sibling, m_target)) {
        discard();
        return false;
    }
    m_sibling.clear();
    m_target.clear();
    return true;
}

void TargetFile::discard() {
    if (!m_sibling.empty())
        platform::deleteFile(m_sibling);
    m_sibling.clear();
    m_target.clear();
}

} // namespace kelvarn::imaging
