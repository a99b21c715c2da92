// The shipped executables of a Windows build as Windows finds them, read on
// the build machine itself, without Wine: the headers the loader checks
// (processor, subsystem and the oldest Windows that starts them), the
// manifest (rights, common controls 6, supported Windows versions), the
// version resource behind the file's properties, the icon, and Lumora.exe's
// click sound. The build says where the files are and what they must say:
//   LUMORA_SHIPPED_BIN    the folder of Lumora.exe and LumoraUpdate.exe
//   LUMORA_SHIPPED_WIDTH  32 or 64
//   LUMORA_VERSION        the program's version, such as 2.9.5.2016
//   LUMORA_MAKER          the maker's name
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/files/PeImage.h"
#include "tests/files/VersionResource.h"

namespace lumora::test {
namespace {

struct Width {
    const char* bits;
    std::uint16_t machine;
    std::uint16_t magic;
    // The common controls' processorArchitecture.
    const char* architecture;
    // Windows 2000 (5.0) refuses a 32-bit program that asks for a later
    // subsystem; 64-bit Windows begins at 5.2.
    PeVersion latestSubsystem;
};

const Width kWidths[] = {
    {"32", kMachineI386, kPe32, "x86", {5, 0}},
    {"64", kMachineAmd64, kPe32Plus, "amd64", {5, 2}},
};

struct Settings {
    std::string bin;
    const Width* width = nullptr;
    std::string version;
    std::string maker;
    // Why the tests cannot run; empty when they can.
    std::string problem;
};

const Settings& GetSettings() {
    static const Settings settings = [] {
        Settings s;
        auto read = [&s](const char* name) {
            const char* value = std::getenv(name);
            if (value == nullptr || *value == '\0') {
                s.problem += std::string(name) + " is not set. ";
                return std::string();
            }
            return std::string(value);
        };
        s.bin = read("LUMORA_SHIPPED_BIN");
        const std::string bits = read("LUMORA_SHIPPED_WIDTH");
        s.version = read("LUMORA_VERSION");
        s.maker = read("LUMORA_MAKER");
        for (const Width& width : kWidths) {
            if (bits == width.bits) {
                s.width = &width;
            }
        }
        if (s.width == nullptr && !bits.empty()) {
            s.problem += "LUMORA_SHIPPED_WIDTH is \"" + bits + "\", not 32 or 64.";
        }
        return s;
    }();
    return settings;
}

// The elements <|tag| ...> of an XML text outside its comments, each as its
// attributes.
std::vector<std::map<std::string, std::string>> Elements(const std::string& xml,
                                                         const std::string& tag) {
    std::vector<std::map<std::string, std::string>> elements;
    std::size_t at = 0;
    while ((at = xml.find('<', at)) != std::string::npos) {
        if (xml.compare(at, 4, "<!--") == 0) {
            const std::size_t end = xml.find("-->", at + 4);
            if (end == std::string::npos) {
                break;
            }
            at = end + 3;
            continue;
        }
        at += 1;
        if (xml.compare(at, tag.size(), tag) != 0 || at + tag.size() >= xml.size() ||
            std::string(" \t\r\n/>").find(xml[at + tag.size()]) == std::string::npos) {
            continue;
        }
        std::map<std::string, std::string> attributes;
        std::size_t pos = at + tag.size();
        for (;;) {
            pos = xml.find_first_not_of(" \t\r\n", pos);
            if (pos == std::string::npos || xml[pos] == '/' || xml[pos] == '>') {
                break;
            }
            const std::size_t equals = xml.find('=', pos);
            if (equals == std::string::npos || equals + 1 >= xml.size()) {
                break;
            }
            const char quote = xml[equals + 1];
            const std::size_t close = xml.find(quote, equals + 2);
            if ((quote != '"' && quote != '\'') || close == std::string::npos) {
                break;
            }
            std::string name = xml.substr(pos, equals - pos);
            name.erase(name.find_last_not_of(" \t\r\n") + 1);
            attributes[name] = xml.substr(equals + 2, close - equals - 2);
            pos = close + 1;
        }
        elements.push_back(attributes);
        at = pos;
    }
    return elements;
}

std::string Attribute(const std::map<std::string, std::string>& element, const std::string& name) {
    const auto found = element.find(name);
    return found != element.end() ? found->second : "(none)";
}

struct Program {
    const char* file;
    // cppcheck-suppress unusedStructMember
    const char* executionLevel;
};

const Program kPrograms[] = {
    {"Lumora.exe", "requireAdministrator"},
    // Only asks and opens a web page. Without a level, Windows would take a
    // program named "...Update" for an installer and ask for elevation.
    {"LumoraUpdate.exe", "asInvoker"},
};

void PrintTo(const Program& program, std::ostream* out) {
    *out << program.file;
}

class ShippedProgram : public ::testing::TestWithParam<Program> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(settings_.problem.empty()) << settings_.problem;
        path_ = settings_.bin + "/" + GetParam().file;
        image_ = ReadPeFile(path_);
        ASSERT_TRUE(image_) << path_ << ": " << image_.reason;
    }

    // The resource's bytes as a text; empty, with a failure, if it is not
    // readable.
    std::string Resource(const ResourceId& type, const ResourceId& name) const {
        const Readable<std::vector<std::uint8_t>> data = image_->Resource(type, name);
        EXPECT_TRUE(data) << path_ << ": " << data.reason;
        return data ? std::string(data->begin(), data->end()) : std::string();
    }

    const Settings& settings_ = GetSettings();
    std::string path_;
    Readable<PeImage> image_;
};

TEST_P(ShippedProgram, IsAWindowsProgramForItsProcessorThatStartsOnTheOldestWindows) {
    const Width& width = *settings_.width;
    const PeHeaders& headers = image_->Headers();
    EXPECT_EQ(headers.machine, width.machine) << std::hex << "machine 0x" << headers.machine;
    EXPECT_EQ(headers.magic, width.magic) << std::hex << "magic 0x" << headers.magic;
    EXPECT_NE(headers.characteristics & kExecutableImage, 0);
    EXPECT_EQ(headers.characteristics & kDllImage, 0);
    EXPECT_EQ(headers.subsystem, kSubsystemWindowsGui);
    const PeVersion subsystem = headers.subsystemVersion;
    EXPECT_TRUE(subsystem.major < width.latestSubsystem.major ||
                (subsystem.major == width.latestSubsystem.major &&
                 subsystem.minor <= width.latestSubsystem.minor))
        << "subsystem " << subsystem.major << "." << subsystem.minor << ", later than "
        << width.latestSubsystem.major << "." << width.latestSubsystem.minor;
}

TEST_P(ShippedProgram, ManifestAsksForItsRightsCommonControlsSixAndEverySupportedWindows) {
    const std::string manifest = Resource(kRtManifest, 1);
    ASSERT_FALSE(manifest.empty());

    // The program's own identity comes first.
    const auto identities = Elements(manifest, "assemblyIdentity");
    ASSERT_FALSE(identities.empty()) << manifest;
    EXPECT_EQ(Attribute(identities[0], "version"), settings_.version);

    const auto levels = Elements(manifest, "requestedExecutionLevel");
    ASSERT_EQ(levels.size(), 1u) << manifest;
    EXPECT_EQ(Attribute(levels[0], "level"), GetParam().executionLevel);
    EXPECT_EQ(Attribute(levels[0], "uiAccess"), "false");

    std::vector<std::map<std::string, std::string>> controls;
    std::copy_if(identities.begin(), identities.end(), std::back_inserter(controls),
                 [](const auto& identity) {
                     return Attribute(identity, "name") == "Microsoft.Windows.Common-Controls";
                 });
    ASSERT_EQ(controls.size(), 1u) << manifest;
    EXPECT_EQ(Attribute(controls[0], "type"), "win32");
    EXPECT_EQ(Attribute(controls[0], "version"), "6.0.0.0");
    EXPECT_EQ(Attribute(controls[0], "publicKeyToken"), "6595b64144ccf1df");
    EXPECT_EQ(Attribute(controls[0], "processorArchitecture"), settings_.width->architecture);

    // Without them Windows 8.1 and 10 report an older version to the program.
    const auto systems = Elements(manifest, "supportedOS");
    std::vector<std::string> supported;
    std::transform(systems.begin(), systems.end(), std::back_inserter(supported),
                   [](const auto& os) { return Attribute(os, "Id"); });
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",     // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10
        EXPECT_EQ(std::count(supported.begin(), supported.end(), id), 1) << id;
    }
}

// System dpi awareness, in the form Windows XP's reader accepts too: an
// application element of the asm.v3 namespace whose windows settings say
// dpiAware true. Without it Vista and later stretch the windows' picture.
TEST_P(ShippedProgram, ManifestDeclaresSystemDpiAwareness) {
    const std::string manifest = Resource(kRtManifest, 1);
    ASSERT_FALSE(manifest.empty());
    const auto applications = Elements(manifest, "asmv3:application");
    ASSERT_EQ(applications.size(), 1u) << manifest;
    EXPECT_EQ(Attribute(applications[0], "xmlns:asmv3"), "urn:schemas-microsoft-com:asm.v3");
    const auto settings = Elements(manifest, "asmv3:windowsSettings");
    ASSERT_EQ(settings.size(), 1u) << manifest;
    EXPECT_EQ(Attribute(settings[0], "xmlns"),
              "http://schemas.microsoft.com/SMI/2005/WindowsSettings");
    const std::size_t begin = manifest.find("<asmv3:windowsSettings");
    const std::size_t end = manifest.find("</asmv3:windowsSettings>");
    const std::size_t declared = manifest.find("<dpiAware>true</dpiAware>");
    ASSERT_NE(declared, std::string::npos) << manifest;
    EXPECT_LT(begin, declared);
    EXPECT_LT(declared, end);
}

TEST_P(ShippedProgram, VersionResourceNamesVersionProductMakerAndFile) {
    const std::string resource = Resource(kRtVersion, 1);
    const Readable<VersionInfo> version =
        ReadVersionInfo(std::vector<std::uint8_t>(resource.begin(), resource.end()));
    ASSERT_TRUE(version) << path_ << ": " << version.reason;
    ASSERT_TRUE(version->fixed.has_value());
    const FixedFileInfo& fixed = *version->fixed;
    EXPECT_EQ(VersionText(fixed.fileVersionMs, fixed.fileVersionLs), settings_.version);
    EXPECT_EQ(VersionText(fixed.productVersionMs, fixed.productVersionLs), settings_.version);
    EXPECT_EQ(fixed.fileType, kFileTypeApp);

    // Explorer shows the strings of the first translation.
    ASSERT_FALSE(version->translations.empty());
    const StringTable* table = version->TableOf(version->translations[0]);
    ASSERT_NE(table, nullptr) << "no string table for the first translation";
    struct Expected {
        const char* key;
        std::string value;
    };
    const Expected expected[] = {
        {"FileVersion", settings_.version},
        {"ProductVersion", settings_.version},
        {"ProductName", "Lumora"},
        {"CompanyName", settings_.maker},
        {"OriginalFilename", GetParam().file},
    };
    for (const Expected& e : expected) {
        const std::string* value = table->Find(e.key);
        ASSERT_NE(value, nullptr) << e.key;
        EXPECT_EQ(*value, e.value) << e.key;
    }
    for (const char* key : {"LegalCopyright", "FileDescription"}) {
        const std::string* value = table->Find(key);
        ASSERT_NE(value, nullptr) << key;
        EXPECT_FALSE(value->empty()) << key;
    }
}

// The icon group lists its images by their RT_ICON numbers; each must be there.
TEST_P(ShippedProgram, CarriesTheProgramIconWithEachOfItsImages) {
    const std::string group = Resource(kRtGroupIcon, IDI_LUMORA);
    ASSERT_GE(group.size(), 6u);
    const auto u16 = [&group](std::size_t at) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(group[at]) |
                                          static_cast<unsigned char>(group[at + 1]) << 8);
    };
    EXPECT_EQ(u16(2), 1) << "not an icon group";
    const std::size_t count = u16(4);
    ASSERT_GE(count, 1u);
    ASSERT_GE(group.size(), 6 + 14 * count);
    constexpr std::uint16_t kRtIcon = 3;
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_FALSE(Resource(kRtIcon, u16(6 + 14 * i + 12)).empty()) << "image " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedProgram, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

TEST(ShippedLumoraExe, CarriesTheClickSound) {
    const Settings& settings = GetSettings();
    ASSERT_TRUE(settings.problem.empty()) << settings.problem;
    const Readable<PeImage> image = ReadPeFile(settings.bin + "/Lumora.exe");
    ASSERT_TRUE(image) << image.reason;
    const Readable<std::vector<std::uint8_t>> click = image->Resource("WAVE", "CLICK");
    ASSERT_TRUE(click) << click.reason;
    const std::string bytes(click->begin(), click->end());
    ASSERT_EQ(bytes.size(), 2202u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
}

}  // namespace
}  // namespace lumora::test
