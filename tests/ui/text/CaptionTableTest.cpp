// The caption grammar over decoded text: lines, fields, the two readers and
// their early ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ui/text/CaptionDecoding.h"

#include "tests/ui/TestForm.h"
#include "ui/text/CaptionTable.h"

namespace lumora {
namespace {

using test::TestForm;
using Fields = std::vector<std::wstring>;

TEST(CaptionTableTest, LinesBreakAtCrLfLoneCrAndLoneLf) {
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {L"a\r\nb", {L"a", L"b"}},
        {L"a\rb\nc", {L"a", L"b", L"c"}},
        {L"a\r\n", {L"a"}},
        {L"a\n\r", {L"a", L""}},
        {L"a\r\n\r\nb", {L"a", L"", L"b"}},
        {L"a\r\r\nb", {L"a", L"", L"b"}},
        {L"\r\n", {L""}},
        {L"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        CaptionLines reader(c.text);
        std::vector<std::wstring> lines;
        std::wstring_view line;
        while (reader.Next(line)) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(CaptionTableTest, FieldGrammar) {
    struct Case {
        const char* what;
        std::wstring line;
        Fields fields;
    };
    const Case cases[] = {
        {"shipped form",
         L"LMMainForm, GoButton, \"&Optimize now\"",
         {L"LMMainForm", L"GoButton", L"&Optimize now"}},
        {"blank after the closing quote", L"S, K, \"text\" ", {L"S", L"K", L"text"}},
        {"unquoted text ends at a blank",
         L"LMMainForm, GoButton, Optimize now",
         {L"LMMainForm", L"GoButton", L"Optimize"}},
        {"doubled quote", L"S, K, \"say \"\"hi\"\"\"", {L"S", L"K", L"say \"hi\""}},
        {"comma inside quotes", L"S, K, \"a, b\"", {L"S", L"K", L"a, b"}},
        {"no closing quote runs to the end", L"S, K, \"open, text ", {L"S", L"K", L"open, text "}},
        {"doubled quote before a missing close", L"S, K, \"a\"\"", {L"S", L"K", L"a\""}},
        {"quoted empty text", L"S, K, \"\"", {L"S", L"K", L""}},
        {"trailing comma adds an empty field", L"S, K,", {L"S", L"K", L""}},
        {"comma then blanks adds nothing", L"S, K, ", {L"S", L"K"}},
        {"fourth field ignored", L"S, K, \"t\",", {L"S", L"K", L"t"}},
        {"blanks alone separate", L"S K T U", {L"S", L"K", L"T"}},
        {"any control character is a blank", L"\x01S\x1fK\tT", {L"S", L"K", L"T"}},
        {"quoted field runs into the next", L"\"S\"K", {L"S", L"K"}},
        {"empty fields between commas", L",,T", {L"", L"", L"T"}},
        {"leading blanks", L"  \t S", {L"S"}},
        {"quoted section and key", L"\"S x\",\"K\",T", {L"S x", L"K", L"T"}},
        {"blank line", L" \t ", {}},
        {"empty line", L"", {}},
        {"non-ASCII kept", L"S, K, \u00a9\u00ae", {L"S", L"K", L"\u00a9\u00ae"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SplitCaptionFields(c.line), c.fields);
    }
}

struct FindCase {
    const char* what;
    std::wstring table;
    std::wstring section;
    std::wstring key;
    std::wstring expected;
};

TEST(CaptionTableTest, FindCaptionIn) {
    const FindCase cases[] = {
        {"plain", L"A, K, \"a\"\r\nS, K, \"found\"", L"S", L"K", L"found"},
        {"section and key without case", L"LMSettingsForm, MessageChange0, \"x\"",
         L"lmsettingsform", L"messagechange0", L"x"},
        {"last row wins", L"S, K, \"1\"\r\nS, K, \"2\"\r\nS, J, \"3\"", L"S", L"K", L"2"},
        {"no such key", L"S, K, \"1\"", L"S", L"J", L""},
        {"key of another section", L"T, K, \"1\"", L"S", L"K", L""},
        {"empty lines skipped", L"\r\n\r\nS, K, \"1\"\r\n\r\n", L"S", L"K", L"1"},
        {"line of blanks ends the search", L"S, K, \"1\"\r\n  \r\nS, K, \"2\"", L"S", L"K", L"1"},
        {"section without key ends it", L"S, K, \"1\"\r\nS\r\nS, K, \"2\"", L"S", L"K", L"1"},
        {"other section without key does not", L"S, K, \"1\"\r\nT\r\nS, K, \"2\"", L"S", L"K",
         L"2"},
        {"matching row without text ends it", L"S, K, \"1\"\r\ns, k\r\nS, K, \"2\"", L"S", L"K",
         L"1"},
        {"other key without text does not", L"S, K, \"1\"\r\nS, J\r\nS, K, \"2\"", L"S", L"K",
         L"2"},
        {"trailing comma row sets an empty text", L"S, K, \"1\"\r\nS, K,", L"S", L"K", L""},
        {"mixed line ends", L"S, A, \"1\"\rS, K, \"2\"\nS, B, \"3\"", L"S", L"K", L"2"},
        {"empty table", L"", L"S", L"K", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FindCaptionIn(c.table, c.section, c.key), c.expected);
    }
}

// A small main window: one component of every kind.
TestForm SmallForm() {
    TestForm form(L"LMMainForm");
    form.Add(L"GoButton", ComponentKind::PushButton);
    form.Add(L"SpeedLabel", ComponentKind::Label);
    form.Add(L"MainPanel", ComponentKind::Panel);
    form.Add(L"HelpFilePopup", ComponentKind::PopupMenuItem);
    form.Add(L"LicensedMemo", ComponentKind::MultiLineEdit);
    form.Add(L"WindowsCombo", ComponentKind::Other).caption = L"kept";
    return form;
}

// What the captions did to the form, in one line.
std::wstring Outcome(const TestForm& form) {
    std::wstring out = L"title=" + form.title;
    for (const auto& c : form.components) {
        const std::wstring& text = c.kind == ComponentKind::MultiLineEdit ? c.lines : c.caption;
        if (!text.empty() && c.name != L"WindowsCombo") {
            out += L"|" + c.name + L"=" + text;
        }
    }
    return out;
}

TEST(CaptionTableTest, ApplyCaptionsTo) {
    struct Case {
        const char* what;
        std::wstring table;
        std::wstring outcome;
    };
    const Case cases[] = {
        {"every kind",
         L"LMMainForm, LMMainForm, \"Title\"\r\nLMMainForm, GoButton, \"&Go\"\r\n"
         L"LMMainForm, SpeedLabel, \"Speed\"\r\nLMMainForm, MainPanel, \"Panel\"\r\n"
         L"LMMainForm, HelpFilePopup, \"&Help\"\r\nLMMainForm, LicensedMemo, \"Credits\"\r\n"
         L"LMMainForm, WindowsCombo, \"not for lists\"",
         L"title=Title|GoButton=&Go|SpeedLabel=Speed|MainPanel=Panel|HelpFilePopup=&Help|"
         L"LicensedMemo=Credits"},
        {"other sections ignored",
         L"LMAboutForm, GoButton, \"x\"\r\nLMAboutForm\r\n"
         L"LMMainForm, GoButton, \"y\"",
         L"title=|GoButton=y"},
        {"section without case", L"lmmainform, GoButton, \"x\"", L"title=|GoButton=x"},
        {"component name without case", L"LMMainForm, gobutton, \"x\"", L"title=|GoButton=x"},
        {"title key with case only", L"LMMainForm, lmmainform, \"x\"", L"title="},
        {"unquoted text stops at a blank", L"LMMainForm, GoButton, Optimize now",
         L"title=|GoButton=Optimize"},
        {"later row wins", L"LMMainForm, GoButton, \"1\"\r\nLMMainForm, GoButton, \"2\"",
         L"title=|GoButton=2"},
        {"trailing comma changes nothing", L"LMMainForm, GoButton, \"x\",", L"title=|GoButton=x"},
        {"unknown key without text is harmless",
         L"LMMainForm, Nothing\r\nLMMainForm, WindowsCombo\r\nLMMainForm, GoButton, \"x\"",
         L"title=|GoButton=x"},
        {"section alone ends it",
         L"LMMainForm, GoButton, \"x\"\r\nLMMainForm\r\n"
         L"LMMainForm, SpeedLabel, \"y\"",
         L"title=|GoButton=x"},
        {"title without text ends it",
         L"LMMainForm, GoButton, \"x\"\r\nLMMainForm, LMMainForm\r\n"
         L"LMMainForm, SpeedLabel, \"y\"",
         L"title=|GoButton=x"},
        {"caption without text ends it",
         L"LMMainForm, GoButton, \"x\"\r\nLMMainForm, HelpFilePopup\r\n"
         L"LMMainForm, SpeedLabel, \"y\"",
         L"title=|GoButton=x"},
        {"memo without text ends it",
         L"LMMainForm, GoButton, \"x\"\r\nLMMainForm, LicensedMemo\r\n"
         L"LMMainForm, SpeedLabel, \"y\"",
         L"title=|GoButton=x"},
        {"line of blanks ends it",
         L"LMMainForm, GoButton, \"x\"\r\n \r\n"
         L"LMMainForm, SpeedLabel, \"y\"",
         L"title=|GoButton=x"},
        {"empty line does not",
         L"LMMainForm, GoButton, \"x\"\r\n\r\n"
         L"LMMainForm, SpeedLabel, \"y\"",
         L"title=|GoButton=x|SpeedLabel=y"},
        {"no table", L"", L"title="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestForm form = SmallForm();
        ApplyCaptionsTo(c.table, form);
        EXPECT_EQ(Outcome(form), c.outcome);
        EXPECT_EQ(form.Named(L"WindowsCombo").caption, L"kept");
    }
}

TEST(CaptionTableTest, TablesOfSeveralMegabytes) {
    std::wstring table;
    for (int i = 0; i < 100000; ++i) {
        table +=
            L"S, K" + std::to_wstring(i % 10) + L", \"some text of forty characters or so\"\r\n";
    }
    table += L"S, K3, \"last\"";
    ASSERT_GT(table.size(), 4000000u);
    EXPECT_EQ(FindCaptionIn(table, L"S", L"K3"), L"last");

    // One line: an unterminated quote over megabytes, then a line of commas.
    const std::wstring longText(3000000, L'x');
    EXPECT_EQ(FindCaptionIn(L"S, K, \"" + longText, L"S", L"K"), longText);
    EXPECT_EQ(SplitCaptionFields(std::wstring(3000000, L',')), (Fields{L"", L"", L""}));
}

TEST(CaptionTableTest, AnyBytesGiveADefinedOutcome) {
    std::mt19937 random(20160101);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> pick(0, 7);
    // Bytes biased towards the grammar's own characters.
    const std::uint8_t grammar[] = {'"', ',', ' ', '\r', '\n', 'S', 'K', 0};
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(round % 97));
        std::generate(bytes.begin(), bytes.end(), [&] {
            return pick(random) < 4 ? grammar[pick(random)]
                                    : static_cast<std::uint8_t>(byte(random));
        });
        const std::wstring table =
            DecodeCaptionTable(bytes.data(), bytes.size(), DecodeWindows1252);
        const std::wstring found = FindCaptionIn(table, L"S", L"K");
        EXPECT_EQ(found.find_first_of(L"\r\n"), std::wstring::npos);
        TestForm form = SmallForm();
        form.name = L"S";
        ApplyCaptionsTo(table, form);
    }
}

}  // namespace
}  // namespace lumora
