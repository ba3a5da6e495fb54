#include "core/module_path.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const wchar_t* modulePath;
    const wchar_t* folder;
};

class FolderOfModulePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(FolderOfModulePathTest, CutsTheFileNameAndEndsInABackslash) {
    EXPECT_EQ(Orvik::FolderOfModulePath(GetParam().modulePath), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Table, FolderOfModulePathTest,
                         testing::Values(PathCase{L"C:\\A\\B\\prog.exe", L"C:\\A\\B\\"},
                                         PathCase{L"C:\\prog.exe", L"C:\\"},
                                         PathCase{L"\\\\server\\share\\prog.exe", L"\\\\server\\share\\"},
                                         PathCase{L"C:\\A\\B\\", L"C:\\A\\B\\"},
                                         PathCase{L"C:\\dir.v2\\prog", L"C:\\dir.v2\\"},
                                         PathCase{L"prog.exe", L"\\"},
                                         PathCase{L"", L"\\"}));

}  // namespace
