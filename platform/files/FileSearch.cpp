#include "platform/files/FileSearch.h"

#include "platform/files/Path.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelvarn::platform {

// One matching entry of a folder, read ahead so that the search can hand them out sorted. Its
// folded name and native name live in the handle's two pools, so that a large folder costs
// no allocation per entry.
struct FoundEntry {
    uint32_t keyAt, keyLength;   // the folded name, in m_keys
    uint32_t nameAt, nameLength; // the native name, zero-terminated in m_names
    unsigned char rank;          // "." 0, ".." 1, any other name 2
    unsigned char type;          // d_type as the folder listing gave it
};

class FindHandle {
public:
    std::string m_folder; // native, ends in '/'
    std::u32string m_keys;
    std::string m_names;
    std::vector<FoundEntry> m_entries;
    size_t m_next = 0;
};

namespace {

// Code points of a UTF-8 native name; a byte that is not valid UTF-8 stands for itself in the
// range U+DC80..U+DCFF so that it still matches '?' and itself, never a real character.
std::u32string decodeName(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    auto* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = p[i];
        size_t n = c < 0x80                   ? 1
                   : (c >= 0xC2 && c <= 0xDF) ? 2
                   : (c >= 0xE0 && c <= 0xEF) ? 3
                   : (c >= 0xF0 && c <= 0xF4) ? 4
                                              : 0;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = n > 0 && i + n <= s.size();
        for (size_t k = 1; ok && k < n; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (!ok) {
            out.push_back(0xDC00 + c);
            ++i;
        } else {
            out.push_back(cp);
            i += n;
        }
    }
    return out;
}

// Case folding for matching: ASCII, Latin-1, Greek and Cyrillic letters. Other scripts have no
// case or are matched exactly.
char32_t foldCase(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c < 0x80)
        return c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

std::u32string folded(std::string_view utf8) {
    std::u32string s = decodeName(utf8);
    for (auto& c : s)
        c = foldCase(c);
    return s;
}

// '*' matches any run (also empty), '?' exactly one character; iterative with one backtrack
// point, so hostile patterns stay linear-ish.
bool matchFolded(std::u32string_view pattern, std::u32string_view name) {
    // "*.*" is every name, with or without a dot.
    if (pattern == U"*.*")
        return true;
    size_t p = 0, n = 0, starP = std::u32string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

bool hasWildcard(std::string_view s) {
    return s.find_first_of("*?") != std::string_view::npos;
}

uint32_t attributesOf(const std::string& fullPath, const char* name, unsigned char type) {
    uint32_t attributes = 0;
    bool isDir = type == DT_DIR;
    bool isReg = type == DT_REG;
    if (type == DT_UNKNOWN || type == DT_LNK) {
        struct stat st;
        if (stat(fullPath.c_str(), &st) == 0) {
            isDir = S_ISDIR(st.st_mode);
            isReg = S_ISREG(st.st_mode);
        }
    }
    if (isDir)
        attributes |= kAttrDirectory;
    if (isReg)
        attributes |= kAttrArchive;
    if (name[0] == '.' && std::string_view(name) != "." && std::string_view(name) != "..")
        attributes |= kAttrHidden;
    if (access(fullPath.c_str(), W_OK) != 0 && errno != ENOENT)
        attributes |= kAttrReadOnly;
    return attributes;
}

// Reads every entry that matches and orders them: "." and ".." lead, then names by their
// folded code points, equal ones by their bytes, as the file system the runtime was first
// written for lists a folder. False when the folder cannot be opened.
bool readFolder(FindHandle& h, const std::u32string& pattern) {
    DIR* dir = opendir(h.m_folder.c_str());
    if (!dir)
        return false;
    while (dirent* e = readdir(dir)) {
        const std::u32string key = folded(e->d_name);
        if (!matchFolded(pattern, key))
            continue;
        const std::string_view name = e->d_name;
        const unsigned char rank = name == "." ? 0 : name == ".." ? 1 : 2;
        h.m_entries.push_back({uint32_t(h.m_keys.size()), uint32_t(key.size()),
                               uint32_t(h.m_names.size()), uint32_t(name.size()), rank, e->d_type});
        h.m_keys.append(key);
        h.m_names.append(name).push_back('\0');
    }
    closedir(dir);
    const std::u32string_view keys = h.m_keys;
    const std::string_view names = h.m_names;
    std::sort(h.m_entries.begin(), h.m_entries.end(),
              [keys, names](const FoundEntry& a, const FoundEntry& b) {
                  if (a.rank != b.rank)
                      return a.rank < b.rank;
                  const int order =
                      keys.substr(a.keyAt, a.keyLength).compare(keys.substr(b.keyAt, b.keyLength));
                  if (order != 0)
                      return order < 0;
                  return names.substr(a.nameAt, a.nameLength) <
                         names.substr(b.nameAt, b.nameLength);
              });
    return true;
}

bool readNext(FindHandle& h, FindData& out) {
    if (h.m_next >= h.m_entries.size())
        return false;
    const FoundEntry& e = h.m_entries[h.m_next++];
    const char* name = h.m_names.c_str() + e.nameAt;
    out.name = fromNativePath(std::string_view(name, e.nameLength));
    out.attributes = attributesOf(h.m_folder + name, name, e.type);
    return true;
}

} // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    return matchFolded(folded(toNativePath(pattern)), folded(toNativePath(name)));
}

FindHandle* findFirstFile(std::string_view pattern, FindData& first) {
    std::string native = toNativePath(pattern);
    size_t slash = native.rfind('/');
    std::string folder =
        slash == std::string::npos ? std::string("./") : native.substr(0, slash + 1);
    std::string last = slash == std::string::npos ? native : native.substr(slash + 1);
    // Wildcards stand only in the last component; an empty last component names no entry.
    if (last.empty() || hasWildcard(folder))
        return nullptr;
    auto handle = std::make_unique<FindHandle>();
    // A name without wildcards that exists as written is answered without reading the folder
    // (existence checks of large folders stay cheap); the search then holds that one entry.
    // Otherwise the folder is read, so that a different letter case still matches.
    if (!hasWildcard(last) && last != "." && last != "..") {
        struct stat st;
        if (lstat(native.c_str(), &st) == 0) {
            first.name = fromNativePath(last);
            first.attributes = attributesOf(native, last.c_str(), DT_UNKNOWN);
            handle->m_folder = std::move(folder);
            return handle.release();
        }
    }
    handle->m_folder = std::move(folder);
    if (!readFolder(*handle, folded(last)) || !readNext(*handle, first))
        return nullptr;
    return handle.release();
}

bool findNextFile(FindHandle* handle, FindData& next) {
    return handle && readNext(*handle, next);
}

void findClose(FindHandle* handle) {
    delete handle;
}

} // namespace kelvarn::platform
