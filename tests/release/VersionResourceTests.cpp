#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "SaverFile.h"
#include "dialogs/DialogIds.h"
#include "resources/Version.h"

// The version a user sees in three places, the file's properties, the About box and the package's
// name, comes from the project version; the About box's text is kept as it was written, so it
// must be changed by hand with the version, and this is what notices when it isn't.

namespace {

// The About box's line that starts with "Version", as the dialog in the file shows it.
std::wstring AboutVersionLine(const std::wstring& file)
{
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
        return L"(file not loaded)";
    HWND about = CreateDialogParamW(
        module, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    std::wstring line = L"(no version line)";
    for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child).rfind(L"Version ", 0) == 0)
            line = WindowText(child);
    DestroyWindow(about);
    FreeLibrary(module);
    return line;
}

} // namespace

TEST(SaverFile, VersionResourceAndAboutBoxAgreeWithTheProjectVersionAndLicence)
{
    const std::wstring file = BuiltSaverPath();
    DWORD handle = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(file.c_str(), &handle));
    ASSERT_FALSE(data.empty()) << "no version resource";
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(ASCENDA_VERSION_MINOR, ASCENDA_VERSION_MAJOR)), fixed->dwFileVersionMS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, ASCENDA_VERSION_PATCH)), fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(L"" ASCENDA_VERSION_TEXT, VersionString(file, L"FileVersion"));
    EXPECT_EQ(L"" ASCENDA_VERSION_TEXT, VersionString(file, L"ProductVersion"));
    // The licence's copyright line, holder named.
    EXPECT_EQ(L"" ASCENDA_COPYRIGHT_TEXT, VersionString(file, L"LegalCopyright"));
    EXPECT_NE(std::wstring::npos, VersionString(file, L"LegalCopyright").find(L"Orvane's Registry Bits"));

    // "Version 1.0  (1.00.0016) ...": major and minor, and again with the minor in two digits.
    wchar_t expected[2][32];
    std::swprintf(expected[0], 32, L"Version %d.%d ", ASCENDA_VERSION_MAJOR, ASCENDA_VERSION_MINOR);
    std::swprintf(expected[1], 32, L"(%d.%02d.", ASCENDA_VERSION_MAJOR, ASCENDA_VERSION_MINOR);
    const std::wstring line = AboutVersionLine(file);
    EXPECT_EQ(0u, line.find(expected[0])) << "the About box says: " << line.c_str();
    EXPECT_NE(std::wstring::npos, line.find(expected[1])) << "the About box says: " << line.c_str();
}
