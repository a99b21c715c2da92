// The version resource of an executable (VS_VERSIONINFO) read from its
// bytes: the fixed file information and the StringFileInfo texts, what
// Explorer shows as the file's properties. Bounded like PeImage: a block
// whose lengths do not fit its parent makes the resource not readable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/files/PeImage.h"

namespace lumora::test {

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xfeef04bd;
inline constexpr std::uint32_t kFileTypeApp = 1;  // VFT_APP

struct FixedFileInfo {
    std::uint32_t fileVersionMs = 0;
    std::uint32_t fileVersionLs = 0;
    std::uint32_t productVersionMs = 0;
    std::uint32_t productVersionLs = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOs = 0;
    std::uint32_t fileType = 0;
};

// "major.minor.patch.build" of a version's two halves.
std::string VersionText(std::uint32_t ms, std::uint32_t ls);

struct VersionString {
    std::string key;
    // UTF-8, up to the text's terminating zero.
    std::string value;
};

// One block of StringFileInfo, named by its language and code page in hex
// ("040904B0").
struct StringTable {
    std::string key;
    std::vector<VersionString> strings;

    const std::string* Find(const std::string& key) const;
};

struct Translation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

struct VersionInfo {
    // Absent when the resource carries none.
    std::optional<FixedFileInfo> fixed;
    std::vector<StringTable> stringTables;
    // VarFileInfo's Translation: the languages the string tables are in.
    std::vector<Translation> translations;

    // The string table of |translation|, as VerQueryValue looks it up.
    const StringTable* TableOf(Translation translation) const;
};

Readable<VersionInfo> ReadVersionInfo(const std::vector<std::uint8_t>& resource);

}  // namespace lumora::test
