// What Windows shows of the built executables: the version resource behind
// a file's properties (version, product, maker, copyright, description),
// the program's icon, and the rights each one's manifest asks for.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/Version.h"
#include "resources/ResourceIds.h"
#include "tests/support/Process.h"
#include "ui/Captions.h"

namespace lumora {
namespace {

struct Executable {
    const wchar_t* file;
    // The caption table's section whose title describes the file.
    const wchar_t* section;
    const char* executionLevel;
};

const Executable kExecutables[] = {
    {L"Lumora.exe", L"LMMainForm", "requireAdministrator"},
    // Only asks and opens a web page. Without a manifest, Windows would take
    // a program named "...Update" for an installer and ask for elevation.
    {L"LumoraUpdate.exe", L"LMUpdateForm", "asInvoker"},
};

// The version resource of a file, read the way Explorer reads it.
class VersionResource {
  public:
    explicit VersionResource(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        data_.resize(size);
        if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data_.data())) {
            data_.clear();
        }
    }
    bool Present() const { return !data_.empty(); }
    const VS_FIXEDFILEINFO* Fixed() const {
        return static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\"));
    }
    // A string of the first translation the resource lists.
    std::wstring String(const wchar_t* name) const {
        const auto* translation = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation"));
        if (translation == nullptr) {
            return L"(no translation)";
        }
        wchar_t path[64] = {};
        swprintf(path, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1],
                 name);
        const auto* text = static_cast<const wchar_t*>(Query(path));
        return text != nullptr ? std::wstring(text) : L"(missing)";
    }

  private:
    const void* Query(const wchar_t* path) const {
        void* value = nullptr;
        UINT length = 0;
        return Present() && VerQueryValueW(data_.data(), path, &value, &length) && length > 0
                   ? value
                   : nullptr;
    }
    std::vector<BYTE> data_;
};

std::wstring VersionText(DWORD high, DWORD low) {
    wchar_t text[32] = {};
    swprintf(text, 32, L"%u.%u.%u.%u", HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
    return text;
}

TEST(FileProperties, VersionProductMakerCopyrightAndDescription) {
    for (const Executable& exe : kExecutables) {
        SCOPED_TRACE(testing::Message() << exe.file);
        const VersionResource version(test::TestFolder() + exe.file);
        ASSERT_TRUE(version.Present());
        const VS_FIXEDFILEINFO* fixed = version.Fixed();
        ASSERT_NE(fixed, nullptr);
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS), kProgramVersion);
        EXPECT_EQ(VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS),
                  kProgramVersion);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        EXPECT_EQ(version.String(L"FileVersion"), kProgramVersion);
        EXPECT_EQ(version.String(L"ProductVersion"), kProgramVersion);
        EXPECT_EQ(version.String(L"ProductName"), L"Lumora");
        EXPECT_EQ(version.String(L"CompanyName"), L"OSTREL Software");
        EXPECT_EQ(version.String(L"OriginalFilename"), exe.file);
        // The texts the program itself shows, decoded from the same table.
        EXPECT_EQ(version.String(L"LegalCopyright"), GetCaption(L"LMAboutForm", L"CopyrightLabel"));
        EXPECT_EQ(version.String(L"FileDescription"), GetCaption(exe.section, exe.section));
    }
}

TEST(FileProperties, ProgramIconAndRequestedRights) {
    for (const Executable& exe : kExecutables) {
        SCOPED_TRACE(testing::Message() << exe.file);
        HMODULE module = LoadLibraryExW((test::TestFolder() + exe.file).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDI_LUMORA), RT_GROUP_ICON), nullptr);
        HRSRC resource = FindResourceW(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
        HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
        const char* bytes =
            loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        ASSERT_NE(bytes, nullptr);
        const std::string manifest(bytes, SizeofResource(module, resource));
        EXPECT_NE(manifest.find(std::string("level=\"") + exe.executionLevel + "\""),
                  std::string::npos);
        FreeLibrary(module);
    }
}

}  // namespace
}  // namespace lumora
