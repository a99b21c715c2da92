#include "docs/helpgen/TweakPages.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <set>
#include <sstream>

#include "common/WideText.h"
#include "registry/ProgramKey.h"
#include "tuning/ConnectionTypes.h"
#include "tuning/TweakCatalogue.h"
#include "tuning/TweakPlan.h"
#include "tuning/WindowsEditions.h"
#include "ui/Captions.h"
#include "ui/text/CaptionSections.h"

namespace lumora::help {

namespace {

// The two track bar positions.
constexpr std::int32_t kSpeedSettings[] = {0, 1};
constexpr std::size_t kSpeedCount = 2;

// ---------------------------------------------------------------- HTML text

// Plain ASCII with entities, so that the pages read the same in any code page.
std::string Html(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) {
        switch (c) {
            case L'&':
                out += "&amp;";
                break;
            case L'<':
                out += "&lt;";
                break;
            case L'>':
                out += "&gt;";
                break;
            case L'"':
                out += "&quot;";
                break;
            default:
                if (c >= 0x20 && c < 0x7F) {
                    out += static_cast<char>(c);
                } else {
                    out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
                }
        }
    }
    return out;
}

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return L"";
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// A caption of the main window without its accelerator mark.
std::string Caption(const wchar_t* key) {
    std::wstring text = Trimmed(GetCaption(kMainFormSection, key));
    text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
    if (text.empty()) {
        throw HelpError("the caption table has no text for LMMainForm, " + Html(key));
    }
    return Html(text);
}

std::string Quoted(const std::string& html) {
    return "&quot;" + html + "&quot;";
}

std::string EditionName(std::size_t item) {
    return Html(Trimmed(kWindowsEditions[item].text));
}

std::string ConnectionName(std::size_t item) {
    return Html(Trimmed(kConnectionTypes[item].text));
}

std::string SpeedName(std::size_t position) {
    return Caption(position == 0 ? L"FastLabel" : L"FasterLabel");
}

std::string RootName(RootKey root) {
    return root == RootKey::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string KeyText(const TweakKey& key) {
    return RootName(key.root) + Html(key.path);
}

std::string TypeName(TweakType type) {
    switch (type) {
        case TweakType::String:
            return "REG_SZ";
        case TweakType::Dword:
            return "REG_DWORD";
        case TweakType::Binary:
            return "REG_BINARY";
    }
    return "";
}

std::string Hex(std::uint32_t number, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(number));
    return buffer;
}

// A value as the pages show it: a text in quotes, a number in decimal (and
// hexadecimal from 10 on), or the count and bytes of binary data.
std::string ValueText(const TweakData& data) {
    switch (data.type) {
        case TweakType::String:
            return Quoted(Html(data.text));
        case TweakType::Dword: {
            const auto number = static_cast<std::uint32_t>(data.number);
            std::string text = std::to_string(number);
            if (number >= 10) {
                text += " (0x" + Hex(number, 0) + ")";
            }
            return text;
        }
        case TweakType::Binary: {
            std::string text = std::to_string(data.bytes.size()) + " bytes:";
            for (const std::uint8_t byte : data.bytes) {
                text += " " + Hex(byte, 2);
            }
            return text;
        }
    }
    return "";
}

std::string BackupDefaultText(const TweakRow& row) {
    TweakData data{row.value.type, {}, 0, {}};
    if (row.value.type == TweakType::String) {
        data.text = row.backup.text;
    } else {
        data.number = row.backup.number;
    }
    return ValueText(data);
}

std::string JoinedList(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += i + 1 == items.size() ? " and " : ", ";
        }
        text += items[i];
    }
    return text;
}

std::string PageStart(const std::string& title) {
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
           "<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
           "<title>" +
           title +
           "</title>\n"
           "<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\">\n"
           "</head>\n<body>\n";
}

const char* const kPageEnd = "</body>\n</html>\n";

// ---------------------------------------------------------------- facts

bool SameData(const TweakData& a, const TweakData& b) {
    return a.type == b.type && a.text == b.text && a.number == b.number && a.bytes == b.bytes;
}

bool SameKey(const TweakKey& a, const TweakKey& b) {
    auto bare = [](std::wstring path) {
        while (!path.empty() && path.back() == L'\\') {
            path.pop_back();
        }
        return path;
    };
    return a.root == b.root && EqualNoCase(bare(a.path), bare(b.path));
}

// Two rows that name one registry value.
bool SameValue(const TweakRow& a, const TweakRow& b) {
    return SameKey(a.key, b.key) && EqualNoCase(a.name, b.name);
}

// A choice of the main window's three selections, by list item and position.
struct Choice {
    std::size_t edition;
    std::size_t connection;
    std::size_t speed;
};

TuningChoices ChoicesOf(const Choice& choice) {
    return {.osIndex = ConvertWindowsVersion(static_cast<std::int32_t>(choice.edition)),
            .connectionType = static_cast<std::int32_t>(choice.connection),
            .speedSetting = kSpeedSettings[choice.speed]};
}

void ForEachChoice(const std::function<void(const Choice&)>& visit) {
    for (std::size_t e = 0; e < kWindowsEditionCount; ++e) {
        for (std::size_t c = 0; c < kConnectionTypeCount; ++c) {
            for (std::size_t s = 0; s < kSpeedCount; ++s) {
                visit({e, c, s});
            }
        }
    }
}

// What the runs do with one row, read off their plans for every choice.
struct TweakFacts {
    std::size_t number = 0;  // from 1
    const TweakRow* row = nullptr;
    std::vector<bool> editions;           // written with this edition item
    std::vector<bool> connections;        // written with this connection item
    std::vector<TweakData> values;        // written with this speed setting
    bool saved = false;                   // its value is copied before the first write
    bool writtenBack = false;             // a restore writes the copy back (else deletes)
    std::vector<std::size_t> sharedWith;  // other rows on the same registry value

    bool AllEditions() const {
        return std::count(editions.begin(), editions.end(), true) ==
               static_cast<std::ptrdiff_t>(editions.size());
    }
    bool AllConnections() const {
        return std::count(connections.begin(), connections.end(), true) ==
               static_cast<std::ptrdiff_t>(connections.size());
    }
    bool Applies(std::size_t edition, std::size_t connection) const {
        return editions[edition] && connections[connection];
    }
    bool SpeedMatters() const { return !SameData(values[0], values[1]); }
};

std::string RowLabel(const TweakFacts& facts) {
    return "row " + std::to_string(facts.number) + " (" + Html(facts.row->name) + ")";
}

std::vector<TweakFacts> CollectFacts() {
    const TweakCatalogue& rows = Tweaks();
    const auto numberOf = [&rows](const TweakRow* row) {
        return static_cast<std::size_t>(row - rows.data());
    };
    // written[row][e][c][s]: the value written, when it is.
    struct Cell {
        bool written = false;
        TweakData data;
    };
    std::vector<std::vector<Cell>> written(rows.size());
    std::vector<int> savedIn(rows.size(), 0);
    int choices = 0;
    const auto cellIndex = [](const Choice& choice) {
        return (choice.edition * kConnectionTypeCount + choice.connection) * kSpeedCount +
               choice.speed;
    };
    for (auto& cells : written) {
        cells.resize(kWindowsEditionCount * kConnectionTypeCount * kSpeedCount);
    }
    ForEachChoice([&](const Choice& choice) {
        ++choices;
        const OptimizePlan plan = PlanOptimize(ChoicesOf(choice));
        for (const TweakWrite& write : plan.writes) {
            written[numberOf(write.row)][cellIndex(choice)] = {true, write.data};
        }
        for (const TweakRow* row : plan.backupCopies) {
            ++savedIn[numberOf(row)];
        }
    });

    std::vector<TweakFacts> all(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TweakFacts& facts = all[i];
        facts.number = i + 1;
        facts.row = &rows[i];
        facts.editions.assign(kWindowsEditionCount, false);
        facts.connections.assign(kConnectionTypeCount, false);
        facts.values.resize(kSpeedCount);
        std::vector<bool> valueSeen(kSpeedCount, false);
        ForEachChoice([&](const Choice& choice) {
            const Cell& cell = written[i][cellIndex(choice)];
            if (!cell.written) {
                return;
            }
            facts.editions[choice.edition] = true;
            facts.connections[choice.connection] = true;
            if (!valueSeen[choice.speed]) {
                facts.values[choice.speed] = cell.data;
                valueSeen[choice.speed] = true;
            } else if (!SameData(facts.values[choice.speed], cell.data)) {
                throw HelpError(RowLabel(facts) +
                                ": its value depends on more than the speed setting");
            }
        });
        if (std::count(valueSeen.begin(), valueSeen.end(), true) !=
            static_cast<std::ptrdiff_t>(kSpeedCount)) {
            throw HelpError(RowLabel(facts) + ": not written with every speed setting");
        }
        // The pages state the condition as a list of editions and a list of
        // connection types; that holds only if each one decides on its own.
        ForEachChoice([&](const Choice& choice) {
            if (written[i][cellIndex(choice)].written !=
                facts.Applies(choice.edition, choice.connection)) {
                throw HelpError(RowLabel(facts) +
                                ": its condition is not edition and connection apart");
            }
        });
        if (savedIn[i] != 0 && savedIn[i] != choices) {
            throw HelpError(RowLabel(facts) + ": its value is saved only with some choices");
        }
        facts.saved = savedIn[i] != 0;
        for (std::size_t j = 0; j < rows.size(); ++j) {
            if (j != i && SameValue(rows[i], rows[j])) {
                facts.sharedWith.push_back(j + 1);
            }
        }
    }

    // The restore run: the same condition, and one way of undoing each row.
    for (TweakFacts& facts : all) {
        std::set<RestoreAction> actions;
        for (std::size_t e = 0; e < kWindowsEditionCount; ++e) {
            for (std::size_t c = 0; c < kConnectionTypeCount; ++c) {
                std::set<RestoreAction> here;
                for (const RestoreStep& step :
                     PlanRestore(ChoicesOf({e, c, 0}).osIndex, static_cast<std::int32_t>(c))) {
                    if (step.row == facts.row) {
                        here.insert(step.action);
                    }
                }
                if (here.empty() == facts.Applies(e, c)) {
                    throw HelpError(RowLabel(facts) +
                                    ": a restore handles it with other choices than an "
                                    "optimize run writes it");
                }
                if (!here.empty()) {
                    if (!actions.empty() && actions != here) {
                        throw HelpError(RowLabel(facts) + ": restored differently by choice");
                    }
                    actions = here;
                }
            }
        }
        const std::set<RestoreAction> writeBack{RestoreAction::WriteBackCopy,
                                                RestoreAction::DeleteCopy};
        const std::set<RestoreAction> deletion{RestoreAction::DeleteValue};
        if (actions == writeBack && facts.saved) {
            facts.writtenBack = true;
        } else if (actions == deletion && !facts.saved) {
            facts.writtenBack = false;
        } else {
            throw HelpError(RowLabel(facts) + ": restored in a way the pages do not describe");
        }
    }
    return all;
}

const std::vector<TweakFacts>& Facts() {
    static const std::vector<TweakFacts> facts = CollectFacts();
    return facts;
}

std::string PageLink(std::size_t number, const std::string& text) {
    return "<a href=\"" + TweakPageName(number) + "\">" + text + "</a>";
}

std::string NameLink(const TweakFacts& facts) {
    return PageLink(facts.number, Html(facts.row->name));
}

// ---------------------------------------------------------------- outcomes

// Describes something that depends on at most one of the three selections:
// the one text, or each text with the list entries that give it.
std::string DescribeOutcome(const std::function<std::string(const Choice&)>& outcome) {
    bool byEdition = false;
    bool byConnection = false;
    bool bySpeed = false;
    ForEachChoice([&](const Choice& choice) {
        const std::string here = outcome(choice);
        byEdition |= outcome({0, choice.connection, choice.speed}) != here;
        byConnection |= outcome({choice.edition, 0, choice.speed}) != here;
        bySpeed |= outcome({choice.edition, choice.connection, 0}) != here;
    });
    if (byEdition + byConnection + bySpeed > 1) {
        throw HelpError("an outcome depends on more than one selection");
    }
    if (!byEdition && !byConnection && !bySpeed) {
        return outcome({0, 0, 0});
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> groups;
    const std::size_t count = byEdition      ? kWindowsEditionCount
                              : byConnection ? kConnectionTypeCount
                                             : kSpeedCount;
    for (std::size_t item = 0; item < count; ++item) {
        const Choice choice{byEdition ? item : 0, byConnection ? item : 0, bySpeed ? item : 0};
        const std::string text = outcome(choice);
        const std::string name = byEdition      ? EditionName(item)
                                 : byConnection ? ConnectionName(item)
                                                : SpeedName(item);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&text](const auto& g) { return g.first == text; });
        if (group == groups.end()) {
            groups.push_back({text, {name}});
        } else {
            group->second.push_back(name);
        }
    }
    // The largest group goes last, as "every other" entry.
    const auto largest = std::max_element(
        groups.begin(), groups.end(),
        [](const auto& a, const auto& b) { return a.second.size() < b.second.size(); });
    std::rotate(largest, largest + 1, groups.end());
    const char* const kind = byEdition      ? "Windows edition"
                             : byConnection ? "connection type"
                                            : "speed setting";
    std::string description;
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
        description += groups[i].first + " with " + JoinedList(groups[i].second) + "; ";
    }
    return description + groups.back().first + " with every other " + kind;
}

// What a registry value holds after an optimize run: the last write to it.
std::string AfterOptimize(const TweakFacts& facts, const Choice& choice) {
    std::string text = "what it held before";
    for (const TweakWrite& write : PlanOptimize(ChoicesOf(choice)).writes) {
        if (SameValue(*write.row, *facts.row)) {
            text = ValueText(write.data);
        }
    }
    return text;
}

// What a restore run leaves in a registry value: its last step on it.
std::string AfterRestore(const TweakFacts& facts, const Choice& choice) {
    std::string text = "left as it was";
    const TuningChoices choices = ChoicesOf(choice);
    const TweakCatalogue& rows = Tweaks();
    for (const RestoreStep& step : PlanRestore(choices.osIndex, choices.connectionType)) {
        if (!SameValue(*step.row, *facts.row)) {
            continue;
        }
        const std::size_t number = static_cast<std::size_t>(step.row - rows.data()) + 1;
        if (step.action == RestoreAction::DeleteValue) {
            text = "deleted";
        } else if (step.action == RestoreAction::WriteBackCopy) {
            text = number == facts.number ? "given back its saved copy"
                                          : "given back the copy saved for " +
                                                PageLink(number, "value " + std::to_string(number));
        }
    }
    return text;
}

// ---------------------------------------------------------------- pages

std::string SelectionList(const char* id, const std::vector<bool>& chosen,
                          std::string (*name)(std::size_t)) {
    std::string list = "<ul id=\"" + std::string(id) + "\">\n";
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i]) {
            list += "<li>" + name(i) + "</li>\n";
        }
    }
    return list + "</ul>\n";
}

std::vector<std::string> Unchosen(const std::vector<bool>& chosen,
                                  std::string (*name)(std::size_t)) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (!chosen[i]) {
            names.push_back(name(i));
        }
    }
    return names;
}

std::string WhenSection(const TweakFacts& facts) {
    if (facts.AllEditions() && facts.AllConnections()) {
        return "<p id=\"when\">Every optimize run writes this value, whatever edition and "
               "connection type you choose.</p>\n";
    }
    std::string text;
    if (!facts.AllEditions()) {
        text += "<p>It is written only when the Windows edition you choose is one of these:</p>\n" +
                SelectionList("editions", facts.editions, EditionName) + "<p>With " +
                JoinedList(Unchosen(facts.editions, EditionName)) +
                " Lumora leaves this value alone.</p>\n";
    }
    if (!facts.AllConnections()) {
        text +=
            "<p>It is written only when the internet connection type you choose is one of "
            "these:</p>\n" +
            SelectionList("connections", facts.connections, ConnectionName) + "<p>With " +
            JoinedList(Unchosen(facts.connections, ConnectionName)) +
            " Lumora leaves this value alone.</p>\n";
    }
    return text;
}

std::string ValuesTable(const TweakFacts& facts) {
    std::string table =
        "<table class=\"values\">\n<tr><th>Speed setting</th><th>Value written</th></tr>\n";
    for (std::size_t s = 0; s < kSpeedCount; ++s) {
        table += "<tr><td>" + SpeedName(s) + "</td><td id=\"value-" + std::to_string(s) + "\">" +
                 ValueText(facts.values[s]) + "</td></tr>\n";
    }
    return table + "</table>\n";
}

std::string ProgramKeyText() {
    return RootName(program_key::kRoot) + Html(program_key::kPath);
}

std::string BackupSection(const TweakFacts& facts) {
    if (!facts.saved) {
        return "<p id=\"backup\" class=\"not-saved\">Lumora does not keep the value it finds "
               "here. Whatever was there before is overwritten and cannot be brought back by "
               "Lumora.</p>\n";
    }
    const bool text = facts.row->value.type == TweakType::String;
    return "<p id=\"backup\" class=\"saved\">Before it writes anything, the first optimize run "
           "(and the first one after each restore) saves the value it finds here: Lumora keeps a "
           "copy under the same name in its own key, " +
           ProgramKeyText() + ". When the value is missing" + (text ? ", empty" : "") +
           " or cannot be read as a " + TypeName(facts.row->value.type) +
           ", the copy holds <span id=\"backup-default\">" + BackupDefaultText(*facts.row) +
           "</span> instead. Later optimize runs leave that first copy as it is.</p>\n";
}

std::string RestoreSection(const TweakFacts& facts) {
    std::string text;
    if (facts.writtenBack) {
        text =
            "<p id=\"restore\" class=\"write-back\">Restore writes the saved copy back to this "
            "value and then removes the copy from Lumora's key. A value that did not exist "
            "before the first optimize run exists after the restore, holding " +
            BackupDefaultText(*facts.row) + ".</p>\n";
    } else {
        text =
            "<p id=\"restore\" class=\"delete\">Restore deletes this value, even if it "
            "existed before Lumora changed it. Windows then uses its built-in default for the "
            "setting, which need not be what was there before.</p>\n";
    }
    if (!facts.AllEditions() || !facts.AllConnections()) {
        std::vector<std::string> choices;
        if (!facts.AllEditions()) {
            choices.push_back("Windows edition");
        }
        if (!facts.AllConnections()) {
            choices.push_back("connection type");
        }
        text += "<p>Restore looks at the " + JoinedList(choices) +
                " chosen when you press it, not at the one chosen for the optimize run: it "
                "handles this value only with the choices listed above. Choose the same as for "
                "the optimize run before you restore.</p>\n";
    }
    return text;
}

std::string SharedSection(const TweakFacts& facts) {
    if (facts.sharedWith.empty()) {
        return "";
    }
    std::vector<std::string> others;
    for (const std::size_t number : facts.sharedWith) {
        others.push_back(PageLink(number, "value " + std::to_string(number)));
    }
    return "<div id=\"shared\">\n<p>Tuned " + JoinedList(others) +
           " is this same registry value: its key is spelled "
           "differently (with or without a closing backslash), but Windows treats both "
           "spellings as one key. Within a run the later step decides.</p>\n"
           "<p>After an optimize run the value holds: " +
           DescribeOutcome([&facts](const Choice& c) { return AfterOptimize(facts, c); }) +
           ".</p>\n<p>After a restore the value is " +
           DescribeOutcome([&facts](const Choice& c) { return AfterRestore(facts, c); }) +
           ".</p>\n</div>\n";
}

std::string TweakPage(const TweakFacts& facts, const std::string& note) {
    const std::size_t count = Facts().size();
    const std::string name = Html(facts.row->name);
    std::string page = PageStart(name + " - tuned value " + std::to_string(facts.number));
    page += "<p class=\"nav\"><a href=\"tweaks.htm\">All tuned values</a>";
    if (facts.number > 1) {
        page += " | " + PageLink(facts.number - 1, "Previous");
    }
    if (facts.number < count) {
        page += " | " + PageLink(facts.number + 1, "Next");
    }
    page += "</p>\n<h1>" + name + "</h1>\n";
    page += "<p class=\"lead\">Tuned value " + std::to_string(facts.number) + " of " +
            std::to_string(count) + ", in the order " + Quoted(Caption(L"GoButton")) +
            " writes them.</p>\n";
    page += "<table class=\"facts\">\n<tr><th>Key</th><td id=\"key\">" + KeyText(facts.row->key) +
            "</td></tr>\n<tr><th>Value name</th><td id=\"name\">" + name +
            "</td></tr>\n<tr><th>Type</th><td id=\"type\">" + TypeName(facts.row->value.type) +
            "</td></tr>\n</table>\n";
    if (facts.row->key.root == RootKey::CurrentUser) {
        page +=
            "<p>This value belongs to the Windows user account that runs Lumora; other "
            "accounts on the computer keep their own.</p>\n";
    }
    page += "<h2>What " + Quoted(Caption(L"GoButton")) + " writes</h2>\n" + WhenSection(facts) +
            ValuesTable(facts) + SharedSection(facts);
    page += "<h2>The value it replaces</h2>\n" + BackupSection(facts);
    page +=
        "<h2>What " + Quoted(Caption(L"RestoreButton")) + " does</h2>\n" + RestoreSection(facts);
    page += "<h2>About this setting</h2>\n<div class=\"note\">\n" + note + "</div>\n";
    return page + kPageEnd;
}

// ---------------------------------------------------------------- overviews

std::string WhenShort(const TweakFacts& facts) {
    std::vector<std::string> parts;
    const auto describe = [&parts](const std::vector<bool>& chosen,
                                   std::string (*name)(std::size_t)) {
        const std::vector<std::string> left = Unchosen(chosen, name);
        if (left.empty()) {
            return;
        }
        std::vector<bool> flipped(chosen.size());
        std::transform(chosen.begin(), chosen.end(), flipped.begin(), [](bool b) { return !b; });
        const std::vector<std::string> taken = Unchosen(flipped, name);
        parts.push_back(left.size() < taken.size() ? "not with " + JoinedList(left)
                                                   : "only with " + JoinedList(taken));
    };
    describe(facts.editions, EditionName);
    describe(facts.connections, ConnectionName);
    return parts.empty() ? "always" : JoinedList(parts);
}

// "not written with ..." or "written only with ...", for a sentence.
std::string WrittenWhen(const TweakFacts& facts) {
    const std::string when = WhenShort(facts);
    return when.rfind("not ", 0) == 0 ? "not written" + when.substr(3) : "written " + when;
}

std::string ValueShort(const TweakFacts& facts) {
    if (!facts.SpeedMatters()) {
        return ValueText(facts.values[0]);
    }
    std::vector<std::string> parts;
    for (std::size_t s = 0; s < kSpeedCount; ++s) {
        parts.push_back(ValueText(facts.values[s]) + " with " + SpeedName(s));
    }
    return JoinedList(parts);
}

std::string RestoreShort(const TweakFacts& facts) {
    return facts.writtenBack ? "written back (saved copy)" : "deleted";
}

std::string TweakTable() {
    std::string table =
        "<table class=\"tweaks\">\n<tr><th>No.</th><th>Value name</th><th>Key</th>"
        "<th>Type</th><th>Value written</th><th>Written</th><th>Restore</th></tr>\n";
    for (const TweakFacts& facts : Facts()) {
        table += "<tr><td>" + std::to_string(facts.number) + "</td><td>" + NameLink(facts) +
                 "</td><td class=\"key\">" + KeyText(facts.row->key) + "</td><td>" +
                 TypeName(facts.row->value.type) + "</td><td>" + ValueShort(facts) + "</td><td>" +
                 WhenShort(facts) + "</td><td>" + RestoreShort(facts) + "</td></tr>\n";
    }
    return table + "</table>\n";
}

// The rows that depend on one selection, grouped by what they depend on.
std::string DependenceList(const std::function<bool(const TweakFacts&)>& depends,
                           const std::function<std::string(const TweakFacts&)>& how) {
    std::vector<std::pair<std::string, std::vector<std::string>>> groups;
    for (const TweakFacts& facts : Facts()) {
        if (!depends(facts)) {
            continue;
        }
        const std::string text = how(facts);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&text](const auto& g) { return g.first == text; });
        if (group == groups.end()) {
            groups.push_back({text, {NameLink(facts)}});
        } else {
            group->second.push_back(NameLink(facts));
        }
    }
    if (groups.empty()) {
        return "<p>None of the tuned values depends on this choice.</p>\n";
    }
    std::string list = "<ul>\n";
    for (const auto& [text, names] : groups) {
        list += "<li>" + JoinedList(names) + ": " + text + "</li>\n";
    }
    return list + "</ul>\n";
}

std::string SavedList() {
    std::string list = "<ul>\n";
    for (const TweakFacts& facts : Facts()) {
        if (facts.saved) {
            list += "<li>" + NameLink(facts) + " in " + KeyText(facts.row->key) + " (saved as " +
                    BackupDefaultText(*facts.row) + " when it is missing)</li>\n";
        }
    }
    return list + "</ul>\n";
}

std::string SitemapEntry(const std::string& name, const std::string& local) {
    return "<LI> <OBJECT type=\"text/sitemap\">\n"
           "<param name=\"Name\" value=\"" +
           name + "\">\n<param name=\"Local\" value=\"" + local + "\">\n</OBJECT>\n";
}

std::string TocEntries() {
    std::string entries = "<UL>\n";
    for (const TweakFacts& facts : Facts()) {
        entries += SitemapEntry(std::to_string(facts.number) + ". " + Html(facts.row->name),
                                "html/" + TweakPageName(facts.number));
    }
    return entries + "</UL>\n";
}

std::string IndexEntries() {
    std::string entries;
    for (const TweakFacts& facts : Facts()) {
        std::string name = Html(facts.row->name);
        if (!facts.sharedWith.empty()) {
            name += " (value " + std::to_string(facts.number) + ")";
        }
        entries += SitemapEntry(name, "html/" + TweakPageName(facts.number));
    }
    return entries;
}

std::size_t CountIf(const std::function<bool(const TweakFacts&)>& test) {
    return static_cast<std::size_t>(std::count_if(Facts().begin(), Facts().end(), test));
}

}  // namespace

std::string TweakPageName(std::size_t number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "tweak%02zu.htm", number);
    return buffer;
}

TweakNotes ParseTweakNotes(const std::string& text) {
    TweakNotes notes;
    std::istringstream lines(text);
    std::string line;
    std::string* current = nullptr;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const auto where = "notes, line " + std::to_string(lineNumber) + ": ";
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            throw HelpError(where + "write other characters than ASCII as HTML entities");
        }
        if (!line.empty() && line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                throw HelpError(where + "a value name is written [Name]");
            }
            const std::string name = line.substr(1, line.size() - 2);
            if (notes.count(name) != 0) {
                throw HelpError(where + name + " has a note already");
            }
            current = &notes[name];
        } else if (current != nullptr) {
            *current += line + "\n";
        } else if (!line.empty() && line.front() != '#') {
            throw HelpError(where + "text before the first [Name]");
        }
    }
    return notes;
}

std::vector<GeneratedFile> TweakPages(const TweakNotes& notes) {
    std::set<std::string> names;
    for (const TweakFacts& facts : Facts()) {
        names.insert(Html(facts.row->name));
    }
    for (const auto& [name, note] : notes) {
        if (names.count(name) == 0) {
            throw HelpError("the notes name " + name + ", which Lumora does not tune");
        }
        if (note.find_first_not_of(" \n") == std::string::npos) {
            throw HelpError("the note on " + name + " is empty");
        }
    }
    std::vector<GeneratedFile> pages;
    for (const TweakFacts& facts : Facts()) {
        const auto note = notes.find(Html(facts.row->name));
        if (note == notes.end()) {
            throw HelpError("the notes have nothing on " + Html(facts.row->name));
        }
        pages.push_back({"html/" + TweakPageName(facts.number), TweakPage(facts, note->second)});
    }
    return pages;
}

std::map<std::string, std::string> TweakFragments() {
    const auto editionsMatter = [](const TweakFacts& f) { return !f.AllEditions(); };
    const auto connectionsMatter = [](const TweakFacts& f) { return !f.AllConnections(); };
    const auto editionsShort = [](const TweakFacts& f) {
        TweakFacts editionsOnly = f;
        editionsOnly.connections.assign(f.connections.size(), true);
        return WrittenWhen(editionsOnly);
    };
    const auto connectionsShort = [](const TweakFacts& f) {
        TweakFacts connectionsOnly = f;
        connectionsOnly.editions.assign(f.editions.size(), true);
        return WrittenWhen(connectionsOnly);
    };
    return {
        {"tweak-count", std::to_string(Facts().size())},
        {"saved-count", std::to_string(CountIf([](const TweakFacts& f) { return f.saved; }))},
        {"deleted-count",
         std::to_string(CountIf([](const TweakFacts& f) { return !f.writtenBack; }))},
        {"program-key", ProgramKeyText()},
        {"tweak-table", TweakTable()},
        {"saved-list", SavedList()},
        {"edition-summary", DependenceList(editionsMatter, editionsShort)},
        {"connection-summary", DependenceList(connectionsMatter, connectionsShort)},
        {"speed-summary", DependenceList([](const TweakFacts& f) { return f.SpeedMatters(); },
                                         [](const TweakFacts& f) { return ValueShort(f); })},
        {"tweak-toc", TocEntries()},
        {"tweak-index", IndexEntries()},
    };
}

}  // namespace lumora::help
