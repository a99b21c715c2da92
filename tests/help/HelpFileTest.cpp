// The help file: its page about each tuned value states what the runs really
// do (read back from the generated HTML and compared with the catalogue and
// the plans of the two runs for every choice), its links lead somewhere, and
// the compiled Lumora.chm holds every page, the topic the program opens and
// the window type it asks for.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/WideText.h"
#include "platform/ShellAddresses.h"
#include "tuning/ConnectionTypes.h"
#include "tuning/TweakCatalogue.h"
#include "tuning/TweakPlan.h"
#include "tuning/WindowsEditions.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

const fs::path kProject = LUMORA_HELP_PROJECT;
const fs::path kHelpFile = LUMORA_HELP_FILE;
const std::string kChmls = LUMORA_CHMLS;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// ---------------------------------------------------------------- HTML

struct Element {
    std::string start;  // the start tag
    std::string inner;
};

// The element with the given id; the pages never nest one in a like tag.
std::optional<Element> ById(const std::string& html, const std::string& id) {
    const std::size_t at = html.find("id=\"" + id + "\"");
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t open = html.rfind('<', at);
    const std::size_t close = html.find('>', at);
    const std::string tag = html.substr(open + 1, html.find(' ', open) - open - 1);
    const std::size_t end = html.find("</" + tag + ">", close);
    return Element{html.substr(open, close + 1 - open), html.substr(close + 1, end - close - 1)};
}

std::string ClassOf(const Element& element) {
    const std::size_t at = element.start.find("class=\"");
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t from = at + 7;
    return element.start.substr(from, element.start.find('"', from) - from);
}

// The text of some HTML: tags dropped, entities decoded.
std::wstring Text(const std::string& html) {
    std::wstring text;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            i = html.find('>', i);
        } else if (html[i] == '&') {
            const std::size_t end = html.find(';', i);
            const std::string name = html.substr(i + 1, end - i - 1);
            static const std::map<std::string, wchar_t> named = {
                {"amp", L'&'}, {"lt", L'<'}, {"gt", L'>'}, {"quot", L'"'}};
            if (name[0] == '#') {
                text += static_cast<wchar_t>(std::stoul(name.substr(1)));
            } else {
                text += named.at(name);
            }
            i = end;
        } else {
            text += static_cast<wchar_t>(html[i]);
        }
    }
    return text;
}

std::vector<std::wstring> ListItems(const Element& list) {
    std::vector<std::wstring> items;
    for (std::size_t at = list.inner.find("<li>"); at != std::string::npos;
         at = list.inner.find("<li>", at + 1)) {
        items.push_back(Text(list.inner.substr(at + 4, list.inner.find("</li>", at) - at - 4)));
    }
    return items;
}

// For messages: the catalogue's texts are ASCII.
std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// ---------------------------------------------------------------- a page

std::string PageName(std::size_t number) {
    char name[32];
    std::snprintf(name, sizeof name, "tweak%02zu.htm", number);
    return name;
}

// A value as a page shows it: "text" in quotes, a number (with its
// hexadecimal form in brackets), or "N bytes: 00 ...".
std::optional<TweakData> ParseValue(const std::wstring& shown) {
    TweakData data{TweakType::Dword, {}, 0, {}};
    if (shown.size() >= 2 && shown.front() == L'"' && shown.back() == L'"') {
        data.type = TweakType::String;
        data.text = shown.substr(1, shown.size() - 2);
        return data;
    }
    const std::size_t bytes = shown.find(L" bytes:");
    if (bytes != std::wstring::npos) {
        data.type = TweakType::Binary;
        std::wistringstream hex(shown.substr(bytes + 7));
        unsigned byte = 0;
        while (hex >> std::hex >> byte) {
            data.bytes.push_back(static_cast<std::uint8_t>(byte));
        }
        if (std::to_wstring(data.bytes.size()) != shown.substr(0, bytes)) {
            return std::nullopt;
        }
        return data;
    }
    std::size_t used = 0;
    const unsigned long number = std::stoul(shown, &used);
    std::wostringstream hex;
    hex << L" (0x" << std::hex << std::uppercase << number << L")";
    if (used != shown.size() && shown.substr(used) != hex.str()) {
        return std::nullopt;
    }
    data.number = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    return data;
}

bool SameData(const TweakData& a, const TweakData& b) {
    return a.type == b.type && a.text == b.text && a.number == b.number && a.bytes == b.bytes;
}

// What a page says about its row.
struct PageFacts {
    std::wstring key, name, type;
    std::set<std::size_t> editions;      // edition items it is written with
    std::set<std::size_t> connections;   // connection items it is written with
    std::optional<TweakData> values[2];  // by speed setting
    std::string backup, restore;         // the classes of those paragraphs
    std::wstring backupDefault;
    std::optional<Element> shared;
};

// The list items of |id|, as positions in |entries|; every position when the
// page has no such list (the value is written whatever was chosen there).
std::set<std::size_t> Chosen(const std::string& html, const char* id,
                             const std::vector<std::wstring>& entries) {
    std::set<std::size_t> chosen;
    const auto list = ById(html, id);
    if (!list) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            chosen.insert(i);
        }
        return chosen;
    }
    for (const std::wstring& item : ListItems(*list)) {
        const auto at = std::find(entries.begin(), entries.end(), item);
        EXPECT_NE(at, entries.end()) << "no such list entry: " << Narrow(item);
        chosen.insert(static_cast<std::size_t>(at - entries.begin()));
    }
    return chosen;
}

std::vector<std::wstring> EditionEntries() {
    std::vector<std::wstring> entries;
    for (const WindowsEdition& edition : kWindowsEditions) {
        entries.push_back(Trimmed(edition.text));
    }
    return entries;
}

std::vector<std::wstring> ConnectionEntries() {
    std::vector<std::wstring> entries;
    for (const ConnectionType& type : kConnectionTypes) {
        entries.push_back(Trimmed(type.text));
    }
    return entries;
}

PageFacts ReadPage(std::size_t number) {
    const std::string html = ReadFile(kProject / "html" / PageName(number));
    PageFacts facts;
    const auto text = [&html](const char* id) {
        const auto element = ById(html, id);
        return element ? Text(element->inner) : L"(missing)";
    };
    facts.key = text("key");
    facts.name = text("name");
    facts.type = text("type");
    facts.editions = Chosen(html, "editions", EditionEntries());
    facts.connections = Chosen(html, "connections", ConnectionEntries());
    for (int speed = 0; speed < 2; ++speed) {
        facts.values[speed] = ParseValue(text(("value-" + std::to_string(speed)).c_str()));
    }
    const auto backup = ById(html, "backup");
    const auto restore = ById(html, "restore");
    facts.backup = backup ? ClassOf(*backup) : "(missing)";
    facts.restore = restore ? ClassOf(*restore) : "(missing)";
    facts.backupDefault = text("backup-default");
    facts.shared = ById(html, "shared");
    return facts;
}

class TweakPagesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        pages_ = new std::vector<PageFacts>;
        for (std::size_t number = 1; number <= Tweaks().size(); ++number) {
            pages_->push_back(ReadPage(number));
        }
    }
    static void TearDownTestSuite() {
        delete pages_;
        pages_ = nullptr;
    }
    static const PageFacts& Page(const TweakRow& row) {
        return pages_->at(static_cast<std::size_t>(&row - Tweaks().data()));
    }
    static std::vector<PageFacts>* pages_;
};
std::vector<PageFacts>* TweakPagesTest::pages_ = nullptr;

std::string RowName(const TweakRow& row) {
    return "row " + std::to_string(&row - Tweaks().data() + 1) + " " + Narrow(row.name);
}
#define AT_ROW(row) "at " << RowName(row)

TEST_F(TweakPagesTest, NameTheKeyValueAndTypeOfTheirRow) {
    const std::map<TweakType, std::wstring> types = {{TweakType::String, L"REG_SZ"},
                                                     {TweakType::Dword, L"REG_DWORD"},
                                                     {TweakType::Binary, L"REG_BINARY"}};
    for (const TweakRow& row : Tweaks()) {
        const PageFacts& page = Page(row);
        const std::wstring root =
            row.key.root == RootKey::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
        EXPECT_EQ(page.key, root + row.key.path) << AT_ROW(row);
        EXPECT_EQ(page.name, row.name) << AT_ROW(row);
        EXPECT_EQ(page.type, types.at(row.value.type)) << AT_ROW(row);
    }
}

// Every edition and connection type, by list item.
struct Place {
    std::size_t edition;
    std::size_t connection;
};

std::vector<Place> AllPlaces() {
    std::vector<Place> places;
    for (std::size_t edition = 0; edition < kWindowsEditionCount; ++edition) {
        for (std::size_t connection = 0; connection < kConnectionTypeCount; ++connection) {
            places.push_back({edition, connection});
        }
    }
    return places;
}

std::string Where(const Place& place) {
    return ", edition " + std::to_string(place.edition) + ", connection " +
           std::to_string(place.connection);
}

bool PageLists(const PageFacts& page, const Place& place) {
    return page.editions.count(place.edition) != 0 && page.connections.count(place.connection) != 0;
}

std::int32_t OsIndexOf(const Place& place) {
    return ConvertWindowsVersion(static_cast<std::int32_t>(place.edition));
}

// For every edition, connection type and speed setting: the page says the
// row is written exactly when the optimize run's plan writes it, and with
// the value the plan writes. Each row reports its first difference only.
TEST_F(TweakPagesTest, SayWhatEveryChoiceWrites) {
    for (const TweakRow& row : Tweaks()) {
        const PageFacts& page = Page(row);
        bool same = true;
        for (const Place& place : AllPlaces()) {
            for (std::int32_t speed = 0; speed < 2 && same; ++speed) {
                const OptimizePlan plan =
                    PlanOptimize({.osIndex = OsIndexOf(place),
                                  .connectionType = static_cast<std::int32_t>(place.connection),
                                  .speedSetting = speed});
                const auto write =
                    std::find_if(plan.writes.begin(), plan.writes.end(),
                                 [&row](const TweakWrite& w) { return w.row == &row; });
                const bool written = write != plan.writes.end();
                same = PageLists(page, place) == written && page.values[speed].has_value() &&
                       (!written || SameData(*page.values[speed], write->data));
                EXPECT_TRUE(same) << AT_ROW(row) << Where(place) << ", speed " << speed;
            }
        }
    }
}

TEST_F(TweakPagesTest, SayWhatIsSavedAndWhatRestoreDoes) {
    const OptimizePlan plan =
        PlanOptimize({.osIndex = os_index::kWindows7, .connectionType = 0, .speedSetting = 0});
    for (const TweakRow& row : Tweaks()) {
        const PageFacts& page = Page(row);
        const bool saved = std::count(plan.backupCopies.begin(), plan.backupCopies.end(), &row);
        EXPECT_EQ(page.backup, saved ? "saved" : "not-saved") << AT_ROW(row);
        if (saved) {
            const std::wstring expected = row.value.type == TweakType::String
                                              ? L"\"" + std::wstring(row.backup.text) + L"\""
                                              : std::to_wstring(row.backup.number);
            EXPECT_EQ(page.backupDefault.substr(0, expected.size()), expected) << AT_ROW(row);
        }
        EXPECT_EQ(page.restore, saved ? "write-back" : "delete") << AT_ROW(row);

        // A restore handles the row with the choices its page lists, the way
        // the page says.
        for (const Place& place : AllPlaces()) {
            std::set<RestoreAction> actions;
            for (const RestoreStep& step :
                 PlanRestore(OsIndexOf(place), static_cast<std::int32_t>(place.connection))) {
                if (step.row == &row) {
                    actions.insert(step.action);
                }
            }
            std::set<RestoreAction> expected;
            if (PageLists(page, place)) {
                expected = page.restore == "write-back"
                               ? std::set<RestoreAction>{RestoreAction::WriteBackCopy,
                                                         RestoreAction::DeleteCopy}
                               : std::set<RestoreAction>{RestoreAction::DeleteValue};
            }
            if (actions != expected) {
                ADD_FAILURE() << AT_ROW(row) << Where(place);
                break;
            }
        }
    }
}

// Two rows whose keys differ only by a closing backslash tune one registry
// value; each page must point to the other.
TEST_F(TweakPagesTest, LinkRowsThatTuneTheSameRegistryValue) {
    const auto bare = [](std::wstring path) {
        while (!path.empty() && path.back() == L'\\') {
            path.pop_back();
        }
        return path;
    };
    int pairs = 0;
    for (const TweakRow& row : Tweaks()) {
        std::set<std::string> partners;
        for (const TweakRow& other : Tweaks()) {
            if (&other != &row && other.key.root == row.key.root &&
                EqualNoCase(bare(other.key.path), bare(row.key.path)) &&
                EqualNoCase(other.name, row.name)) {
                partners.insert(PageName(static_cast<std::size_t>(&other - Tweaks().data()) + 1));
            }
        }
        const auto& shared = Page(row).shared;
        ASSERT_EQ(shared.has_value(), !partners.empty()) << AT_ROW(row);
        for (const std::string& partner : partners) {
            EXPECT_NE(shared->inner.find("href=\"" + partner + "\""), std::string::npos)
                << AT_ROW(row);
            ++pairs;
        }
    }
    EXPECT_GT(pairs, 0);  // the catalogue has such rows; the check must see them
}

// ---------------------------------------------------------------- the project

std::vector<fs::path> ProjectFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(kProject)) {
        if (entry.is_regular_file()) {
            files.push_back(fs::relative(entry.path(), kProject));
        }
    }
    return files;
}

// Every link of a page, and every topic of the contents and index, leads to a
// file of the help, and to an anchor there when it names one.
TEST(HelpProjectTest, EveryLinkLeadsToAPageOfTheHelp) {
    int links = 0;
    for (const fs::path& file : ProjectFiles()) {
        const std::string extension = file.extension().string();
        if (extension != ".htm" && extension != ".hhc" && extension != ".hhk") {
            continue;
        }
        const std::string text = ReadFile(kProject / file);
        // Pages link relative to themselves; the contents and index to the project.
        const fs::path base = extension == ".htm" ? file.parent_path() : fs::path();
        for (const std::string attribute : {"href=\"", "name=\"Local\" value=\""}) {
            for (std::size_t at = text.find(attribute); at != std::string::npos;
                 at = text.find(attribute, at + 1)) {
                const std::size_t from = at + attribute.size();
                const std::string target = text.substr(from, text.find('"', from) - from);
                const std::size_t hash = target.find('#');
                const fs::path linked = kProject / base / target.substr(0, hash);
                ++links;
                ASSERT_TRUE(fs::is_regular_file(linked)) << file << " links to " << target;
                if (hash != std::string::npos) {
                    EXPECT_NE(ReadFile(linked).find("name=\"" + target.substr(hash + 1) + "\""),
                              std::string::npos)
                        << file << " links to " << target;
                }
            }
        }
    }
    EXPECT_GT(links, 100);
}

// ---------------------------------------------------------------- Lumora.chm

std::string CommandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    pclose(pipe);
    return output;
}

// An internal file of the help file, by its name there ("/#WINDOWS").
std::string Extract(const std::string& name) {
    const fs::path out =
        fs::temp_directory_path() / ("lumora-help-test-" + std::to_string(getpid()));
    CommandOutput("'" + kChmls + "' extract '" + kHelpFile.string() + "' '" + name + "' '" +
                  out.string() + "' 2>&1");
    std::string bytes = ReadFile(out);
    fs::remove(out);
    return bytes;
}

// The names of the files in the help file, one a line.
std::string ChmListing() {
    return CommandOutput("'" + kChmls + "' -n list '" + kHelpFile.string() + "' 2>&1");
}

std::uint32_t Dword(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

TEST(HelpFileTest, HoldsEveryPageOfTheProjectOnce) {
    std::vector<std::string> names;
    std::istringstream lines(ChmListing());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] == '/') {
            names.push_back(line);
        }
    }
    std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), names.size()) << "a file is stored twice";
    int pages = 0;
    for (const fs::path& file : ProjectFiles()) {
        if (*file.begin() == "html") {
            EXPECT_EQ(unique.count("/" + file.generic_string()), 1u) << file;
            ++pages;
        }
    }
    EXPECT_GT(pages, static_cast<int>(Tweaks().size()));
}

// The help address the program opens names a topic and a window type: both
// must be in the help file, and the window type must open on that topic.
TEST(HelpFileTest, HoldsTheTopicAndTheWindowTypeTheProgramAsksFor) {
    const std::wstring address = HelpAddress(L"", kHelpFileName, kHelpTopic);
    const std::size_t window = address.rfind(L'>');
    ASSERT_NE(window, std::wstring::npos);
    const std::u16string windowName16 = WideToUtf16(address.substr(window + 1));
    const std::string windowName(windowName16.begin(), windowName16.end());
    const std::u16string topic16 = WideToUtf16(kHelpTopic);
    const std::string topic(topic16.begin(), topic16.end());

    EXPECT_NE(ChmListing().find(topic + "\n"), std::string::npos);

    // #WINDOWS: a count, the size of an entry, then HH_WINTYPE-like entries
    // whose strings are offsets into #STRINGS.
    const std::string windows = Extract("/#WINDOWS");
    const std::string strings = Extract("/#STRINGS");
    ASSERT_GE(windows.size(), 8u);
    ASSERT_FALSE(strings.empty());
    const auto stringAt = [&strings](std::uint32_t offset) {
        return offset < strings.size() ? std::string(strings.c_str() + offset) : std::string();
    };
    const std::uint32_t count = Dword(windows, 0);
    const std::uint32_t size = Dword(windows, 4);
    bool found = false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 8 + std::size_t{i} * size;
        ASSERT_LE(entry + 0x70, windows.size());
        if (stringAt(Dword(windows, entry + 0x08)) == windowName) {
            found = true;
            EXPECT_EQ("/" + stringAt(Dword(windows, entry + 0x68)), topic) << "its first topic";
            EXPECT_EQ("/" + stringAt(Dword(windows, entry + 0x6C)), topic) << "its home topic";
        }
    }
    EXPECT_TRUE(found) << "no window type " << windowName;
}

}  // namespace
}  // namespace lumora
