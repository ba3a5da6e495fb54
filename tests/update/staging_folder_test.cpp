#include "update/staging_folder_win.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>

#include "base/win/handles.h"
#include "directory_link_win.h"
#include "temp_folder.h"
#include "test_files_win.h"
#include "update/update_folders_win.h"
#include "wine_win.h"

namespace {

using Thermolyx::GetStagingRoot;
using Thermolyx::IsFreeOfReparsePoints;
using Thermolyx::PrepareInstallFolder;

// The owner and DACL of `path` in SDDL, as the system reads them back.
std::wstring SecurityOf(const std::wstring& path) {
    PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, nullptr, nullptr, &rawDescriptor) != ERROR_SUCCESS) {
        return L"(unreadable)";
    }
    const Base::UniqueLocalMemory descriptor(rawDescriptor);
    wchar_t* rawText = nullptr;
    ::ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor.Get(), SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &rawText, nullptr);
    const Base::UniqueLocalMemory text(rawText);
    return rawText != nullptr ? rawText : L"";
}

TEST(StagingFolder, LiesInTheMachinesProgramData) {
    wchar_t programData[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, programData)));
    EXPECT_EQ(GetStagingRoot(), std::wstring(programData) + L"\\Caloryn Updates\\");
}

TEST(StagingFolder, EachInstallGetsAFreshFolderAndEarlierOnesGo) {
    TempFolder scratch;
    const std::wstring root = scratch.Wide() + L"staging\\";
    const std::wstring first = PrepareInstallFolder(root);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.rfind(root, 0), 0u);
    ASSERT_TRUE(WriteTextFile(first + L"Software-1.0.0.10.exe", "left over"));
    ASSERT_TRUE(CreateFolderTree(first + L"sub\\deeper"));
    ::SetFileAttributesW((first + L"Software-1.0.0.10.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(WriteTextFile(root + L"planted.dll", "x"));

    const std::wstring second = PrepareInstallFolder(root);
    ASSERT_FALSE(second.empty());
    EXPECT_NE(second, first);
    EXPECT_EQ(::GetFileAttributesW(first.c_str()), INVALID_FILE_ATTRIBUTES) << "the earlier install is removed";
    EXPECT_EQ(::GetFileAttributesW((root + L"planted.dll").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(StagingFolder, ALinkOnTheWayOrAFileInPlaceIsRefused) {
    TempFolder scratch;
    const std::wstring target = scratch.Wide() + L"elsewhere\\";
    ASSERT_TRUE(CreateFolderTree(target + L"kept"));
    const DirectoryLink link(scratch.Wide() + L"link", target);
    ASSERT_TRUE(link.IsMade());
    ASSERT_TRUE(WriteTextFile(scratch.Wide() + L"file", "x"));
    for (const std::wstring& root : {scratch.Wide() + L"link\\", scratch.Wide() + L"link\\staging\\",
                                     scratch.Wide() + L"link\\kept\\", scratch.Wide() + L"file\\"}) {
        EXPECT_TRUE(PrepareInstallFolder(root).empty()) << root;
    }
    EXPECT_FALSE(IsFreeOfReparsePoints(scratch.Wide() + L"link\\kept"));
    EXPECT_TRUE(IsFreeOfReparsePoints(scratch.Wide() + L"elsewhere\\kept"));
    EXPECT_TRUE(::GetFileAttributesW((target + L"kept").c_str()) != INVALID_FILE_ATTRIBUTES)
        << "nothing behind the link was removed";
}

TEST(StagingFolder, TheRootIsSecuredAgainWhoeverMadeIt) {
    TempFolder scratch;
    const std::wstring root = scratch.Wide() + L"staging\\";
    // Made first by someone else, open to everyone.
    PSECURITY_DESCRIPTOR rawOpen = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &rawOpen,
                                                                       nullptr));
    const Base::UniqueLocalMemory open(rawOpen);
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), open.Get(), FALSE};
    ASSERT_TRUE(::CreateDirectoryW(root.c_str(), &attributes));

    const std::wstring install = PrepareInstallFolder(root);
    ASSERT_FALSE(install.empty());
    const std::wstring expected = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
    const std::wstring readBack = SecurityOf(root);
    if (readBack != expected && RunningUnderWine()) {
        // Wine 8 keeps no descriptor on files: it answers one made from the Unix mode.
        GTEST_SKIP() << "Wine does not store file security; read back: "
                     << std::string(readBack.begin(), readBack.end());
    }
    EXPECT_EQ(readBack, expected);
    // The install's own folder inherits it, and nothing of what the root had before.
    const std::wstring inherited = SecurityOf(install);
    for (const wchar_t* ace : {L";FA;;;BA)", L";FA;;;SY)", L";0x1200a9;;;BU)"}) {
        EXPECT_NE(inherited.find(ace), std::wstring::npos) << ace;
    }
    EXPECT_EQ(inherited.find(L";;;WD)"), std::wstring::npos);
}

}  // namespace
