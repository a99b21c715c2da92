#include "app/MainForm.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "app/MainFormRules.h"
#include "app/MainFormRuns.h"
#include "app/Startup.h"
#include "common/Version.h"
#include "platform/NativeHandCursor.h"
#include "platform/Shell.h"
#include "platform/ShellAddresses.h"
#include "platform/Sound.h"
#include "platform/SystemRestart.h"
#include "platform/WindowsVersion.h"
#include "registry/DateText.h"
#include "registry/ProgramKey.h"
#include "resources/ResourceIds.h"
#include "tuning/ConnectionTypes.h"
#include "tuning/WindowsEditions.h"
#include "ui/AboutForm.h"
#include "ui/PrepareForm.h"
#include "ui/SettingsForm.h"
#include "ui/framework/WindowClasses.h"
#include "ui/text/CaptionSections.h"

namespace lumora {

namespace {

constexpr int kClientWidth = 764;
constexpr int kClientHeight = 500;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(110, 118, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBenefitsTint = RGB(239, 245, 251);

FontSpec Design(int points, unsigned style, COLORREF color) {
    return FontSpec{L"Tahoma", points, style, color};
}

const wchar_t* const kProcessorItems[] = {L"  Intel \u00AE Processor", L"  AMD \u00AE Processor",
                                          L"  VIA \u00AE Processor"};

namespace pk = program_key;

// A list's icons at each size they are made at (resources/art).
std::vector<ComboBox::ImageSet> ListIcons(std::vector<int> at16, std::vector<int> at24,
                                          std::vector<int> at32) {
    return {{16, std::move(at16)}, {24, std::move(at24)}, {32, std::move(at32)}};
}

}  // namespace

TLMMainForm::TLMMainForm() : FormWindow(kMainFormSection, kMainFormClass) {}

void TLMMainForm::SetDialogs(TLMAboutForm* aboutForm, TLMSettingsForm* settingsForm) {
    aboutForm_ = aboutForm;
    settingsForm_ = settingsForm;
}

bool TLMMainForm::Create() {
    // An unowned window with WS_EX_APPWINDOW: it carries the task-bar button.
    if (!CreateForm(L"", kStyle, WS_EX_APPWINDOW, kClientWidth, kClientHeight, nullptr)) {
        return false;
    }
    // The components' windows are made once their texts and fonts are set:
    // each is then made at its size, and nothing moves before the window
    // shows.
    HoldWindows();
    AddComponents();
    BindEvents();
    try {
        PrepareForm(*this);
    } catch (...) {
        // The window opens with the texts and fonts set so far.
    }
    MakeHeldWindows();
    SetShellOwnerWindow(Handle());
    try {
        FormCreate();
    } catch (...) {
        // The window opens with what was set so far.
    }
    return true;
}

void TLMMainForm::AddComponents() {
    const CursorKind hand = CursorKind::HandPoint;
    Add(backgroundImage_,
        {{L"BackgroundImage", 0, 0, kClientWidth, kClientHeight}, IDB_MAIN_BACKGROUND});
    Add(topLogoImage_, {{L"TopLogoImage", 8, 16, 400, 50}, IDB_MAIN_LOGO});

    Add(nav_[0].image, {{L"NavButton1", 672, 16, 78, 27, nullptr, hand}, IDB_NAV_BUTTON1});
    Add(nav_[0].label, {{L"NavStatic1", 701, 22, 0, 0, nullptr, hand}, Design(8, 0, kWhite)});
    Add(nav_[1].image, {{L"NavButton2", 471, 58, 85, 27, nullptr, hand}, IDB_NAV_BUTTON2});
    Add(nav_[1].label,
        {{L"NavStatic2", 502, 64, 0, 0, nullptr, hand}, Design(8, kFontBold, kWhite)});
    Add(nav_[2].image, {{L"NavButton3", 556, 58, 108, 27, nullptr, hand}, IDB_NAV_BUTTON3});
    Add(nav_[2].label,
        {{L"NavStatic3", 587, 64, 0, 0, nullptr, hand}, Design(8, kFontBold, kWhite)});
    Add(nav_[3].image, {{L"NavButton4", 664, 58, 99, 27, nullptr, hand}, IDB_NAV_BUTTON4});
    Add(nav_[3].label,
        {{L"NavStatic4", 695, 64, 0, 0, nullptr, hand}, Design(8, kFontBold, kWhite)});

    Add(navLabel2_, {{L"NavLabel2", 16, 98}, Design(10, kFontBold, kGrey)});
    Add(linkLabel4_, {{L"LinkLabel4", 16, 135, 0, 0, nullptr, hand}, Design(8, 0, kBlack)});
    Add(linkLabel5_, {{L"LinkLabel5", 16, 165, 0, 0, nullptr, hand}, Design(8, 0, kBlack)});
    Add(linkLabel6_, {{L"LinkLabel6", 16, 195, 0, 0, nullptr, hand}, Design(8, 0, kBlack)});
    Add(linkLabel7_, {{L"LinkLabel7", 16, 251, 0, 0, nullptr, hand}, Design(8, 0, kBlack)});

    Add(mainPanel_, {{L"MainPanel", 182, 91, 582, 388}, GetSysColor(COLOR_WINDOW)});
    Panel* const main = &mainPanel_;
    Add(benefitsPanel_, {{L"BenefitsPanel", 0, 0, 582, 65, main}, kBenefitsTint});
    Panel* const benefits = &benefitsPanel_;
    Add(benefitsLabel_, {{L"BenefitsLabel", 16, 6, 0, 0, benefits}, Design(8, kFontBold, kBlack)});
    Label::Args description{{L"BenefitsDescription", 16, 25, 550, 36, benefits},
                            Design(8, 0, kGrey)};
    description.wordWrap = true;
    description.showAccelChar = false;
    Add(benefitsDescription_, description);

    const FontSpec plain = Design(8, 0, kDefaultTextColor);
    Add(osVersionLabel_, {{L"OSVersionLabel", 16, 76, 0, 0, main}, plain});
    std::vector<std::wstring> editions;
    std::vector<int> editionImages;
    for (const auto& edition : kWindowsEditions) {
        editions.emplace_back(edition.text);
        editionImages.push_back(edition.kind == EditionKind::Server ? 1 : 0);
    }
    Add(windowsCombo_, {{L"WindowsCombo", 16, 95, 309, 22, main},
                        editions,
                        editionImages,
                        ListIcons({IDB_EDITION_WORKSTATION, IDB_EDITION_SERVER},
                                  {IDB_EDITION_WORKSTATION_24, IDB_EDITION_SERVER_24},
                                  {IDB_EDITION_WORKSTATION_32, IDB_EDITION_SERVER_32})});
    Add(processorTypeLabel_, {{L"ProcessorTypeLabel", 16, 128, 0, 0, main}, plain});
    Add(processorCombo_, {{L"ProcessorCombo", 16, 147, 309, 22, main},
                          {std::begin(kProcessorItems), std::end(kProcessorItems)},
                          {},
                          ListIcons({IDB_PROCESSOR}, {IDB_PROCESSOR_24}, {IDB_PROCESSOR_32})});
    std::vector<std::wstring> connectionTypes(std::size(kConnectionTypes));
    std::transform(std::begin(kConnectionTypes), std::end(kConnectionTypes),
                   connectionTypes.begin(), [](const ConnectionType& type) { return type.text; });
    Add(modemTypeLabel_, {{L"ModemTypeLabel", 16, 180, 0, 0, main}, plain});
    Add(modemCombo_, {{L"ModemCombo", 16, 199, 309, 22, main},
                      connectionTypes,
                      {},
                      ListIcons({IDB_CONNECTION}, {IDB_CONNECTION_24}, {IDB_CONNECTION_32})});
    Add(speedLabel_, {{L"SpeedLabel", 16, 231, 0, 0, main}, plain});
    Add(speedTrackBar_, {{L"SpeedTrackBar", 16, 244, 309, 44, main}, 0, 1, 1, 26});
    Add(fastLabel_, {{L"FastLabel", 33, 292, 0, 0, main}, plain});
    Label::Args faster{{L"FasterLabel", 307, 292, 0, 0, main}, plain};
    faster.rightAligned = true;
    Add(fasterLabel_, faster);

    Add(lineSeparator1_, {{L"LineSeparator1", 360, 102, 2, 183, main}, true});
    PushButton::Args go{{L"GoButton", 400, 95, 145, 52, main}, Design(8, kFontBold, kBlack)};
    go.parentFont = false;
    go.isDefault = true;
    Add(goButton_, go);
    Add(restoreButton_, {{L"RestoreButton", 400, 171, 145, 25, main}});
    restoreButton_.SetEnabled(false);
    Add(lineSeparator2_, {{L"LineSeparator2", 16, 315, 536, 5, main}});
    Add(versionInstalledLabel_,
        {{L"VersionInstalledLabel", 16, 336, 0, 0, main}, Design(8, kFontBold, kDefaultTextColor)});
    Add(softwareLastUpdateLabel_, {{L"SoftwareLastUpdateLabel", 16, 355, 0, 0, main}, plain});
    PushButton::Args updates{{L"UpdatesButton", 400, 336, 154, 33, main}};
    updates.shield = true;
    Add(updatesButton_, updates);

    Add(popupMenu_, {{L"PopupMenu"}});
    Add(helpFilePopup_, {{L"HelpFilePopup"}, &popupMenu_});
    popupMenu_.AddSeparator();
    Add(techSupportPopup_, {{L"TechSupportPopup"}, &popupMenu_});

    SetTabOrder({&goButton_, &restoreButton_, &windowsCombo_, &processorCombo_, &modemCombo_,
                 &speedTrackBar_, &updatesButton_});
}

void TLMMainForm::BindEvents() {
    const auto onClick = [this](std::initializer_list<Event*> events,
                                void (TLMMainForm::*handler)()) {
        for (Event* event : events) {
            *event = [this, handler] { (this->*handler)(); };
        }
    };
    onClick({&goButton_.onClick}, &TLMMainForm::GoButtonClick);
    onClick({&restoreButton_.onClick}, &TLMMainForm::RestoreButtonClick);
    onClick({&nav_[0].image.onClick, &nav_[0].label.onClick}, &TLMMainForm::NavButton1Click);
    onClick({&nav_[1].image.onClick, &nav_[1].label.onClick, &linkLabel6_.onClick},
            &TLMMainForm::NavButton2Click);
    onClick({&nav_[2].image.onClick, &nav_[2].label.onClick, &linkLabel5_.onClick,
             &techSupportPopup_.onClick},
            &TLMMainForm::NavButton3Click);
    onClick({&nav_[3].image.onClick, &nav_[3].label.onClick, &linkLabel7_.onClick},
            &TLMMainForm::NavButton4Click);
    onClick({&linkLabel4_.onClick, &helpFilePopup_.onClick}, &TLMMainForm::HelpFilePopupClick);
    onClick({&updatesButton_.onClick}, &TLMMainForm::UpdatesButtonClick);
    // The pointer over a navigation button or its label underlines the
    // label; over a link label, the link label itself.
    const auto underlineOnHover = [](PointerEvents& control, Label& label) {
        control.onMouseEnter = [&label] { label.SetUnderline(true); };
        control.onMouseLeave = [&label] { label.SetUnderline(false); };
    };
    for (NavButton& nav : nav_) {
        underlineOnHover(nav.image, nav.label);
    }
    for (NavButton& nav : nav_) {
        underlineOnHover(nav.label, nav.label);
    }
    for (Label* link : {&linkLabel4_, &linkLabel5_, &linkLabel6_, &linkLabel7_}) {
        underlineOnHover(*link, *link);
    }
}

void TLMMainForm::FormCreate() {
    std::wstring lastUpdate = DateStampToDisplayText(pk::ReadUpdatedDate());
    if (lastUpdate.empty()) {
        lastUpdate = DateStampToDisplayText(pk::ReadInstalledDate());
    }
    pk::StoredChoices stored = pk::ReadChoices();
    const bool restore = pk::ReadRestoreFlag();

    softwareLastUpdateLabel_.SetCaption(softwareLastUpdateLabel_.Caption() + lastUpdate);
    versionInstalledLabel_.SetCaption(versionInstalledLabel_.Caption() + kProgramVersion);

    windowsCombo_.SetItemIndex(WindowsItemForOsIndex(GetWindowsVersion()));
    if (stored.processorType == pk::kDefaultProcessorType) {
        stored.processorType = DetectProcessorType(ReadProcessorName());
    }
    processorCombo_.SetItemIndex(stored.processorType);
    modemCombo_.SetItemIndex(stored.connectionType);
    restoreButton_.SetEnabled(restore);
    speedTrackBar_.SetPosition(ClampSpeedSetting(stored.speedSetting));

    // The 45-day rule, over the date read back in the user's regional formats.
    if (UpdateCheckDueAt(CurrentLocalTime(), StoredDate)) {
        // The update check writes the program key and closes this elevated
        // instance's windows: it keeps the program's rights.
        ExecuteFileDetachedKeepingRights(ProgramFolder() + kProgramFileName, kCheckUpdateSwitch);
    }
}

void TLMMainForm::ApplicationEventsShortCut(WORD key, bool& /*handled*/) {
    if (key != VK_F1) {
        return;
    }
    const bool anyVisible =
        (aboutForm_ != nullptr && IsWindowVisible(aboutForm_->Handle())) ||
        (settingsForm_ != nullptr && IsWindowVisible(settingsForm_->Handle())) ||
        IsWindowVisible(Handle());
    if (anyVisible) {
        ShowHelpTopic(kHelpFileName, kHelpTopic);
    }
}

// What the runs see of the windows.
class MainFormRunView : public RunView {
  public:
    explicit MainFormRunView(TLMMainForm& form) : form_(form) {}
    TuningChoices Choices() override {
        TuningChoices choices =
            ChoicesFromSelection(form_.windowsCombo_.ItemIndex(), form_.processorCombo_.ItemIndex(),
                                 form_.modemCombo_.ItemIndex(), form_.speedTrackBar_.Position());
        choices.windowsWidth = IsWindows64Bit() ? WindowsWidth::Bits64 : WindowsWidth::Bits32;
        return choices;
    }
    std::wstring MainTitle() override { return form_.Title(); }
    void SetMainEnabled(bool enabled) override {
        EnableWindow(form_.Handle(), enabled ? TRUE : FALSE);
    }
    void SetRestoreEnabled(bool enabled) override { form_.restoreButton_.SetEnabled(enabled); }
    void ShowProgress(std::int32_t stepTotal) override {
        if (form_.settingsForm_ != nullptr) {
            form_.settingsForm_->ShowOver(form_.Handle());
            form_.settingsForm_->BeginSteps(stepTotal);
        }
    }
    void CloseProgress() override {
        if (form_.settingsForm_ != nullptr) {
            form_.settingsForm_->CloseDialog();
        }
    }
    void SetProgressHeading(const std::wstring& text) override {
        if (form_.settingsForm_ != nullptr) {
            form_.settingsForm_->SetHeading(text);
        }
    }
    void ShowProgressStep(const std::wstring& text) override {
        if (form_.settingsForm_ != nullptr) {
            form_.settingsForm_->ShowProgressStep(text);
        }
    }
    bool CloseRequested() override { return form_.closeRequested_ || form_.closed_; }
    // While the box is open a close request is not held back: the box's own
    // message loop delivers it, the window closes and takes the box with it.
    int Ask(const std::wstring& text, const std::wstring& title, unsigned flags) override {
        if (form_.closed_) {
            return 0;
        }
        form_.asking_ = true;
        const int answer = MessageBoxW(form_.Handle(), text.c_str(), title.c_str(), flags);
        form_.asking_ = false;
        return answer;
    }
    void PlayClick() override { PlayClickSound(); }
    void Restart() override { RestartWindows(); }

  private:
    TLMMainForm& form_;
};

void TLMMainForm::GoButtonClick() {
    MainFormRunView view(*this);
    RunWith(view, RunOptimize);
}

void TLMMainForm::RestoreButtonClick() {
    MainFormRunView view(*this);
    RunWith(view, RunRestore);
}

void TLMMainForm::RunWith(RunView& view, void (*run)(RunView&)) {
    running_ = true;
    run(view);
    running_ = false;
    asking_ = false;
    if (closed_) {
        // Closed under a question: the box's message loop may have taken
        // the request to end the message loop with it.
        PostQuitMessage(0);
    } else if (closeRequested_) {
        DestroyWindow(Handle());
    }
}

LRESULT TLMMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (running_ && !asking_) {
                closeRequested_ = true;
                return 0;
            }
            break;
        case WM_DESTROY:
            closed_ = true;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

void TLMMainForm::NavButton1Click() {
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT client{};
    GetClientRect(Handle(), &client);
    const ControlArgs& place = nav_[0].image.Placement();
    const ScreenPoint corner = HelpMenuCorner(
        window.left, window.top, window.right - window.left, window.bottom - window.top,
        client.right, client.bottom, place.left, place.top, place.width, place.height);
    PopupMenuAt(popupMenu_, corner.x, corner.y);
}

void TLMMainForm::NavButton2Click() {
    PlayClickSound();
    OpenUrl(HomePageUrl());
}

void TLMMainForm::NavButton3Click() {
    PlayClickSound();
    OpenUrl(SupportPageUrl());
}

void TLMMainForm::NavButton4Click() {
    PlayClickSound();
    if (aboutForm_ != nullptr) {
        aboutForm_->ShowModalOver(Handle());
    }
}

void TLMMainForm::HelpFilePopupClick() {
    bool handled = false;
    ApplicationEventsShortCut(VK_F1, handled);
}

void TLMMainForm::UpdatesButtonClick() {
    PlayClickSound();
    ExecuteFileDetached(ProgramFolder() + kUpdaterFileName, L"");
}

}  // namespace lumora
