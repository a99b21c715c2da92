// GetCaption over the program's own tables, the language taken from
// ProgramKey: natively the compiled-in table and the in-memory registry,
// under Wine the test's resources and Wine's registry. LoadFormCaptions on
// the program's real windows is tested with them (tests/app).
#include <gtest/gtest.h>

#include <string>

#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "ui/Captions.h"

namespace lumora {
namespace {

class CaptionsTest : public ::testing::Test {
  protected:
    void SetUp() override { ClearLanguage(); }
    void TearDown() override { ClearLanguage(); }

    void ClearLanguage() {
        DeleteRegValue(program_key::kRoot, program_key::kPath, program_key::kLanguage, false);
    }
    void SetLanguage(const std::wstring& language) {
        raw_.Put(program_key::kRoot, program_key::kPath, program_key::kLanguage, reg::kSz,
                 test::TextBytes(language, true));
    }

    test::RawRegistry raw_;
};

struct Row {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* text;
};

// Every row the program applies or looks up, with its text.
const Row kUsedRows[] = {
    {L"LMMainForm", L"LMMainForm", L"Lumora - Make your computer and internet run faster"},
    {L"LMMainForm", L"BenefitsLabel", L"Benefits of Lumora"},
    {L"LMMainForm", L"BenefitsDescription",
     L"Lumora will optimize this computer and internet speed by adjusting several settings "
     L"within Windows.  These changes may improve computer and internet performance to run "
     L"faster."},
    {L"LMMainForm", L"OSVersionLabel", L"Operating System : "},
    {L"LMMainForm", L"ProcessorTypeLabel", L"Processor : "},
    {L"LMMainForm", L"SpeedLabel", L"Speed Setting : "},
    {L"LMMainForm", L"ModemTypeLabel", L"Internet Type : "},
    {L"LMMainForm", L"FastLabel", L"Boost"},
    {L"LMMainForm", L"FasterLabel", L"Maximum Boost"},
    {L"LMMainForm", L"VersionInstalledLabel", L"Version installed : "},
    {L"LMMainForm", L"SoftwareLastUpdateLabel", L"Last updated : "},
    {L"LMMainForm", L"NavStatic1", L"Help"},
    {L"LMMainForm", L"NavStatic2", L"Home"},
    {L"LMMainForm", L"NavStatic3", L"Support"},
    {L"LMMainForm", L"NavStatic4", L"About"},
    {L"LMMainForm", L"NavLabel2", L"Choose a link below"},
    {L"LMMainForm", L"LinkLabel4", L"Help with Lumora"},
    {L"LMMainForm", L"LinkLabel5", L"Contact tech support"},
    {L"LMMainForm", L"LinkLabel6", L"Click to visit our website"},
    {L"LMMainForm", L"LinkLabel7", L"About Lumora"},
    {L"LMMainForm", L"GoButton", L"&Optimize now"},
    {L"LMMainForm", L"RestoreButton", L"&Restore"},
    {L"LMMainForm", L"UpdatesButton", L" &Check for updates ..."},
    {L"LMMainForm", L"HelpFilePopup", L"Get &help with Lumora"},
    {L"LMMainForm", L"TechSupportPopup", L"&Contact technical support"},
    {L"LMMainForm", L"MessageBoxReset1",
     L"This will restore all changes made to the computer's system and internet settings to "
     L"their original recommended values."},
    {L"LMMainForm", L"MessageBoxReset2", L"Click OK to continue."},
    {L"LMMainForm", L"MessageBoxChangeRestart1",
     L"The changes to the computer's system and internet performance settings have finished."},
    {L"LMMainForm", L"MessageBoxChangeRestart2",
     L"You will need to restart Windows for the changes to become active."},
    {L"LMMainForm", L"MessageBoxChangeRestart3",
     L"Click Yes to restart the computer now, or click No to restart later."},
    {L"LMAboutForm", L"LMAboutForm", L"About Lumora"},
    {L"LMAboutForm", L"BannerLabel", L"More information about this software"},
    {L"LMAboutForm", L"VersionLabel", L"Lumora 2  (Version : "},
    {L"LMAboutForm", L"LicenseAgreementLabel", L"Click to view the end-user license terms"},
    {L"LMAboutForm", L"HelpButton", L"&Help"},
    {L"LMAboutForm", L"CloseButton", L"&Close"},
    {L"LMSettingsForm", L"LMSettingsForm", L"Updating computer's system and internet settings"},
    {L"LMSettingsForm", L"MessageUpdate",
     L"Optimizing the computer's system and internet settings"},
    {L"LMSettingsForm", L"MessageRestore",
     L"Restoring the computer's system and internet settings"},
    {L"LMSettingsForm", L"MessageChange0", L"Finding modem information"},
    {L"LMSettingsForm", L"MessageChange1", L"Finding computer information"},
    {L"LMSettingsForm", L"MessageChange2", L"Finding total physical memory installed"},
    {L"LMSettingsForm", L"MessageChange3", L"Finding hardware adapters"},
    {L"LMSettingsForm", L"MessageChange4", L"Finding display device"},
    {L"LMSettingsForm", L"MessageChange5", L"Finding 3D graphics device"},
    {L"LMSettingsForm", L"MessageChange6", L"Finding processor information"},
    {L"LMSettingsForm", L"MessageChange7", L"Finding input devices"},
    {L"LMSettingsForm", L"MessageChange8", L"Finding hard drives"},
    {L"LMSettingsForm", L"MessageChange9", L"Backing up system and internet settings"},
    {L"LMSettingsForm", L"MessageChange10", L"Writing new system and internet settings"},
    {L"LMSettingsForm", L"MessageChange11", L"Restoring system and internet settings"},
    {L"LMUpdateForm", L"MessageBoxUpdate1",
     L"An update for this software is available to download."},
    {L"LMUpdateForm", L"MessageBoxUpdate2",
     L"Do you want to download and install a new version of this software?"},
};

TEST_F(CaptionsTest, GetCaptionForEveryUsedRow) {
    for (const auto& row : kUsedRows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.section) + L"." + row.key));
        EXPECT_EQ(GetCaption(row.section, row.key), row.text);
    }
}

TEST_F(CaptionsTest, GetCaptionIgnoresCaseAndMissesQuietly) {
    EXPECT_EQ(GetCaption(L"LMSettingsForm", L"messagechange0"), L"Finding modem information");
    EXPECT_EQ(GetCaption(L"lmupdateform", L"MESSAGEBOXUPDATE1"),
              L"An update for this software is available to download.");
    EXPECT_EQ(GetCaption(L"LMMainForm", L"NoSuchKey"), L"");
    EXPECT_EQ(GetCaption(L"NoSuchForm", L"GoButton"), L"");
    // The about box's copyright texts are the program's own; they exist.
    EXPECT_NE(GetCaption(L"LMAboutForm", L"CopyrightLabel").find(L"\u00a9"), std::wstring::npos);
    EXPECT_NE(GetCaption(L"LMAboutForm", L"CopyrightWarningLabel"), L"");
}

TEST_F(CaptionsTest, LanguageChoosesTheTable) {
    const std::wstring title = L"Lumora - Make your computer and internet run faster";
    struct Case {
        const char* what;
        const wchar_t* language;  // null: no value
        std::wstring expected;
    };
    const Case cases[] = {
        {"missing", nullptr, title},       {"empty", L"", title},
        {"lower case", L"english", title}, {"upper case", L"ENGLISH", title},
        {"mixed case", L"EnGlIsH", title}, {"no such table", L"french", L""},
        {"near miss", L"english ", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearLanguage();
        if (c.language != nullptr) {
            SetLanguage(c.language);
        }
        EXPECT_EQ(GetCaption(L"LMMainForm", L"LMMainForm"), c.expected);
    }
    // A value of the wrong type reads as missing.
    raw_.Put(program_key::kRoot, program_key::kPath, program_key::kLanguage, reg::kDword,
             test::DwordBytes(1));
    EXPECT_EQ(GetCaption(L"LMMainForm", L"LMMainForm"), title);
}

// The lookup the updater uses: the language handed in chooses the table,
// whatever the program key says.
TEST_F(CaptionsTest, HandedInLanguageChoosesTheTable) {
    SetLanguage(L"french");
    EXPECT_EQ(LookUpCaption(L"EnGlIsH", L"LMMainForm", L"GoButton"), L"&Optimize now");
    SetLanguage(L"english");
    EXPECT_EQ(LookUpCaption(L"french", L"LMMainForm", L"GoButton"), L"");
    EXPECT_EQ(LookUpCaption(L"english ", L"LMMainForm", L"GoButton"), L"");
}

TEST_F(CaptionsTest, TableIsReadAfreshOnEveryCall) {
    EXPECT_EQ(GetCaption(L"LMMainForm", L"GoButton"), L"&Optimize now");
    SetLanguage(L"french");
    EXPECT_EQ(GetCaption(L"LMMainForm", L"GoButton"), L"");
    SetLanguage(L"English");
    EXPECT_EQ(GetCaption(L"LMMainForm", L"GoButton"), L"&Optimize now");
}

}  // namespace
}  // namespace lumora
