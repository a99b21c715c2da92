#include "ui/SettingsForm.h"

#include "ui/PrepareForm.h"
#include "ui/ProgressStep.h"
#include "ui/framework/Application.h"
#include "ui/framework/WindowClasses.h"
#include "ui/text/CaptionSections.h"

namespace lumora {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;

std::uint64_t ClockSeed() {
    LARGE_INTEGER counter{};
    if (QueryPerformanceCounter(&counter) && counter.QuadPart != 0) {
        return static_cast<std::uint64_t>(counter.QuadPart);
    }
    return GetTickCount();
}
}  // namespace

TLMSettingsForm::TLMSettingsForm() : FormWindow(kSettingsFormSection, kSettingsFormClass) {}

bool TLMSettingsForm::Create(HWND owner) {
    if (!CreateForm(L"", kStyle, 0, 479, 146, owner)) {
        return false;
    }
    UseDoubleBuffering();
    const CursorKind wait = CursorKind::HourGlass;
    Add(settingsPanel_,
        {{L"SettingsPanel", 0, 0, 479, 146, nullptr, wait}, GetSysColor(COLOR_WINDOW)});
    Panel* const panel = &settingsPanel_;
    Add(currentSettingsHeading_, {{L"CurrentSettingsHeading", 42, 30, 0, 0, panel},
                                  FontSpec{L"Tahoma", 8, kFontBold, kDefaultTextColor}});
    Add(mainProgress_, {{L"MainProgress", 42, 59, 401, 17, panel, wait}});
    Label::Args step{{L"CurrentSettingsLabel", 42, 94, 0, 0, panel}};
    step.parentFont = true;
    Add(currentSettingsLabel_, step);
    return true;
}

void TLMSettingsForm::FormShow() {
    PrepareForm(*this);
    mainProgress_.SetPosition(0);
}

void TLMSettingsForm::ShowOver(HWND owner) {
    CentreOver(owner);
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

void TLMSettingsForm::CloseDialog() {
    Hide();
}

void TLMSettingsForm::BeginSteps(std::int32_t total) {
    steps_.total = total;
    steps_.counter = 0;
}

void TLMSettingsForm::SetHeading(const std::wstring& text) {
    currentSettingsHeading_.SetCaption(text);
}

void TLMSettingsForm::ShowProgressStep(const std::wstring& text) {
    try {
        const ProgressTimings& timings = ActiveTimings();
        ProgressStepActions actions;
        actions.pump = [] { Application::Instance().ProcessMessages(); };
        actions.setLabel = [this](const std::wstring& shown) {
            currentSettingsLabel_.SetCaption(shown);
        };
        actions.pause = [](std::uint32_t ms) { Sleep(ms); };
        actions.setBar = [this](int percent) { mainProgress_.SetPosition(percent); };
        RunProgressStep(text, DrawPassCount(timings, ClockSeed()), timings, steps_, actions);
    } catch (...) {
    }
}

void TLMSettingsForm::OnCancel(CancelBy how) {
    if (how == CancelBy::CloseRequest) {
        Hide();
    }
}

}  // namespace lumora
