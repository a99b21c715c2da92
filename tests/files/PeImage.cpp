#include "tests/files/PeImage.h"

#include <algorithm>
#include <fstream>

namespace lumora::test {
namespace {

constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kLfanewAt = 0x3c;
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint64_t kCoffHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint64_t kResourceDirectorySize = 16;
constexpr std::uint64_t kResourceEntrySize = 8;
constexpr std::uint64_t kResourceDataEntrySize = 16;
// In a resource entry: the name is a string, or the entry a subdirectory.
constexpr std::uint32_t kHighBit = 0x80000000u;
// Lumora's directories hold a handful of entries; one that claims thousands
// is broken, and is not searched.
constexpr std::uint32_t kMaxDirectoryEntries = 4096;

// A stretch of the file's bytes. Callers check Holds before they read; a
// read outside gives 0 all the same, never a byte from elsewhere.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::uint64_t size) : data_(data), size_(size) {}

    std::uint64_t Size() const { return size_; }
    bool Holds(std::uint64_t at, std::uint64_t count) const {
        return at <= size_ && count <= size_ - at;
    }
    std::uint8_t U8(std::uint64_t at) const { return Holds(at, 1) ? data_[at] : 0; }
    std::uint16_t U16(std::uint64_t at) const {
        return Holds(at, 2) ? static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8) : 0;
    }
    std::uint32_t U32(std::uint64_t at) const {
        return Holds(at, 4) ? U16(at) | static_cast<std::uint32_t>(U16(at + 2)) << 16 : 0;
    }
    Bytes Sub(std::uint64_t at, std::uint64_t count) const {
        return Holds(at, count) ? Bytes(data_ + at, count) : Bytes(data_, 0);
    }
    std::vector<std::uint8_t> Copy() const {
        return size_ == 0 ? std::vector<std::uint8_t>()
                          : std::vector<std::uint8_t>(data_, data_ + size_);
    }

  private:
    const std::uint8_t* data_;
    std::uint64_t size_;
};

std::string Hex(std::uint32_t value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return "0x" + text;
}

char16_t FoldCase(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// The file's bytes of |size| bytes at |rva|, which must lie in the bytes one
// section has in the file.
Readable<Bytes> Mapped(const Bytes& file, const std::vector<PeSection>& sections, std::uint32_t rva,
                       std::uint32_t size) {
    for (const PeSection& section : sections) {
        const std::uint64_t extent =
            section.virtualSize != 0 ? section.virtualSize : section.rawSize;
        if (rva < section.virtualAddress || rva - section.virtualAddress >= extent) {
            continue;
        }
        const std::uint64_t into = rva - section.virtualAddress;
        if (into + size > section.rawSize) {
            return Readable<Bytes>::Not(std::to_string(size) + " bytes at " + Hex(rva) +
                                        " run past the bytes of section " + section.name);
        }
        const std::uint64_t at = section.rawOffset + into;
        if (!file.Holds(at, size)) {
            return Readable<Bytes>::Not(std::to_string(size) + " bytes at " + Hex(rva) +
                                        " (file offset " + std::to_string(at) +
                                        ") run past the end of the file");
        }
        return Readable<Bytes>::Of(file.Sub(at, size));
    }
    return Readable<Bytes>::Not("address " + Hex(rva) + " lies in no section");
}

// Whether the directory string at |offset| of the resource tree is |name|.
Readable<bool> NameIs(const Bytes& tree, std::uint32_t offset, const std::u16string& name) {
    if (!tree.Holds(offset, 2)) {
        return Readable<bool>::Not("a resource name lies outside the resource directory");
    }
    const std::uint16_t length = tree.U16(offset);
    if (!tree.Holds(offset + 2ull, length * 2ull)) {
        return Readable<bool>::Not("a resource name runs past the resource directory");
    }
    if (length != name.size()) {
        return Readable<bool>::Of(false);
    }
    for (std::uint16_t i = 0; i < length; ++i) {
        if (FoldCase(tree.U16(offset + 2ull + i * 2ull)) != FoldCase(name[i])) {
            return Readable<bool>::Of(false);
        }
    }
    return Readable<bool>::Of(true);
}

// The entry for |key| in the directory at |directory| of the resource tree,
// or with no key its first entry: its offset in the tree.
Readable<std::uint64_t> FindEntry(const Bytes& tree, std::uint32_t directory, const ResourceId* key,
                                  const std::string& what) {
    using Result = Readable<std::uint64_t>;
    if (!tree.Holds(directory, kResourceDirectorySize)) {
        return Result::Not("the directory of " + what + " lies outside the resource directory");
    }
    const std::uint32_t named = tree.U16(directory + 12ull);
    const std::uint32_t total = named + tree.U16(directory + 14ull);
    if (total > kMaxDirectoryEntries) {
        return Result::Not("the directory of " + what + " claims " + std::to_string(total) +
                           " entries");
    }
    const std::uint64_t entries = directory + kResourceDirectorySize;
    if (!tree.Holds(entries, total * kResourceEntrySize)) {
        return Result::Not("the " + std::to_string(total) + " entries of the directory of " + what +
                           " run past the resource directory");
    }
    if (key == nullptr) {
        return total != 0 ? Result::Of(entries) : Result::Not("no language of " + what);
    }
    const std::uint32_t first = key->IsName() ? 0 : named;
    const std::uint32_t end = key->IsName() ? named : total;
    for (std::uint32_t i = first; i < end; ++i) {
        const std::uint64_t entry = entries + i * kResourceEntrySize;
        const std::uint32_t name = tree.U32(entry);
        if (!key->IsName()) {
            if (name == key->Number()) {
                return Result::Of(entry);
            }
            continue;
        }
        if ((name & kHighBit) == 0) {
            continue;
        }
        const Readable<bool> same = NameIs(tree, name & ~kHighBit, key->Name());
        if (!same) {
            return Result::Not(same.reason);
        }
        if (*same) {
            return Result::Of(entry);
        }
    }
    return Result::Not("no " + what);
}

}  // namespace

ResourceId::ResourceId(const char* name) : isName_(true) {
    for (const char* c = name; *c != '\0'; ++c) {
        name_.push_back(static_cast<unsigned char>(*c));
    }
}

std::string ResourceId::Text() const {
    if (!isName_) {
        return std::to_string(number_);
    }
    std::string text(name_.size(), '?');
    std::transform(name_.begin(), name_.end(), text.begin(),
                   [](char16_t c) { return c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?'; });
    return "\"" + text + "\"";
}

Readable<PeImage> PeImage::Read(std::vector<std::uint8_t> file) {
    using Result = Readable<PeImage>;
    const Bytes bytes(file.data(), file.size());
    if (!bytes.Holds(0, kDosHeaderSize)) {
        return Result::Not("the file is shorter than a DOS header");
    }
    if (bytes.U16(0) != 0x5a4d) {
        return Result::Not("the file does not start with \"MZ\"");
    }
    const std::uint64_t pe = bytes.U32(kLfanewAt);
    if (!bytes.Holds(pe, 4 + kCoffHeaderSize)) {
        return Result::Not("the PE header's offset (e_lfanew " + std::to_string(pe) +
                           ") lies past the end of the file");
    }
    if (bytes.U32(pe) != kPeSignature) {
        return Result::Not("no PE signature at e_lfanew");
    }
    PeHeaders headers;
    const std::uint64_t coff = pe + 4;
    headers.machine = bytes.U16(coff);
    const std::uint16_t sectionCount = bytes.U16(coff + 2);
    const std::uint16_t optionalSize = bytes.U16(coff + 16);
    headers.characteristics = bytes.U16(coff + 18);

    const std::uint64_t optionalAt = coff + kCoffHeaderSize;
    if (!bytes.Holds(optionalAt, optionalSize)) {
        return Result::Not("the optional header runs past the end of the file");
    }
    const Bytes optional = bytes.Sub(optionalAt, optionalSize);
    if (!optional.Holds(0, 2)) {
        return Result::Not("the optional header is too short for its magic");
    }
    headers.magic = optional.U16(0);
    // The data directories follow the fields, which a PE32+ header widens.
    std::uint64_t directories = 0;
    if (headers.magic == kPe32) {
        directories = 96;
    } else if (headers.magic == kPe32Plus) {
        directories = 112;
    } else {
        return Result::Not("the optional header's magic " + Hex(headers.magic) +
                           " is neither PE32 nor PE32+");
    }
    if (!optional.Holds(0, directories)) {
        return Result::Not("the optional header is " + std::to_string(optionalSize) +
                           " bytes, too short for its fields");
    }
    headers.operatingSystemVersion = {optional.U16(40), optional.U16(42)};
    headers.subsystemVersion = {optional.U16(48), optional.U16(50)};
    headers.subsystem = optional.U16(68);
    if (optional.U32(directories - 4) > kResourceDirectoryIndex) {
        const std::uint64_t resource = directories + std::uint64_t{8} * kResourceDirectoryIndex;
        if (!optional.Holds(resource, 8)) {
            return Result::Not("the data directories run past the optional header");
        }
        headers.resourceRva = optional.U32(resource);
        headers.resourceSize = optional.U32(resource + 4);
    }

    const std::uint64_t table = optionalAt + optionalSize;
    if (!bytes.Holds(table, sectionCount * kSectionHeaderSize)) {
        return Result::Not("the table of " + std::to_string(sectionCount) +
                           " sections runs past the end of the file");
    }
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + i * kSectionHeaderSize;
        PeSection section;
        for (std::uint64_t c = 0; c < 8 && bytes.U8(at + c) != 0; ++c) {
            section.name.push_back(static_cast<char>(bytes.U8(at + c)));
        }
        section.virtualSize = bytes.U32(at + 8);
        section.virtualAddress = bytes.U32(at + 12);
        section.rawSize = bytes.U32(at + 16);
        section.rawOffset = bytes.U32(at + 20);
        headers.sections.push_back(section);
    }
    return Result::Of(PeImage(std::move(file), std::move(headers)));
}

Readable<std::vector<std::uint8_t>> PeImage::Resource(const ResourceId& type,
                                                      const ResourceId& name) const {
    using Result = Readable<std::vector<std::uint8_t>>;
    if (headers_.resourceRva == 0) {
        return Result::Not("the file has no resource directory");
    }
    const Bytes file(file_.data(), file_.size());
    const Readable<Bytes> tree =
        Mapped(file, headers_.sections, headers_.resourceRva, headers_.resourceSize);
    if (!tree) {
        return Result::Not("the resource directory: " + tree.reason);
    }
    // The tree has three levels: type, name and language. A loop back to a
    // directory on the way is refused, as is a fourth level.
    const std::string what[] = {"resource type " + type.Text(),
                                "resource " + name.Text() + " of type " + type.Text()};
    const ResourceId* keys[] = {&type, &name};
    std::vector<std::uint32_t> path;
    std::uint32_t directory = 0;
    for (int level = 0; level < 2; ++level) {
        path.push_back(directory);
        const Readable<std::uint64_t> entry = FindEntry(*tree, directory, keys[level], what[level]);
        if (!entry) {
            return Result::Not(entry.reason);
        }
        const std::uint32_t target = tree->U32(*entry + 4);
        if ((target & kHighBit) == 0) {
            return Result::Not("the entry of " + what[level] + " is data, not a directory");
        }
        directory = target & ~kHighBit;
        if (std::find(path.begin(), path.end(), directory) != path.end()) {
            return Result::Not("the resource tree loops back at the entry of " + what[level]);
        }
    }
    // The first language.
    const Readable<std::uint64_t> entry = FindEntry(*tree, directory, nullptr, what[1]);
    if (!entry) {
        return Result::Not(entry.reason);
    }
    const std::uint32_t target = tree->U32(*entry + 4);
    if ((target & kHighBit) != 0) {
        return Result::Not("the resource tree goes deeper than type, name and language");
    }
    if (!tree->Holds(target, kResourceDataEntrySize)) {
        return Result::Not("the data entry of " + what[1] + " lies outside the resource directory");
    }
    const Readable<Bytes> data =
        Mapped(file, headers_.sections, tree->U32(target), tree->U32(target + 4ull));
    if (!data) {
        return Result::Not("the data of " + what[1] + ": " + data.reason);
    }
    return Result::Of(data->Copy());
}

Readable<PeImage> ReadPeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return Readable<PeImage>::Not("cannot open " + path);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()))) {
        return Readable<PeImage>::Not("cannot read " + path);
    }
    return PeImage::Read(std::move(bytes));
}

}  // namespace lumora::test
