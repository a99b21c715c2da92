#include "app/MainForm.h"

#include "app/MainFormRules.h"
#include "app/MainFormRuns.h"
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
#include "ui/Captions.h"
#include "ui/SettingsForm.h"
#include "ui/SystemFont.h"
#include "ui/WindowClasses.h"

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

}  // namespace

TLMMainForm::TLMMainForm() : FormWindow(L"LMMainForm", kMainFormClass) {}

void TLMMainForm::SetDialogs(TLMAboutForm* aboutForm, TLMSettingsForm* settingsForm) {
    aboutForm_ = aboutForm;
    settingsForm_ = settingsForm;
}

bool TLMMainForm::Create() {
    // An unowned window with WS_EX_APPWINDOW: it carries the task-bar button.
    if (!CreateForm(L"", kStyle, WS_EX_APPWINDOW, kClientWidth, kClientHeight, nullptr)) {
        return false;
    }
    AddComponents();
    BindEvents();
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
    AddImage({{L"BackgroundImage", 0, 0, 764, 500}, IDB_MAIN_BACKGROUND});
    AddImage({{L"TopLogoImage", 8, 16, 400, 50}, IDB_MAIN_LOGO});

    AddImage({{L"NavButton1", 672, 16, 78, 27, L"", hand}, IDB_NAV_BUTTON1});
    AddLabel({{L"NavStatic1", 701, 22, 0, 0, L"", hand}, Design(8, 0, kWhite)});
    AddImage({{L"NavButton2", 471, 58, 85, 27, L"", hand}, IDB_NAV_BUTTON2});
    AddLabel({{L"NavStatic2", 502, 64, 0, 0, L"", hand}, Design(8, kFontBold, kWhite)});
    AddImage({{L"NavButton3", 556, 58, 108, 27, L"", hand}, IDB_NAV_BUTTON3});
    AddLabel({{L"NavStatic3", 587, 64, 0, 0, L"", hand}, Design(8, kFontBold, kWhite)});
    AddImage({{L"NavButton4", 664, 58, 99, 27, L"", hand}, IDB_NAV_BUTTON4});
    AddLabel({{L"NavStatic4", 695, 64, 0, 0, L"", hand}, Design(8, kFontBold, kWhite)});

    AddLabel({{L"NavLabel2", 16, 98}, Design(10, kFontBold, kGrey)});
    AddLabel({{L"LinkLabel4", 16, 135, 0, 0, L"", hand}, Design(8, 0, kBlack)});
    AddLabel({{L"LinkLabel5", 16, 165, 0, 0, L"", hand}, Design(8, 0, kBlack)});
    AddLabel({{L"LinkLabel6", 16, 195, 0, 0, L"", hand}, Design(8, 0, kBlack)});
    AddLabel({{L"LinkLabel7", 16, 251, 0, 0, L"", hand}, Design(8, 0, kBlack)});

    AddPanel({{L"MainPanel", 182, 91, 582, 388}, GetSysColor(COLOR_WINDOW)});
    AddPanel({{L"BenefitsPanel", 0, 0, 582, 65, L"MainPanel"}, kBenefitsTint});
    AddLabel({{L"BenefitsLabel", 16, 6, 0, 0, L"BenefitsPanel"}, Design(8, kFontBold, kBlack)});
    LabelArgs description{{L"BenefitsDescription", 16, 25, 550, 36, L"BenefitsPanel"},
                          Design(8, 0, kGrey)};
    description.wordWrap = true;
    description.showAccelChar = false;
    AddLabel(description);

    AddLabel({{L"OSVersionLabel", 16, 76, 0, 0, L"MainPanel"}, Design(8, 0, kDefaultTextColor)});
    std::vector<std::wstring> editions;
    std::vector<int> editionImages;
    for (const auto& edition : kWindowsEditions) {
        editions.emplace_back(edition.text);
        editionImages.push_back(edition.kind == EditionKind::Server ? 1 : 0);
    }
    AddComboBox({{L"WindowsCombo", 16, 95, 309, 22, L"MainPanel"},
                 editions,
                 editionImages,
                 {IDB_EDITION_WORKSTATION, IDB_EDITION_SERVER}});
    AddLabel(
        {{L"ProcessorTypeLabel", 16, 128, 0, 0, L"MainPanel"}, Design(8, 0, kDefaultTextColor)});
    AddComboBox({{L"ProcessorCombo", 16, 147, 309, 22, L"MainPanel"},
                 {std::begin(kProcessorItems), std::end(kProcessorItems)},
                 {},
                 {IDB_PROCESSOR}});
    std::vector<std::wstring> connectionTypes;
    for (const auto& type : kConnectionTypes) {
        connectionTypes.emplace_back(type.text);
    }
    AddLabel({{L"ModemTypeLabel", 16, 180, 0, 0, L"MainPanel"}, Design(8, 0, kDefaultTextColor)});
    AddComboBox(
        {{L"ModemCombo", 16, 199, 309, 22, L"MainPanel"}, connectionTypes, {}, {IDB_CONNECTION}});
    AddLabel({{L"SpeedLabel", 16, 231, 0, 0, L"MainPanel"}, Design(8, 0, kDefaultTextColor)});
    AddTrackBar({{L"SpeedTrackBar", 16, 244, 309, 44, L"MainPanel"}, 0, 1, 1, 26});
    AddLabel({{L"FastLabel", 33, 292, 0, 0, L"MainPanel"}, Design(8, 0, kDefaultTextColor)});
    LabelArgs faster{{L"FasterLabel", 307, 292, 0, 0, L"MainPanel"},
                     Design(8, 0, kDefaultTextColor)};
    faster.rightAligned = true;
    AddLabel(faster);

    AddBevel({{L"LineSeparator1", 360, 102, 2, 183, L"MainPanel"}, true});
    ButtonArgs go{{L"GoButton", 400, 95, 145, 52, L"MainPanel"}, Design(8, kFontBold, kBlack)};
    go.parentFont = false;
    go.isDefault = true;
    AddButton(go);
    AddButton({{L"RestoreButton", 400, 171, 145, 25, L"MainPanel"}});
    Get(L"RestoreButton").SetEnabled(false);
    AddBevel({{L"LineSeparator2", 16, 315, 536, 5, L"MainPanel"}});
    AddLabel({{L"VersionInstalledLabel", 16, 336, 0, 0, L"MainPanel"},
              Design(8, kFontBold, kDefaultTextColor)});
    AddLabel({{L"SoftwareLastUpdateLabel", 16, 355, 0, 0, L"MainPanel"},
              Design(8, 0, kDefaultTextColor)});
    ButtonArgs updates{{L"UpdatesButton", 400, 336, 154, 33, L"MainPanel"}};
    updates.shield = true;
    AddButton(updates);

    AddPopupMenu(L"PopupMenu");
    AddMenuItem(L"PopupMenu", L"HelpFilePopup");
    AddMenuSeparator(L"PopupMenu");
    AddMenuItem(L"PopupMenu", L"TechSupportPopup");

    SetTabOrder({L"GoButton", L"RestoreButton", L"WindowsCombo", L"ProcessorCombo", L"ModemCombo",
                 L"SpeedTrackBar", L"UpdatesButton"});
}

void TLMMainForm::BindEvents() {
    using E = ControlEvent;
    auto bind = [this](const wchar_t* name, E event, void (TLMMainForm::*handler)(Control&)) {
        // cppcheck-suppress constParameter ; handlers may change their sender
        Bind(name, event, [this, handler](Control& sender) {
            try {
                (this->*handler)(sender);
            } catch (...) {
            }
        });
    };
    bind(L"GoButton", E::Click, &TLMMainForm::GoButtonClick);
    bind(L"RestoreButton", E::Click, &TLMMainForm::RestoreButtonClick);
    for (const wchar_t* name : {L"NavButton1", L"NavStatic1"}) {
        bind(name, E::Click, &TLMMainForm::NavButton1Click);
    }
    for (const wchar_t* name : {L"NavButton2", L"NavStatic2", L"LinkLabel6"}) {
        bind(name, E::Click, &TLMMainForm::NavButton2Click);
    }
    for (const wchar_t* name : {L"NavButton3", L"NavStatic3", L"LinkLabel5", L"TechSupportPopup"}) {
        bind(name, E::Click, &TLMMainForm::NavButton3Click);
    }
    for (const wchar_t* name : {L"NavButton4", L"NavStatic4", L"LinkLabel7"}) {
        bind(name, E::Click, &TLMMainForm::NavButton4Click);
    }
    for (const wchar_t* name : {L"LinkLabel4", L"HelpFilePopup"}) {
        bind(name, E::Click, &TLMMainForm::HelpFilePopupClick);
    }
    bind(L"UpdatesButton", E::Click, &TLMMainForm::UpdatesButtonClick);
    for (const wchar_t* name : {L"NavButton1", L"NavButton2", L"NavButton3", L"NavButton4",
                                L"NavStatic1", L"NavStatic2", L"NavStatic3", L"NavStatic4"}) {
        bind(name, E::MouseEnter, &TLMMainForm::NavButtonMouseEnter);
        bind(name, E::MouseLeave, &TLMMainForm::NavButtonMouseLeave);
    }
    for (const wchar_t* name : {L"LinkLabel4", L"LinkLabel5", L"LinkLabel6", L"LinkLabel7"}) {
        bind(name, E::MouseEnter, &TLMMainForm::LabelMouseEnter);
        bind(name, E::MouseLeave, &TLMMainForm::LabelMouseLeave);
    }
}

void TLMMainForm::FormCreate() {
    FollowDesktopFont();
    NormalizeFormFonts(*this);
    LoadFormCaptions(*this);

    std::wstring lastUpdate = DateStampToDisplayText(pk::ReadUpdatedDate());
    if (lastUpdate.empty()) {
        lastUpdate = DateStampToDisplayText(pk::ReadInstalledDate());
    }
    pk::StoredChoices stored = pk::ReadChoices();
    const bool restore = pk::ReadRestoreFlag();

    Control& lastUpdateLabel = Get(L"SoftwareLastUpdateLabel");
    lastUpdateLabel.SetCaption(lastUpdateLabel.Caption() + lastUpdate);
    Control& versionLabel = Get(L"VersionInstalledLabel");
    versionLabel.SetCaption(versionLabel.Caption() + kProgramVersion);

    SetItemIndex(L"WindowsCombo", WindowsItemForOsIndex(GetWindowsVersion()));
    if (stored.processorType == pk::kDefaultProcessorType) {
        stored.processorType = DetectProcessorType(ReadProcessorName());
    }
    SetItemIndex(L"ProcessorCombo", stored.processorType);
    SetItemIndex(L"ModemCombo", stored.connectionType);
    Get(L"RestoreButton").SetEnabled(restore);
    SetPosition(L"SpeedTrackBar", ClampSpeedSetting(stored.speedSetting));

    // The 45-day rule, over the date read back in the user's regional formats.
    const auto readBack = [](const std::wstring& stored) {
        return LocalTextToDate(DateStampToLocalText(stored));
    };
    if (UpdateCheckDueAt(CurrentLocalTime(), readBack)) {
        ExecuteFileDetached(ProgramFolder() + kProgramFileName, L"/checkupdate");
    }
}

void TLMMainForm::ApplicationEventsShortCut(WORD key, bool& /*handled*/) {
    try {
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
    } catch (...) {
    }
}

// What the runs see of the windows.
class MainFormRunView : public RunView {
  public:
    explicit MainFormRunView(TLMMainForm& form) : form_(form) {}
    TuningChoices Choices() override {
        return ChoicesFromSelection(
            form_.ItemIndex(L"WindowsCombo"), form_.ItemIndex(L"ProcessorCombo"),
            form_.ItemIndex(L"ModemCombo"), form_.Position(L"SpeedTrackBar"));
    }
    std::wstring MainTitle() override { return form_.Title(); }
    void SetMainEnabled(bool enabled) override {
        EnableWindow(form_.Handle(), enabled ? TRUE : FALSE);
    }
    void SetRestoreEnabled(bool enabled) override {
        form_.Get(L"RestoreButton").SetEnabled(enabled);
    }
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

void TLMMainForm::GoButtonClick(Control& /*sender*/) {
    MainFormRunView view(*this);
    RunWith(view, RunOptimize);
}

void TLMMainForm::RestoreButtonClick(Control& /*sender*/) {
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

void TLMMainForm::NavButton1Click(Control& /*sender*/) {
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT client{};
    GetClientRect(Handle(), &client);
    const Control& button = Get(L"NavButton1");
    const ControlArgs& place = button.Args();
    const ScreenPoint corner = HelpMenuCorner(
        window.left, window.top, window.right - window.left, window.bottom - window.top,
        client.right, client.bottom, place.left, place.top, place.width, place.height);
    PopupMenuAt(L"PopupMenu", corner.x, corner.y);
}

void TLMMainForm::NavButton2Click(Control& /*sender*/) {
    PlayClickSound();
    OpenUrl(HomePageUrl());
}

void TLMMainForm::NavButton3Click(Control& /*sender*/) {
    PlayClickSound();
    OpenUrl(SupportPageUrl());
}

void TLMMainForm::NavButton4Click(Control& /*sender*/) {
    PlayClickSound();
    if (aboutForm_ != nullptr) {
        aboutForm_->ShowModalOver(Handle());
    }
}

void TLMMainForm::HelpFilePopupClick(Control& /*sender*/) {
    bool handled = false;
    ApplicationEventsShortCut(VK_F1, handled);
}

void TLMMainForm::UpdatesButtonClick(Control& /*sender*/) {
    PlayClickSound();
    ExecuteFileDetached(ProgramFolder() + kUpdaterFileName, L"");
}

// cppcheck-suppress constParameterCallback ; bound like every other handler
void TLMMainForm::NavButtonMouseEnter(Control& sender) {
    if (Control* label = Find(NavLabelFor(sender.Name()))) {
        label->SetUnderline(true);
    }
}

// cppcheck-suppress constParameterCallback ; bound like every other handler
void TLMMainForm::NavButtonMouseLeave(Control& sender) {
    if (Control* label = Find(NavLabelFor(sender.Name()))) {
        label->SetUnderline(false);
    }
}

void TLMMainForm::LabelMouseEnter(Control& sender) {
    sender.SetUnderline(true);
}

void TLMMainForm::LabelMouseLeave(Control& sender) {
    sender.SetUnderline(false);
}

}  // namespace lumora
