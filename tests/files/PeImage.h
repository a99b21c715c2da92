// A Windows executable read from its bytes, on any machine: the headers the
// loader looks at (processor, subsystem and the Windows version it asks for),
// the section table, and the resources. Nothing here trusts the file: every
// offset and size is checked against the bytes at hand, and a file that does
// not hold together reads as "not readable", with the reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumora::test {

// A value read from a file, or why the file does not give it.
template <typename T>
struct Readable {
    static Readable Of(T value) { return Readable{std::move(value), {}}; }
    static Readable Not(std::string reason) { return Readable{std::nullopt, std::move(reason)}; }

    explicit operator bool() const { return value.has_value(); }
    const T& operator*() const { return *value; }
    const T* operator->() const { return &*value; }

    std::optional<T> value;
    // Empty when there is a value.
    std::string reason;
};

inline constexpr std::uint16_t kMachineI386 = 0x14c;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kPe32 = 0x10b;
inline constexpr std::uint16_t kPe32Plus = 0x20b;
inline constexpr std::uint16_t kSubsystemWindowsGui = 2;
// COFF characteristics.
inline constexpr std::uint16_t kExecutableImage = 0x0002;
inline constexpr std::uint16_t kDllImage = 0x2000;

// Resource types.
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kRtManifest = 24;

struct PeVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
};

struct PeSection {
    // As the table stores it, up to eight characters.
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

struct PeHeaders {
    // COFF header.
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    // Optional header.
    std::uint16_t magic = 0;
    std::uint16_t subsystem = 0;
    PeVersion subsystemVersion;
    PeVersion operatingSystemVersion;
    // The resource data directory; a zero address when there is none.
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceSize = 0;
    std::vector<PeSection> sections;
};

// A resource's type or name: a number, or a name that Windows compares
// without regard to case (resource compilers store it in capitals).
class ResourceId {
  public:
    // Not explicit: Resource(kRtManifest, 1) and Resource("WAVE", "CLICK")
    // read like the resource script.
    // cppcheck-suppress noExplicitConstructor
    ResourceId(std::uint16_t number) : number_(number) {}
    // An ASCII name.
    // cppcheck-suppress noExplicitConstructor
    ResourceId(const char* name);

    bool IsName() const { return isName_; }
    std::uint16_t Number() const { return number_; }
    const std::u16string& Name() const { return name_; }
    std::string Text() const;

  private:
    bool isName_ = false;
    std::uint16_t number_ = 0;
    std::u16string name_;
};

class PeImage {
  public:
    static Readable<PeImage> Read(std::vector<std::uint8_t> file);
    static Readable<PeImage> Read(const std::string& file) {
        return Read(std::vector<std::uint8_t>(file.begin(), file.end()));
    }

    const PeHeaders& Headers() const { return headers_; }

    // The bytes of the resource |type|/|name| in its first language.
    Readable<std::vector<std::uint8_t>> Resource(const ResourceId& type,
                                                 const ResourceId& name) const;

  private:
    PeImage(std::vector<std::uint8_t> file, PeHeaders headers)
        : file_(std::move(file)), headers_(std::move(headers)) {}

    std::vector<std::uint8_t> file_;
    PeHeaders headers_;
};

// The executable at |path|; not readable when the file cannot be read.
Readable<PeImage> ReadPeFile(const std::string& path);

}  // namespace lumora::test
