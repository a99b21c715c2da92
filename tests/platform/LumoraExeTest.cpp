// What the built Lumora.exe carries for this folder's services: the
// supported-OS entries of its manifest, which make Windows 8.1 and 10 report
// their true version, and the click sound.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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

TEST_F(LumoraExe, CarriesTheClickSound) {
    const std::string click = Resource(L"CLICK", L"WAVE");
    ASSERT_EQ(click.size(), 2202u);
    EXPECT_EQ(click.substr(0, 4), "RIFF");
    EXPECT_EQ(click.substr(8, 8), "WAVEfmt ");
}

}  // namespace
}  // namespace lumora
