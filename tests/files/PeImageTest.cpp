// The reader of executables and of their version resources on small images
// made here: what it reads from a good one, and that a spoiled one (cut
// short, offsets past the end, a resource tree that loops, counts in the
// thousands, version blocks longer than their parents) reads as not
// readable, with the reason, rather than as bytes from somewhere else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tests/files/PeImage.h"
#include "tests/files/VersionResource.h"

namespace lumora::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    if (bytes.size() < at + 2) {
        bytes.resize(at + 2);
    }
    bytes[at] = static_cast<std::uint8_t>(value & 0xff);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    Put16(bytes, at, static_cast<std::uint16_t>(value & 0xffff));
    Put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

void Align(Bytes& bytes, std::size_t boundary) {
    bytes.resize((bytes.size() + boundary - 1) / boundary * boundary);
}

bool Same(const ResourceId& a, const ResourceId& b) {
    return a.IsName() == b.IsName() && a.Number() == b.Number() && a.Name() == b.Name();
}

// ---------------------------------------------------------------------------
// Images

struct TestResource {
    ResourceId type;
    ResourceId name;
    Bytes data;
};

// Where the builder put the parts of one resource: offsets in the resource
// section.
struct ResourcePlaces {
    std::size_t typeEntry = 0;  // in the root
    std::size_t typeDirectory = 0;
    std::size_t nameDirectory = 0;
    std::size_t languageEntry = 0;
    std::size_t dataEntry = 0;
    std::size_t nameString = 0;  // when the name is one
};

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kNamed = 0x80000000u;

// The resource section of |resources| for the address |rva|, laid out as
// resource compilers do: the directories, the data entries, the names, the
// data. Each directory lists its named entries first.
Bytes ResourceSection(const std::vector<TestResource>& resources, std::uint32_t rva,
                      std::vector<ResourcePlaces>& places) {
    std::vector<std::size_t> order(resources.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_partition(order.begin(), order.end(),
                          [&](std::size_t i) { return resources[i].name.IsName(); });
    std::vector<ResourceId> types;
    for (const TestResource& resource : resources) {
        if (std::none_of(types.begin(), types.end(),
                         [&](const ResourceId& type) { return Same(type, resource.type); })) {
            types.push_back(resource.type);
        }
    }
    std::stable_partition(types.begin(), types.end(),
                          [](const ResourceId& type) { return type.IsName(); });
    auto ofType = [&](const ResourceId& type) {
        std::vector<std::size_t> members;
        std::copy_if(order.begin(), order.end(), std::back_inserter(members),
                     [&](std::size_t i) { return Same(resources[i].type, type); });
        return members;
    };
    auto named = [](const std::vector<ResourceId>& ids) {
        return static_cast<std::uint16_t>(std::count_if(
            ids.begin(), ids.end(), [](const ResourceId& id) { return id.IsName(); }));
    };

    places.assign(resources.size(), {});
    std::vector<std::size_t> typeDirectories(types.size());
    std::vector<std::size_t> typeStrings(types.size());
    std::size_t at = 16 + 8 * types.size();
    for (std::size_t t = 0; t < types.size(); ++t) {
        typeDirectories[t] = at;
        at += 16 + 8 * ofType(types[t]).size();
    }
    for (const std::size_t i : order) {
        places[i].nameDirectory = at;
        at += 16 + 8;
    }
    for (const std::size_t i : order) {
        places[i].dataEntry = at;
        at += 16;
    }
    for (std::size_t t = 0; t < types.size(); ++t) {
        typeStrings[t] = at;
        at += 2 + 2 * types[t].Name().size();
    }
    for (const std::size_t i : order) {
        places[i].nameString = at;
        at += 2 + 2 * resources[i].name.Name().size();
    }

    Bytes section(at);
    auto writeName = [&](std::size_t where, const ResourceId& id, std::size_t string) {
        Put32(section, where,
              id.IsName() ? kNamed | static_cast<std::uint32_t>(string) : id.Number());
        if (id.IsName()) {
            Put16(section, string, static_cast<std::uint16_t>(id.Name().size()));
            for (std::size_t c = 0; c < id.Name().size(); ++c) {
                Put16(section, string + 2 + 2 * c, id.Name()[c]);
            }
        }
    };
    Put16(section, 12, named(types));
    Put16(section, 14, static_cast<std::uint16_t>(types.size() - named(types)));
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::size_t entry = 16 + 8 * t;
        writeName(entry, types[t], typeStrings[t]);
        Put32(section, entry + 4, kSubdirectory | static_cast<std::uint32_t>(typeDirectories[t]));
        const std::vector<std::size_t> members = ofType(types[t]);
        std::vector<ResourceId> names;
        std::transform(members.begin(), members.end(), std::back_inserter(names),
                       [&](std::size_t i) { return resources[i].name; });
        Put16(section, typeDirectories[t] + 12, named(names));
        Put16(section, typeDirectories[t] + 14,
              static_cast<std::uint16_t>(names.size() - named(names)));
        for (std::size_t m = 0; m < members.size(); ++m) {
            ResourcePlaces& place = places[members[m]];
            place.typeEntry = entry;
            place.typeDirectory = typeDirectories[t];
            const std::size_t nameEntry = typeDirectories[t] + 16 + 8 * m;
            writeName(nameEntry, resources[members[m]].name, place.nameString);
            Put32(section, nameEntry + 4,
                  kSubdirectory | static_cast<std::uint32_t>(place.nameDirectory));
            Put16(section, place.nameDirectory + 14, 1);
            place.languageEntry = place.nameDirectory + 16;
            Put32(section, place.languageEntry, 0x409);
            Put32(section, place.languageEntry + 4, static_cast<std::uint32_t>(place.dataEntry));
        }
    }
    for (const std::size_t i : order) {
        Align(section, 8);
        Put32(section, places[i].dataEntry, rva + static_cast<std::uint32_t>(section.size()));
        Put32(section, places[i].dataEntry + 4,
              static_cast<std::uint32_t>(resources[i].data.size()));
        section.insert(section.end(), resources[i].data.begin(), resources[i].data.end());
    }
    return section;
}

// A minimal executable: the DOS header, the PE headers at 0x80 and one
// section, .rsrc, with |resources|.
struct TestImage {
    static constexpr std::size_t kPe = 0x80;
    static constexpr std::size_t kCoff = kPe + 4;
    static constexpr std::size_t kOptional = kCoff + 20;
    static constexpr std::size_t kResourceSection = 0x200;  // in the file
    static constexpr std::uint32_t kResourceRva = 0x1000;

    Bytes bytes;
    std::size_t directories = 0;  // the optional header's data directories
    std::size_t sectionTable = 0;
    std::vector<ResourcePlaces> places;

    // Offsets in the file of the resource section's parts.
    std::size_t Rsrc(std::size_t offset) const { return kResourceSection + offset; }
    std::size_t ResourceDirectory() const { return directories + std::size_t{8} * 2; }
};

TestImage MakeImage(std::uint16_t magic, const std::vector<TestResource>& resources) {
    TestImage image;
    Bytes& b = image.bytes;
    b.resize(TestImage::kResourceSection);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3c, TestImage::kPe);
    b[TestImage::kPe] = 'P';
    b[TestImage::kPe + 1] = 'E';
    const bool wide = magic == kPe32Plus;
    image.directories = TestImage::kOptional + (wide ? 112 : 96);
    const std::size_t optionalSize = image.directories + std::size_t{16} * 8 - TestImage::kOptional;
    Put16(b, TestImage::kCoff, wide ? kMachineAmd64 : kMachineI386);
    Put16(b, TestImage::kCoff + 2, 1);
    Put16(b, TestImage::kCoff + 16, static_cast<std::uint16_t>(optionalSize));
    Put16(b, TestImage::kCoff + 18, kExecutableImage);
    Put16(b, TestImage::kOptional, magic);
    Put16(b, TestImage::kOptional + 40, 4);  // operating system 4.1
    Put16(b, TestImage::kOptional + 42, 1);
    Put16(b, TestImage::kOptional + 48, 5);  // subsystem 5.2
    Put16(b, TestImage::kOptional + 50, 2);
    Put16(b, TestImage::kOptional + 68, kSubsystemWindowsGui);
    Put32(b, image.directories - 4, 16);

    const Bytes section = ResourceSection(resources, TestImage::kResourceRva, image.places);
    Put32(b, image.ResourceDirectory(), TestImage::kResourceRva);
    Put32(b, image.ResourceDirectory() + 4, static_cast<std::uint32_t>(section.size()));
    image.sectionTable = TestImage::kOptional + optionalSize;
    const std::size_t header = image.sectionTable;
    const char name[] = ".rsrc";
    std::copy(name, name + 5, b.begin() + static_cast<std::ptrdiff_t>(header));
    Put32(b, header + 8, static_cast<std::uint32_t>(section.size()));
    Put32(b, header + 12, TestImage::kResourceRva);
    Put32(b, header + 16, static_cast<std::uint32_t>((section.size() + 0x1ff) / 0x200 * 0x200));
    Put32(b, header + 20, TestImage::kResourceSection);
    b.insert(b.end(), section.begin(), section.end());
    Align(b, 0x200);
    return image;
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

const Bytes kManifest = Text("<assembly/>");
const Bytes kClick = Text("RIFF....WAVEfmt ");

// Resources the way Lumora.exe holds them: numbered types and names, and a
// named type with a named resource.
std::vector<TestResource> Resources() {
    return {
        {kRtManifest, 1, kManifest}, {"WAVE", "CLICK", kClick}, {kRtGroupIcon, 1, Text("icon")}};
}

// Indices into Resources().
constexpr std::size_t kManifestResource = 0;
constexpr std::size_t kClickResource = 1;

TEST(PeImage, ReadsTheHeadersOfBothWidths) {
    struct Case {
        std::uint16_t magic;
        std::uint16_t machine;
    };
    for (const Case& c : {Case{kPe32, kMachineI386}, Case{kPe32Plus, kMachineAmd64}}) {
        SCOPED_TRACE(c.magic);
        const Readable<PeImage> image = PeImage::Read(MakeImage(c.magic, Resources()).bytes);
        ASSERT_TRUE(image) << image.reason;
        const PeHeaders& headers = image->Headers();
        EXPECT_EQ(headers.magic, c.magic);
        EXPECT_EQ(headers.machine, c.machine);
        EXPECT_EQ(headers.characteristics, kExecutableImage);
        EXPECT_EQ(headers.subsystem, kSubsystemWindowsGui);
        EXPECT_EQ(headers.subsystemVersion.major, 5);
        EXPECT_EQ(headers.subsystemVersion.minor, 2);
        EXPECT_EQ(headers.operatingSystemVersion.major, 4);
        EXPECT_EQ(headers.operatingSystemVersion.minor, 1);
        EXPECT_EQ(headers.resourceRva, TestImage::kResourceRva);
        ASSERT_EQ(headers.sections.size(), 1u);
        EXPECT_EQ(headers.sections[0].name, ".rsrc");
    }
}

TEST(PeImage, FindsResourcesByNumberAndByNameInEitherCase) {
    struct Case {
        ResourceId type;
        ResourceId name;
        Bytes data;
    };
    const Case cases[] = {
        {kRtManifest, 1, kManifest},
        {kRtGroupIcon, 1, Text("icon")},
        {"WAVE", "CLICK", kClick},
        {"wave", "Click", kClick},
    };
    for (const std::uint16_t magic : {kPe32, kPe32Plus}) {
        const Readable<PeImage> image = PeImage::Read(MakeImage(magic, Resources()).bytes);
        ASSERT_TRUE(image) << image.reason;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.type.Text() + "/" + c.name.Text());
            const Readable<Bytes> resource = image->Resource(c.type, c.name);
            ASSERT_TRUE(resource) << resource.reason;
            EXPECT_EQ(*resource, c.data);
        }
    }
}

TEST(PeImage, SaysWhichResourceIsMissing) {
    struct Case {
        ResourceId type;
        ResourceId name;
        const char* reason;
    };
    const Case cases[] = {
        {kRtVersion, 1, "no resource type 16"},
        {kRtManifest, 2, "no resource 2 of type 24"},
        // A number is not found among the names, nor a name among numbers.
        {"WAVE", 1, "no resource 1 of type \"WAVE\""},
        {kRtManifest, "CLICK", "no resource \"CLICK\" of type 24"},
        {"WAV", "CLICK", "no resource type \"WAV\""},
    };
    const Readable<PeImage> image = PeImage::Read(MakeImage(kPe32, Resources()).bytes);
    ASSERT_TRUE(image) << image.reason;
    for (const Case& c : cases) {
        const Readable<Bytes> resource = image->Resource(c.type, c.name);
        EXPECT_FALSE(resource) << c.reason;
        EXPECT_EQ(resource.reason, c.reason);
    }
}

// A spoiled image, and what the reader says of it: either the image or the
// resource looked up is not readable.
struct Spoiled {
    // cppcheck-suppress unusedStructMember
    const char* name;
    std::function<void(TestImage&)> spoil;
    // cppcheck-suppress unusedStructMember
    const char* reason;
    std::size_t lookedUp = kManifestResource;
};

std::string WhyNotRead(const TestImage& image, std::size_t lookedUp) {
    const Readable<PeImage> read = PeImage::Read(image.bytes);
    if (!read) {
        return read.reason;
    }
    const TestResource resource = Resources()[lookedUp];
    const Readable<Bytes> data = read->Resource(resource.type, resource.name);
    return data ? std::string() : data.reason;
}

class SpoiledImage : public ::testing::TestWithParam<Spoiled> {};

TEST_P(SpoiledImage, IsNotRead) {
    TestImage image = MakeImage(kPe32, Resources());
    GetParam().spoil(image);
    const std::string reason = WhyNotRead(image, GetParam().lookedUp);
    EXPECT_NE(reason.find(GetParam().reason), std::string::npos) << "reason: \"" << reason << "\"";
}

const ResourcePlaces& Manifest(const TestImage& image) {
    return image.places[kManifestResource];
}

const Spoiled kSpoiled[] = {
    // Headers.
    {"Empty", [](TestImage& i) { i.bytes.clear(); }, "shorter than a DOS header"},
    {"DosHeaderCutShort", [](TestImage& i) { i.bytes.resize(40); }, "shorter than a DOS header"},
    {"NoMz", [](TestImage& i) { i.bytes[0] = 'X'; }, "does not start with \"MZ\""},
    {"LfanewPastTheEnd",
     [](TestImage& i) { Put32(i.bytes, 0x3c, static_cast<std::uint32_t>(i.bytes.size() - 8)); },
     "lies past the end of the file"},
    {"LfanewWrappingAround", [](TestImage& i) { Put32(i.bytes, 0x3c, 0xfffffff0u); },
     "lies past the end of the file"},
    {"NoPeSignature", [](TestImage& i) { i.bytes[TestImage::kPe + 1] = 'X'; }, "no PE signature"},
    {"CoffHeaderCutShort", [](TestImage& i) { i.bytes.resize(TestImage::kCoff + 10); },
     "lies past the end of the file"},
    {"OptionalHeaderCutShort", [](TestImage& i) { i.bytes.resize(TestImage::kOptional + 50); },
     "optional header runs past the end of the file"},
    {"OptionalHeaderTooSmallForItsFields",
     [](TestImage& i) { Put16(i.bytes, TestImage::kCoff + 16, 60); }, "too short for its fields"},
    {"OptionalHeaderOfNoKnownMagic",
     [](TestImage& i) { Put16(i.bytes, TestImage::kOptional, 0x107); }, "neither PE32 nor PE32+"},
    {"SectionCountInTheThousands",
     [](TestImage& i) { Put16(i.bytes, TestImage::kCoff + 2, 0xffff); },
     "sections runs past the end of the file"},
    // Where the resource directory is.
    {"TooFewDataDirectories", [](TestImage& i) { Put32(i.bytes, i.directories - 4, 2); },
     "no resource directory"},
    {"ResourceDirectoryInNoSection",
     [](TestImage& i) { Put32(i.bytes, i.ResourceDirectory(), 0x9000); }, "lies in no section"},
    {"ResourceDirectoryLongerThanItsSection",
     [](TestImage& i) { Put32(i.bytes, i.ResourceDirectory() + 4, 0x100000); },
     "run past the bytes of section .rsrc"},
    {"ResourceSectionPastTheEndOfTheFile",
     [](TestImage& i) { Put32(i.bytes, i.sectionTable + 20, 0x7fff0000); },
     "run past the end of the file"},
    // The resource tree.
    {"RootClaimingThousandsOfEntries", [](TestImage& i) { Put16(i.bytes, i.Rsrc(14), 0xffff); },
     "claims 65536 entries"},
    {"RootEntriesPastTheDirectory", [](TestImage& i) { Put16(i.bytes, i.Rsrc(14), 4000); },
     "run past the resource directory"},
    {"SubdirectoryOutsideTheDirectory",
     [](TestImage& i) {
         Put32(i.bytes, i.Rsrc(Manifest(i).typeEntry + 4), kSubdirectory | 0x7fff0000);
     },
     "lies outside the resource directory"},
    {"NameLevelLoopingBackToTheRoot",
     [](TestImage& i) {
         // The root is the directory at offset 0.
         Put32(i.bytes, i.Rsrc(Manifest(i).typeDirectory + 16 + 4), kSubdirectory);
     },
     "loops back"},
    {"TypeEntryPointingToTheRoot",
     [](TestImage& i) { Put32(i.bytes, i.Rsrc(Manifest(i).typeEntry + 4), kSubdirectory); },
     "loops back"},
    {"FourthLevel",
     [](TestImage& i) {
         Put32(i.bytes, i.Rsrc(Manifest(i).languageEntry + 4),
               kSubdirectory | static_cast<std::uint32_t>(Manifest(i).nameDirectory));
     },
     "deeper than type, name and language"},
    {"DataWhereADirectoryBelongs",
     [](TestImage& i) {
         Put32(i.bytes, i.Rsrc(Manifest(i).typeEntry + 4),
               static_cast<std::uint32_t>(Manifest(i).dataEntry));
     },
     "is data, not a directory"},
    {"NoLanguage", [](TestImage& i) { Put16(i.bytes, i.Rsrc(Manifest(i).nameDirectory + 14), 0); },
     "no language of resource 1 of type 24"},
    {"DataEntryOutsideTheDirectory",
     [](TestImage& i) { Put32(i.bytes, i.Rsrc(Manifest(i).languageEntry + 4), 0x7fff0000); },
     "data entry of resource 1 of type 24 lies outside"},
    {"DataInNoSection", [](TestImage& i) { Put32(i.bytes, i.Rsrc(Manifest(i).dataEntry), 0x9000); },
     "lies in no section"},
    {"DataLongerThanItsSection",
     [](TestImage& i) { Put32(i.bytes, i.Rsrc(Manifest(i).dataEntry + 4), 0xfffffff0u); },
     "run past the bytes of section .rsrc"},
    {"NameOutsideTheDirectory",
     [](TestImage& i) {
         Put32(i.bytes, i.Rsrc(i.places[kClickResource].typeEntry), kNamed | 0x7fff0000);
     },
     "resource name lies outside", kClickResource},
    {"NameLongerThanTheDirectory",
     [](TestImage& i) { Put16(i.bytes, i.Rsrc(i.places[kClickResource].nameString), 0xffff); },
     "resource name runs past", kClickResource},
};

INSTANTIATE_TEST_SUITE_P(PeImage, SpoiledImage, ::testing::ValuesIn(kSpoiled),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever the cut, the reader gives the resource's own bytes or nothing.
TEST(PeImage, ACutFileGivesWholeResourcesOrNone) {
    const TestImage image = MakeImage(kPe32Plus, Resources());
    for (std::size_t size = 0; size < image.bytes.size(); ++size) {
        const Readable<PeImage> read = PeImage::Read(
            Bytes(image.bytes.begin(), image.bytes.begin() + static_cast<std::ptrdiff_t>(size)));
        if (!read) {
            continue;
        }
        for (const TestResource& resource : Resources()) {
            const Readable<Bytes> data = read->Resource(resource.type, resource.name);
            if (data) {
                EXPECT_EQ(*data, resource.data) << "cut at " << size;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Version resources

// One block of a version resource, and what its header says of its value.
struct TestBlock {
    std::u16string key;
    Bytes value;
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::vector<TestBlock> children;
};

TestBlock TextBlock(std::u16string key, const std::u16string& text) {
    TestBlock block{std::move(key), {}, static_cast<std::uint16_t>(text.size() + 1), 1, {}};
    for (const char16_t c : text + u'\0') {
        block.value.push_back(static_cast<std::uint8_t>(c & 0xff));
        block.value.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return block;
}

// Appends |block| at a four-byte boundary of |out|; |at| learns where each
// block starts, by its key.
void Write(const TestBlock& block, Bytes& out, std::map<std::u16string, std::size_t>& at) {
    Align(out, 4);
    const std::size_t start = out.size();
    at[block.key] = start;
    out.resize(start + 6);
    for (const char16_t c : block.key + u'\0') {
        Put16(out, out.size(), c);
    }
    Align(out, 4);
    out.insert(out.end(), block.value.begin(), block.value.end());
    for (const TestBlock& child : block.children) {
        Write(child, out, at);
    }
    Put16(out, start, static_cast<std::uint16_t>(out.size() - start));
    Put16(out, start + 2, block.valueLength);
    Put16(out, start + 4, block.type);
}

struct TestVersion {
    Bytes bytes;
    std::map<std::u16string, std::size_t> at;
};

// Where the fixed file information starts: after the header and the key
// "VS_VERSION_INFO", on a four-byte boundary.
constexpr std::size_t kFixedAt = 40;

TestVersion MakeVersion() {
    Bytes fixed;
    for (const std::uint32_t field :
         {kFixedFileInfoSignature, 0x10000u, 0x20009u, 0x507e0u, 0x20009u, 0x507e0u, 0x3fu, 0u,
          0x40004u, kFileTypeApp, 0u, 0u, 0u}) {
        Put32(fixed, fixed.size(), field);
    }
    Bytes translation;
    Put16(translation, 0, 0x409);
    Put16(translation, 2, 1200);
    const TestBlock root{u"VS_VERSION_INFO",
                         fixed,
                         static_cast<std::uint16_t>(fixed.size()),
                         0,
                         {{u"StringFileInfo",
                           {},
                           0,
                           1,
                           {{u"040904B0",
                             {},
                             0,
                             1,
                             {TextBlock(u"CompanyName", u"OSTREL Software"),
                              TextBlock(u"FileVersion", u"2.9.5.2016"),
                              TextBlock(u"LegalCopyright", u"\u00a9 2016 OSTREL"),
                              TextBlock(u"ProductName", u"Lumora")}}}},
                          {u"VarFileInfo", {}, 0, 1, {{u"Translation", translation, 4, 0, {}}}}}};
    TestVersion version;
    Write(root, version.bytes, version.at);
    return version;
}

TEST(VersionResource, ReadsTheFixedInformationAndTheStringsOfTheTranslation) {
    const Readable<VersionInfo> version = ReadVersionInfo(MakeVersion().bytes);
    ASSERT_TRUE(version) << version.reason;
    ASSERT_TRUE(version->fixed.has_value());
    EXPECT_EQ(VersionText(version->fixed->fileVersionMs, version->fixed->fileVersionLs),
              "2.9.5.2016");
    EXPECT_EQ(VersionText(version->fixed->productVersionMs, version->fixed->productVersionLs),
              "2.9.5.2016");
    EXPECT_EQ(version->fixed->fileType, kFileTypeApp);
    ASSERT_EQ(version->translations.size(), 1u);
    // The table's key in capitals, as resource compilers write it.
    const StringTable* table = version->TableOf(version->translations[0]);
    ASSERT_NE(table, nullptr);
    struct Case {
        const char* key;
        const char* value;
    };
    for (const Case& c :
         {Case{"CompanyName", "OSTREL Software"}, Case{"FileVersion", "2.9.5.2016"},
          Case{"LegalCopyright", "\xc2\xa9 2016 OSTREL"}, Case{"ProductName", "Lumora"}}) {
        const std::string* value = table->Find(c.key);
        ASSERT_NE(value, nullptr) << c.key;
        EXPECT_EQ(*value, c.value);
    }
    EXPECT_EQ(table->Find("InternalName"), nullptr);
    EXPECT_EQ(version->TableOf({0x407, 1200}), nullptr);
}

// A text ends at its zero, or else at its block: some resource compilers
// count a text's bytes where others count its characters, and neither count
// may take the text into the next block.
TEST(VersionResource, ATextEndsAtItsZeroOrItsBlock) {
    struct Case {
        const char* name;
        std::uint16_t valueLength;
        // What takes the place of the text's zero.
        char16_t end;
        const char* text;
    };
    // In the block of CompanyName: the header, the key and its padding, then
    // "OSTREL Software" and its zero, which end on a four-byte boundary, right
    // before the next block.
    constexpr std::size_t kZeroAt = 32 + 30;
    for (const Case& c :
         {Case{"bytes counted", 32, u'\0', "OSTREL Software"},
          Case{"no zero, a count past the block", 0x100, u'X', "OSTREL SoftwareX"}}) {
        SCOPED_TRACE(c.name);
        TestVersion version = MakeVersion();
        const std::size_t block = version.at[u"CompanyName"];
        Put16(version.bytes, block + 2, c.valueLength);
        Put16(version.bytes, block + kZeroAt, c.end);
        const Readable<VersionInfo> read = ReadVersionInfo(version.bytes);
        ASSERT_TRUE(read) << read.reason;
        const std::string* name = read->stringTables.at(0).Find("CompanyName");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(*name, c.text);
    }
}

struct SpoiledVersionCase {
    // cppcheck-suppress unusedStructMember
    const char* name;
    std::function<void(TestVersion&)> spoil;
    // cppcheck-suppress unusedStructMember
    const char* reason;
};

class SpoiledVersion : public ::testing::TestWithParam<SpoiledVersionCase> {};

TEST_P(SpoiledVersion, IsNotRead) {
    TestVersion version = MakeVersion();
    GetParam().spoil(version);
    const Readable<VersionInfo> read = ReadVersionInfo(version.bytes);
    ASSERT_FALSE(read);
    EXPECT_NE(read.reason.find(GetParam().reason), std::string::npos)
        << "reason: \"" << read.reason << "\"";
}

void PutLength(TestVersion& v, const char16_t* key, std::uint16_t length) {
    Put16(v.bytes, v.at[key], length);
}

const SpoiledVersionCase kSpoiledVersions[] = {
    {"CutShort", [](TestVersion& v) { v.bytes.resize(4); }, "cut short"},
    {"RootLongerThanTheResource",
     [](TestVersion& v) {
         PutLength(v, u"VS_VERSION_INFO", static_cast<std::uint16_t>(v.bytes.size() + 4));
     },
     "runs past its parent"},
    {"RootShorterThanItsHeader", [](TestVersion& v) { PutLength(v, u"VS_VERSION_INFO", 4); },
     "shorter than its header"},
    {"ChildLongerThanItsParent", [](TestVersion& v) { PutLength(v, u"StringFileInfo", 0xfff0); },
     "runs past its parent"},
    {"StringOfLengthZero", [](TestVersion& v) { PutLength(v, u"ProductName", 0); },
     "0 bytes long, shorter than its header"},
    {"KeyPastItsBlock", [](TestVersion& v) { PutLength(v, u"CompanyName", 10); },
     "key of a string of table 040904B0 runs past its block"},
    {"NotAVersionBlock", [](TestVersion& v) { v.bytes[6] = 'X'; }, "not VS_VERSION_INFO"},
    {"FixedInformationShort", [](TestVersion& v) { Put16(v.bytes, 2, 20); }, "short of 52"},
    {"FixedInformationPastItsBlock", [](TestVersion& v) { Put16(v.bytes, 2, 0xfff0); },
     "runs past its block"},
    {"FixedInformationWithoutItsSignature", [](TestVersion& v) { Put32(v.bytes, kFixedAt, 0); },
     "does not start with 0xfeef04bd"},
    {"TranslationPastItsBlock",
     [](TestVersion& v) { Put16(v.bytes, v.at[u"Translation"] + 2, 0x100); },
     "runs past its block"},
};

INSTANTIATE_TEST_SUITE_P(VersionResource, SpoiledVersion, ::testing::ValuesIn(kSpoiledVersions),
                         [](const auto& info) { return std::string(info.param.name); });

// The version block's length is the resource's: any cut makes it overrun.
TEST(VersionResource, EveryCutIsRefused) {
    const Bytes whole = MakeVersion().bytes;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(ReadVersionInfo(
            Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))))
            << "cut at " << size;
    }
}

}  // namespace
}  // namespace lumora::test
