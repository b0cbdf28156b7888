#include "imaging/TargetFile.h"

#include "platform/files/FileSystem.h"
#include "platform/files/Path.h"

namespace kelvarn::imaging {

namespace {

// Hidden names ".kelvarn<n>.tmp" that are taken (by a concurrent conversion, a leftover or
// anything else) are skipped; beyond this many the folder is treated as unusable.
constexpr int kHiddenNameCandidates = 1000;

} // namespace

std::string TargetFile::hiddenName(int number) const {
    return platform::fromNativePath(m_folder + ".kelvarn" + std::to_string(number) + ".tmp");
}

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
    m_folder = slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
    m_target = target;
    switch (m_unnamed.create(platform::fromNativePath(m_folder))) {
    case platform::UnnamedFile::Status::Ok:
        m_writePath = m_unnamed.path();
        return true;
    case platform::UnnamedFile::Status::Unsupported:
        if (createSibling())
            return true;
        break;
    case platform::UnnamedFile::Status::Failed:
        break;
    }
    discard();
    return false;
}

bool TargetFile::createSibling() {
    for (int n = 0; n < kHiddenNameCandidates; ++n) {
        std::string candidate = hiddenName(n);
        // Created exclusively, never opened if anything of that name exists (a link included),
        // so the sibling is always a new file of this conversion. Conversions on other threads
        // create and rename their own siblings meanwhile: whether the name was taken is what
        // the open said, not what is there a moment later.
        bool taken = false;
        if (platform::createNewStream(candidate, taken)) {
            m_pending.registerName(candidate);
            m_sibling = std::move(candidate);
            m_writePath = m_sibling;
            return true;
        }
        if (!taken)
            return false; // the folder itself refuses new files
    }
    return false;
}

bool TargetFile::commit() {
    bool ok = false;
    if (!m_sibling.empty()) {
        ok = replaceWithSibling();
    } else if (!m_writePath.empty()) {
        bool taken = false;
        ok = m_unnamed.link(m_target, taken) || (taken && replaceWithUnnamed());
    }
    discard();
    return ok;
}

bool TargetFile::replaceWithUnnamed() {
    for (int n = 0; n < kHiddenNameCandidates; ++n) {
        const std::string candidate = hiddenName(n);
        bool taken = false;
        if (m_unnamed.link(candidate, taken)) {
            // Only between the link and the rename does the file have a name of its own.
            m_pending.registerName(candidate);
            const bool renamed = platform::renameFile(candidate, m_target);
            if (!renamed)
                platform::deleteFile(candidate);
            m_pending.release();
            return renamed;
        }
        if (!taken)
            return false;
    }
    return false;
}

bool TargetFile::replaceWithSibling() {
    if (!platform::renameFile(m_sibling, m_target))
        return false;
    // Renamed: the sibling's name is gone and must not be removed by anyone now.
    m_pending.release();
    m_sibling.clear();
    return true;
}

void TargetFile::discard() {
    if (!m_sibling.empty())
        platform::deleteFile(m_sibling);
    m_pending.release();
    m_unnamed.close();
    m_sibling.clear();
    m_writePath.clear();
    m_target.clear();
    m_folder.clear();
}

} // namespace kelvarn::imaging
