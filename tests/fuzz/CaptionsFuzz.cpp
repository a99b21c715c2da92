// libFuzzer harness for the caption grammar: any bytes as a caption table,
// decoded as the program decodes its resource, then read by both readers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/ui/TestForm.h"
#include "ui/text/CaptionDecoding.h"
#include "ui/text/CaptionTable.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool HasLineBreakOrNul(const std::wstring& text) {
    return text.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lumora::ComponentKind;
    const std::wstring table = lumora::DecodeCaptionTable(data, size, lumora::DecodeWindows1252);
    Check(table.size() <= size);

    // Sections and keys of the seed corpus.
    const std::wstring found = lumora::FindCaptionIn(table, L"S", L"K");
    Check(!HasLineBreakOrNul(found));
    Check(!HasLineBreakOrNul(lumora::FindCaptionIn(table, L"LMMainForm", L"GoButton")));

    lumora::test::TestForm form(L"S");
    form.Add(L"K", ComponentKind::Label);
    form.Add(L"M", ComponentKind::MultiLineEdit);
    form.Add(L"O", ComponentKind::Other);
    lumora::ApplyCaptionsTo(table, form);
    Check(!HasLineBreakOrNul(form.title));
    Check(form.Named(L"O").caption.empty());
    return 0;
}
