#include "tests/files/VersionResource.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace lumora::test {
namespace {

// Each block: its length (with its children), its value's length (bytes,
// or characters for a text), its type (1 for a text), then its key as a
// zero-ended UTF-16 text; the value and each child start on a four-byte
// boundary of the resource.
constexpr std::uint64_t kBlockHeaderSize = 6;
constexpr std::uint64_t kFixedFileInfoSize = 52;
constexpr std::uint16_t kTextValue = 1;

std::uint64_t Align4(std::uint64_t at) {
    return (at + 3) & ~std::uint64_t{3};
}

class Data {
  public:
    explicit Data(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint64_t Size() const { return bytes_.size(); }
    std::uint16_t U16(std::uint64_t at) const {
        return at + 2 <= bytes_.size()
                   ? static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8)
                   : 0;
    }
    std::uint32_t U32(std::uint64_t at) const {
        return U16(at) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
    }

  private:
    const std::vector<std::uint8_t>& bytes_;
};

struct Block {
    std::u16string key;
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::uint64_t valueAt = 0;
    std::uint64_t valueBytes = 0;
    std::uint64_t childrenAt = 0;
    std::uint64_t end = 0;
};

std::string Utf8(const std::u16string& units) {
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xd800 && c <= 0xdbff && i + 1 < units.size() && units[i + 1] >= 0xdc00 &&
            units[i + 1] <= 0xdfff) {
            c = 0x10000 + ((c - 0xd800) << 10) + (units[i + 1] - 0xdc00);
            ++i;
        } else if (c >= 0xd800 && c <= 0xdfff) {
            c = 0xfffd;
        }
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            text.push_back(static_cast<char>(0xc0 | c >> 6));
            text.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        } else if (c < 0x10000) {
            text.push_back(static_cast<char>(0xe0 | c >> 12));
            text.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3f)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        } else {
            text.push_back(static_cast<char>(0xf0 | c >> 18));
            text.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3f)));
            text.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3f)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        }
    }
    return text;
}

// The block at |at|, which must end by |limit|.
Readable<Block> ReadBlock(const Data& data, std::uint64_t at, std::uint64_t limit,
                          const std::string& what) {
    using Result = Readable<Block>;
    if (at > limit || limit - at < kBlockHeaderSize) {
        return Result::Not("the header of " + what + " is cut short");
    }
    Block block;
    const std::uint16_t length = data.U16(at);
    if (length < kBlockHeaderSize) {
        return Result::Not(what + " is " + std::to_string(length) +
                           " bytes long, shorter than its header");
    }
    if (length > limit - at) {
        return Result::Not(what + " (" + std::to_string(length) + " bytes) runs past its parent");
    }
    block.end = at + length;
    block.valueLength = data.U16(at + 2);
    block.type = data.U16(at + 4);
    std::uint64_t key = at + kBlockHeaderSize;
    for (;;) {
        if (key + 2 > block.end) {
            return Result::Not("the key of " + what + " runs past its block");
        }
        const char16_t unit = data.U16(key);
        key += 2;
        if (unit == 0) {
            break;
        }
        block.key.push_back(unit);
    }
    block.valueAt = std::min(Align4(key), block.end);
    const std::uint64_t room = block.end - block.valueAt;
    if (block.type == kTextValue) {
        // Some compilers count a text's bytes rather than its characters:
        // the text ends at its zero or its block.
        block.valueBytes = std::min<std::uint64_t>(block.valueLength * 2ull, room);
    } else if (block.valueLength > room) {
        return Result::Not("the value of " + what + " (" + std::to_string(block.valueLength) +
                           " bytes) runs past its block");
    } else {
        block.valueBytes = block.valueLength;
    }
    block.childrenAt = Align4(block.valueAt + block.valueBytes);
    return Result::Of(std::move(block));
}

std::u16string TextValue(const Data& data, const Block& block) {
    std::u16string text;
    for (std::uint64_t at = block.valueAt; at + 2 <= block.valueAt + block.valueBytes; at += 2) {
        const char16_t unit = data.U16(at);
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

// Calls |each| with every child of |parent|; the first reason any of them
// gives, or an empty one.
template <typename Each>
std::string ForEachChild(const Data& data, const Block& parent, const std::string& what,
                         Each each) {
    for (std::uint64_t at = parent.childrenAt; at + kBlockHeaderSize <= parent.end;) {
        const Readable<Block> child = ReadBlock(data, at, parent.end, what);
        if (!child) {
            return child.reason;
        }
        std::string reason = each(*child);
        if (!reason.empty()) {
            return reason;
        }
        at = Align4(child->end);
    }
    return {};
}

std::string ReadStringFileInfo(const Data& data, const Block& info, VersionInfo& version) {
    return ForEachChild(data, info, "a string table", [&](const Block& table) {
        version.stringTables.push_back({Utf8(table.key), {}});
        return ForEachChild(data, table, "a string of table " + Utf8(table.key),
                            [&](const Block& string) {
                                version.stringTables.back().strings.push_back(
                                    {Utf8(string.key), Utf8(TextValue(data, string))});
                                return std::string();
                            });
    });
}

std::string ReadVarFileInfo(const Data& data, const Block& info, VersionInfo& version) {
    return ForEachChild(data, info, "a block of VarFileInfo", [&](const Block& var) {
        if (var.key == u"Translation") {
            for (std::uint64_t at = var.valueAt; at + 4 <= var.valueAt + var.valueBytes; at += 4) {
                version.translations.push_back({data.U16(at), data.U16(at + 2)});
            }
        }
        return std::string();
    });
}

}  // namespace

std::string VersionText(std::uint32_t ms, std::uint32_t ls) {
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xffff) + "." +
           std::to_string(ls >> 16) + "." + std::to_string(ls & 0xffff);
}

const std::string* StringTable::Find(const std::string& name) const {
    const auto found =
        std::find_if(strings.begin(), strings.end(),
                     [&](const VersionString& string) { return string.key == name; });
    return found != strings.end() ? &found->value : nullptr;
}

const StringTable* VersionInfo::TableOf(Translation translation) const {
    char key[9] = {};
    std::snprintf(key, sizeof(key), "%04x%04x", translation.language, translation.codePage);
    for (const StringTable& table : stringTables) {
        const bool same = std::equal(
            table.key.begin(), table.key.end(), key, key + 8,
            [](char a, char b) { return (a >= 'A' && a <= 'F' ? a - 'A' + 'a' : a) == b; });
        if (same) {
            return &table;
        }
    }
    return nullptr;
}

Readable<VersionInfo> ReadVersionInfo(const std::vector<std::uint8_t>& resource) {
    using Result = Readable<VersionInfo>;
    const Data data(resource);
    const Readable<Block> root = ReadBlock(data, 0, data.Size(), "the version block");
    if (!root) {
        return Result::Not(root.reason);
    }
    if (root->key != u"VS_VERSION_INFO") {
        return Result::Not("the version block's key is \"" + Utf8(root->key) +
                           "\", not VS_VERSION_INFO");
    }
    VersionInfo version;
    if (root->valueBytes != 0) {
        if (root->valueBytes < kFixedFileInfoSize) {
            return Result::Not("the fixed file information is " + std::to_string(root->valueBytes) +
                               " bytes, short of 52");
        }
        const std::uint64_t at = root->valueAt;
        if (data.U32(at) != kFixedFileInfoSignature) {
            return Result::Not("the fixed file information does not start with 0xfeef04bd");
        }
        FixedFileInfo fixed;
        fixed.fileVersionMs = data.U32(at + 8);
        fixed.fileVersionLs = data.U32(at + 12);
        fixed.productVersionMs = data.U32(at + 16);
        fixed.productVersionLs = data.U32(at + 20);
        fixed.fileFlags = data.U32(at + 28);
        fixed.fileOs = data.U32(at + 32);
        fixed.fileType = data.U32(at + 36);
        version.fixed = fixed;
    }
    const std::string reason =
        ForEachChild(data, *root, "a block of the version resource", [&](const Block& child) {
            if (child.key == u"StringFileInfo") {
                return ReadStringFileInfo(data, child, version);
            }
            if (child.key == u"VarFileInfo") {
                return ReadVarFileInfo(data, child, version);
            }
            return std::string();
        });
    if (!reason.empty()) {
        return Result::Not(reason);
    }
    return Result::Of(std::move(version));
}

}  // namespace lumora::test
