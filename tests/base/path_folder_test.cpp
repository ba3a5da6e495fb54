#include "base/path_folder.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const wchar_t* path;
    const wchar_t* folder;
};

class FolderOfPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(FolderOfPathTest, KeepsEverythingUpToTheLastBackslash) {
    EXPECT_EQ(Base::FolderOfPath(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FolderOfPathTest,
    testing::Values(PathCase{L"C:\\A\\B\\prog.exe", L"C:\\A\\B\\"},
                    PathCase{L"C:\\Program Files (x86)\\Caloryn\\Thermolyx.exe", L"C:\\Program Files (x86)\\Caloryn\\"},
                    PathCase{L"C:\\prog.exe", L"C:\\"},
                    PathCase{L"\\\\server\\share\\prog.exe", L"\\\\server\\share\\"},
                    PathCase{L"C:\\A\\B\\", L"C:\\A\\B\\"}, PathCase{L"C:\\dir.v2\\prog", L"C:\\dir.v2\\"},
                    // No folder at all: nothing, never the root "\".
                    PathCase{L"prog.exe", L""}, PathCase{L"", L""}));

}  // namespace
