// The shipped caption table against the program's real windows, made here
// as start-up makes them: every row of a window's section names the window
// itself, one of its components that shows a text, or a text the program
// looks up by key; and once applied, each component shows its row's text. A
// component renamed in a window, or a key renamed in the table, fails here.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "registry/ProgramKey.h"
#include "tests/support/RawRegistry.h"
#include "ui/AboutForm.h"
#include "ui/Captions.h"
#include "ui/SettingsForm.h"
#include "ui/text/CaptionResource.h"
#include "ui/text/CaptionTable.h"

namespace lumora {
namespace {

namespace pk = program_key;

using Keys = std::set<std::wstring>;

// The keys of each window's rows in the shipped table, in the table's own
// spelling.
std::map<std::wstring, Keys> ShippedKeys() {
    std::map<std::wstring, Keys> keys;
    const std::optional<std::wstring> table = ReadCaptionResource(L"english");
    if (!table) {
        return keys;
    }
    CaptionLines lines(*table);
    std::wstring_view line;
    while (lines.Next(line)) {
        const std::vector<std::wstring> fields = SplitCaptionFields(line);
        if (fields.size() >= 2) {
            keys[fields[0]].insert(fields[1]);
        }
    }
    return keys;
}

// The rows each window applies to itself or to a component: the window's
// title, then its components by name.
const std::map<std::wstring, Keys> kApplied = {
    {L"LMMainForm",
     {L"LMMainForm",
      L"BenefitsLabel",
      L"BenefitsDescription",
      L"OSVersionLabel",
      L"ProcessorTypeLabel",
      L"SpeedLabel",
      L"ModemTypeLabel",
      L"FastLabel",
      L"FasterLabel",
      L"VersionInstalledLabel",
      L"SoftwareLastUpdateLabel",
      L"NavStatic1",
      L"NavStatic2",
      L"NavStatic3",
      L"NavStatic4",
      L"NavLabel2",
      L"LinkLabel4",
      L"LinkLabel5",
      L"LinkLabel6",
      L"LinkLabel7",
      L"GoButton",
      L"RestoreButton",
      L"UpdatesButton",
      L"HelpFilePopup",
      L"TechSupportPopup"}},
    {L"LMAboutForm",
     {L"LMAboutForm", L"BannerLabel", L"VersionLabel", L"CopyrightLabel", L"LicenseAgreementLabel",
      L"CopyrightWarningLabel", L"HelpButton", L"CloseButton", L"LicensedMemo"}},
    {L"LMSettingsForm", {L"LMSettingsForm"}},
};

// Rows that name no component: texts looked up by key, and one heading the
// windows do not have.
bool LookedUpByKey(const std::wstring& key) {
    return key.rfind(L"Message", 0) == 0 || key == L"PerformanceHeading";
}

// The main window appends the version and the last-update date to these.
const Keys kAppendedTo = {L"VersionInstalledLabel", L"SoftwareLastUpdateLabel"};

class FormCaptionsTest : public ::testing::Test {
  protected:
    // An empty program key: the shipped table, and no update check started
    // while the main window is made.
    void SetUp() override {
        raw_.DeleteTree(pk::kRoot, pk::kPath);
        ASSERT_TRUE(main_.Create());
        ASSERT_TRUE(about_.Create(main_.Handle()));
        ASSERT_TRUE(settings_.Create(main_.Handle()));
        main_.SetDialogs(&about_, &settings_);
        // The dialogs take their captions each time they are shown.
        LoadFormCaptions(about_);
        LoadFormCaptions(settings_);
    }
    void TearDown() override {
        for (FormWindow* form :
             {static_cast<FormWindow*>(&settings_), static_cast<FormWindow*>(&about_),
              static_cast<FormWindow*>(&main_)}) {
            if (IsWindow(form->Handle())) {
                DestroyWindow(form->Handle());
            }
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        raw_.DeleteTree(pk::kRoot, pk::kPath);
    }

    // The component named exactly |name|, or null.
    static Component* Named(Form& form, const std::wstring& name) {
        for (std::size_t i = 0; i < form.ComponentCount(); ++i) {
            if (form.ComponentAt(i).Name() == name) {
                return &form.ComponentAt(i);
            }
        }
        return nullptr;
    }
    static std::wstring Shown(const Component& component) {
        return component.Kind() == ComponentKind::MultiLineEdit ? component.Lines()
                                                                : component.Caption();
    }

    test::RawRegistry raw_;
    TLMMainForm main_;
    TLMAboutForm about_;
    TLMSettingsForm settings_;
};

TEST_F(FormCaptionsTest, EveryRowOfAWindowMeetsThatWindow) {
    const std::map<std::wstring, Keys> shipped = ShippedKeys();
    for (Form* form : {static_cast<Form*>(&main_), static_cast<Form*>(&about_),
                       static_cast<Form*>(&settings_)}) {
        const std::wstring section = form->Name();
        SCOPED_TRACE(testing::PrintToString(section));
        ASSERT_EQ(shipped.count(section), 1u) << "no rows for the window";
        Keys applied;
        for (const std::wstring& key : shipped.at(section)) {
            if (key == section) {
                applied.insert(key);
                continue;
            }
            Component* component = Named(*form, key);
            if (component == nullptr) {
                EXPECT_TRUE(LookedUpByKey(key))
                    << "the row " << testing::PrintToString(key) << " meets no component";
                continue;
            }
            EXPECT_NE(component->Kind(), ComponentKind::Other)
                << testing::PrintToString(key) << " shows no text";
            applied.insert(key);
        }
        EXPECT_EQ(applied, kApplied.at(section));
    }
}

TEST_F(FormCaptionsTest, EachComponentShowsItsRowsText) {
    for (Form* form : {static_cast<Form*>(&main_), static_cast<Form*>(&about_),
                       static_cast<Form*>(&settings_)}) {
        const std::wstring section = form->Name();
        for (const std::wstring& key : kApplied.at(section)) {
            SCOPED_TRACE(testing::PrintToString(section + L"." + key));
            const std::wstring text = GetCaption(section, key);
            EXPECT_FALSE(text.empty());
            if (key == section) {
                EXPECT_EQ(form->Title(), text);
                continue;
            }
            const Component* component = Named(*form, key);
            ASSERT_NE(component, nullptr);
            if (kAppendedTo.count(key) != 0) {
                EXPECT_EQ(Shown(*component).compare(0, text.size(), text), 0) << Shown(*component);
            } else {
                EXPECT_EQ(Shown(*component), text);
            }
        }
    }
    // What the user reads, spot-checked by hand.
    EXPECT_EQ(main_.Title(), L"Lumora - Make your computer and internet run faster");
    EXPECT_EQ(Named(main_, L"GoButton")->Caption(), L"&Optimize now");
    EXPECT_EQ(Named(main_, L"HelpFilePopup")->Caption(), L"Get &help with Lumora");
    EXPECT_EQ(Named(main_, L"VersionInstalledLabel")->Caption(), L"Version installed : 2.9.5.2016");
    EXPECT_EQ(Named(about_, L"VersionLabel")->Caption(), L"Lumora 2  (Version : ");
    EXPECT_EQ(settings_.Title(), L"Updating computer's system and internet settings");
    // The progress texts are set by the runs, not by the table.
    EXPECT_EQ(Named(settings_, L"CurrentSettingsLabel")->Caption(), L"");
}

TEST_F(FormCaptionsTest, WithoutATableTheWindowsKeepTheirTexts) {
    raw_.Put(pk::kRoot, pk::kPath, pk::kLanguage, REG_SZ, test::TextBytes(L"french", true));
    Named(about_, L"VersionLabel")->SetCaption(L"before");
    Named(about_, L"LicensedMemo")->SetLines(L"");
    about_.SetTitle(L"");
    LoadFormCaptions(about_);
    EXPECT_EQ(about_.Title(), L"");
    EXPECT_EQ(Named(about_, L"VersionLabel")->Caption(), L"before");
    EXPECT_EQ(Named(about_, L"LicensedMemo")->Lines(), L"");
}

}  // namespace
}  // namespace lumora
