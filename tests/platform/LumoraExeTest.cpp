// What the built Lumora.exe carries for this folder's services: its manifest,
// read by the system's own activation-context reader (administrator rights
// without UI access, common controls 6, and the supported-OS entries, which
// make Windows 8.1 and 10 report their true version), the awareness of the
// system's dpi that it and LumoraUpdate.exe declare, and the click sound.
#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

#include "tests/support/Process.h"

namespace lumora {
namespace {

class LumoraExe : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW((test::TestFolder() + L"Lumora.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "Lumora.exe is not next to the test";
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    std::string Resource(const wchar_t* name, const wchar_t* type) const {
        HRSRC resource = FindResourceW(module_, name, type);
        HGLOBAL loaded = resource != nullptr ? LoadResource(module_, resource) : nullptr;
        const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
        return data != nullptr
                   ? std::string(static_cast<const char*>(data), SizeofResource(module_, resource))
                   : std::string();
    }
    HMODULE module_ = nullptr;
};

TEST_F(LumoraExe, ManifestDeclaresEverySupportedWindows) {
    const std::string manifest = Resource(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",     // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10
        EXPECT_NE(manifest.find(std::string("supportedOS Id=\"") + id + "\""), std::string::npos)
            << id;
    }
}

// The activation context the system makes from the program's manifest.
class LumoraManifest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = test::TestFolder() + L"Lumora.exe";
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path_.c_str();
        request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        context_ = CreateActCtxW(&request);
        ASSERT_NE(context_, INVALID_HANDLE_VALUE) << "no manifest the system accepts";
    }
    void TearDown() override {
        if (context_ != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(context_);
        }
    }
    // One block of information about the context, or about its assembly
    // |index| (1 is the program's own).
    std::vector<char> Query(ULONG infoClass, DWORD index = 0) const {
        SIZE_T needed = 0;
        QueryActCtxW(0, context_, index != 0 ? &index : nullptr, infoClass, nullptr, 0, &needed);
        std::vector<char> info(needed);
        if (needed == 0 || !QueryActCtxW(0, context_, index != 0 ? &index : nullptr, infoClass,
                                         info.data(), info.size(), &needed)) {
            info.clear();
        }
        return info;
    }
    std::wstring path_;
    HANDLE context_ = INVALID_HANDLE_VALUE;
};

TEST_F(LumoraManifest, RequiresAdministratorRightsWithoutUiAccess) {
    const std::vector<char> info = Query(RunlevelInformationInActivationContext);
    ASSERT_GE(info.size(), sizeof(ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION));
    const auto* level =
        reinterpret_cast<const ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION*>(info.data());
    EXPECT_EQ(level->RunLevel, ACTCTX_RUN_LEVEL_REQUIRE_ADMIN);
    EXPECT_EQ(level->UiAccess, 0u);
}

TEST_F(LumoraManifest, DependsOnCommonControlsSix) {
    const std::vector<char> detail = Query(ActivationContextDetailedInformation);
    ASSERT_GE(detail.size(), sizeof(ACTIVATION_CONTEXT_DETAILED_INFORMATION));
    const DWORD assemblies =
        reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(detail.data())
            ->ulAssemblyCount;
    std::vector<std::wstring> identities;
    for (DWORD index = 1; index <= assemblies; ++index) {
        const std::vector<char> info = Query(AssemblyDetailedInformationInActivationContext, index);
        if (info.size() < sizeof(ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION)) {
            continue;
        }
        const auto* assembly =
            reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(info.data());
        if (assembly->lpAssemblyEncodedAssemblyIdentity != nullptr) {
            identities.emplace_back(assembly->lpAssemblyEncodedAssemblyIdentity);
        }
    }
    std::wstring found;
    for (const std::wstring& identity : identities) {
        if (identity.rfind(L"Microsoft.Windows.Common-Controls,", 0) == 0) {
            found = identity;
        }
    }
    ASSERT_FALSE(found.empty()) << "the program's context holds " << identities.size()
                                << " assemblies, none of them the common controls";
    // The system's publisher policy turns the version asked for into the
    // one installed, 6.0.x.y.
    EXPECT_NE(found.find(L"version=\"6.0."), std::wstring::npos) << found;
    EXPECT_NE(found.find(L"publicKeyToken=\"6595b64144ccf1df\""), std::wstring::npos) << found;
}

// What the manifest asks for, as written: the common controls 6.0.0.0.
TEST_F(LumoraExe, ManifestAsksForCommonControlsSixZeroZeroZero) {
    const std::string manifest = Resource(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    const std::size_t name = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(name, std::string::npos);
    const std::size_t begin = manifest.rfind('<', name);
    const std::size_t end = manifest.find('>', name);
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string element = manifest.substr(begin, end - begin);
    EXPECT_EQ(element.compare(0, 17, "<assemblyIdentity"), 0) << element;
    EXPECT_NE(element.find(" version=\"6.0.0.0\""), std::string::npos) << element;
}

// Both programs declare themselves aware of the system's dpi, so that
// Windows Vista and later draw their windows (the updater's are message
// boxes) at it rather than at 96 dpi stretched. The declaration is an
// application element of the asm.v3 namespace under its own prefix, the
// form that Windows XP's reader also accepts.
class ProgramManifest : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(ProgramManifest, DeclaresAwarenessOfTheSystemDpi) {
    const std::wstring path = test::TestFolder() + GetParam();
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << "not next to the test";
    HRSRC resource = FindResourceW(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const char* data = static_cast<const char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    const std::string manifest =
        data != nullptr ? std::string(data, SizeofResource(module, resource)) : std::string();
    FreeLibrary(module);
    std::size_t at = 0;
    for (const char* part :
         {"<asmv3:application xmlns:asmv3=\"urn:schemas-microsoft-com:asm.v3\">",
          "<asmv3:windowsSettings "
          "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">",
          "<dpiAware>true</dpiAware>", "</asmv3:windowsSettings>", "</asmv3:application>"}) {
        at = manifest.find(part, at);
        ASSERT_NE(at, std::string::npos) << "no " << part << " (in this order) in\n" << manifest;
    }

    // What the system's reader makes of it (Windows 7 on).
    using QuerySettings = BOOL(WINAPI*)(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*);
    const auto query = reinterpret_cast<QuerySettings>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryActCtxSettingsW")));
    if (query == nullptr) {
        GTEST_SKIP() << "this Windows has no QueryActCtxSettingsW to read the setting back";
    }
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no manifest the system accepts";
    wchar_t value[16] = {};
    SIZE_T written = 0;
    const BOOL found = query(0, context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                             L"dpiAware", value, std::size(value), &written);
    ReleaseActCtx(context);
    ASSERT_TRUE(found) << "the system reads no dpiAware setting, error " << GetLastError();
    EXPECT_EQ(std::wstring(value), L"true");
}

INSTANTIATE_TEST_SUITE_P(ShippedPrograms, ProgramManifest,
                         ::testing::Values(L"Lumora.exe", L"LumoraUpdate.exe"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             return info.index == 0 ? std::string("Lumora")
                                                    : std::string("LumoraUpdate");
                         });

TEST_F(LumoraExe, CarriesTheClickSound) {
    const std::string click = Resource(L"CLICK", L"WAVE");
    ASSERT_EQ(click.size(), 2202u);
    EXPECT_EQ(click.substr(0, 4), "RIFF");
    EXPECT_EQ(click.substr(8, 8), "WAVEfmt ");
}

}  // namespace
}  // namespace lumora
