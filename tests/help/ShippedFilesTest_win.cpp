// The help file and the licence text next to the program, read the way
// Windows reads them: the licence through a RichEdit control, as WordPad
// does, and the help topic through the compiled-help storage (itss.dll) that
// HTML Help reads help files with. Wine's HTML Help window itself needs the Gecko
// HTML engine, which the project's Wine prefix leaves out, so that the help
// window shows the topic is not tested here.
#include <gtest/gtest.h>
#include <objbase.h>
#include <richedit.h>
#include <windows.h>

#include <optional>
#include <string>

#include "platform/ShellAddresses.h"

// The compiled-help storage of itss.dll, through which HTML Help reads the
// files of a help file. The interface as far as this test calls it: the
// order of the methods up to StgOpenStorage is what matters. Outside the
// anonymous namespace: the compiler must not take it for a type that nothing
// implements.
const CLSID kItStorageClass = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kItStorageInterface = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

struct ItStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD,
                                                                   IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority,
                                                     DWORD mode, SNB exclude, DWORD reserved,
                                                     IStorage** opened) = 0;
};

namespace lumora {
namespace {

std::wstring TestFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

struct StreamSource {
    const std::string* bytes;
    std::size_t offset;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const std::size_t left = source->bytes->size() - source->offset;
    const std::size_t count = left < static_cast<std::size_t>(size) ? left : size;
    source->bytes->copy(reinterpret_cast<char*>(buffer), count, source->offset);
    source->offset += count;
    *got = static_cast<LONG>(count);
    return 0;
}

TEST(ShippedFilesTest, RichEditReadsTheLicenceAsFormattedText) {
    const std::string rtf = FileBytes(TestFolder() + kLicenseFileName);
    ASSERT_FALSE(rtf.empty());
    ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
    HWND edit = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);

    StreamSource source{&rtf, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadSource};
    SendMessageW(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    EXPECT_EQ(stream.dwError, 0u);

    const int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit, &text[0], length + 1)));
    // Read as RTF, not as plain text: no control words or groups show.
    EXPECT_GT(text.size(), 1000u);
    EXPECT_EQ(text.find_first_of(L"\\{}"), std::wstring::npos);
    EXPECT_EQ(text.rfind(L"Lumora End-User Licence", 0), 0u);
    EXPECT_NE(text.find(L"\u00A9 OSTREL Software"), std::wstring::npos);  // from \'a9

    // The heading is in the second font of the table, in bold.
    SendMessageW(edit, EM_SETSEL, 0, 1);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, L"Arial");
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    DestroyWindow(edit);
}

// A file of the help file, by its name there ("/html/main.htm"); nothing
// when it is not there.
std::optional<std::string> ReadFromHelpFile(const std::wstring& name) {
    ItStorage* its = nullptr;
    if (FAILED(CoCreateInstance(kItStorageClass, nullptr, CLSCTX_INPROC_SERVER, kItStorageInterface,
                                reinterpret_cast<void**>(&its)))) {
        ADD_FAILURE() << "no compiled-help storage";
        return std::nullopt;
    }
    const std::wstring path = TestFolder() + kHelpFileName;
    IStorage* storage = nullptr;
    const HRESULT opened = its->StgOpenStorage(
        path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage);
    its->Release();
    if (FAILED(opened)) {
        ADD_FAILURE() << "cannot open " << kHelpFileName << ": " << std::hex << opened;
        return std::nullopt;
    }
    IStream* stream = nullptr;
    std::optional<std::string> bytes;
    if (SUCCEEDED(storage->OpenStream(name.substr(1).c_str(), nullptr,
                                      STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream))) {
        bytes.emplace();
        char buffer[4096];
        ULONG got = 0;
        while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0) {
            bytes->append(buffer, got);
        }
        stream->Release();
    }
    storage->Release();
    return bytes;
}

TEST(ShippedFilesTest, CompiledHelpStorageHoldsTheTopicTheProgramOpens) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    const auto page = ReadFromHelpFile(kHelpTopic);
    ASSERT_TRUE(page.has_value());
    EXPECT_NE(page->find("<html>"), std::string::npos);
    EXPECT_NE(page->find("</html>"), std::string::npos);
    EXPECT_FALSE(ReadFromHelpFile(L"/html/none.htm").has_value());
    CoUninitialize();
}

}  // namespace
}  // namespace lumora
