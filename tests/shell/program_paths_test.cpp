#include "program_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramFolderOf, KeepsEverythingUpToTheLastBackslash) {
    EXPECT_EQ(ProgramFolderOf(L"C:\\Program Files (x86)\\Caloryn\\Thermolyx.exe"), L"C:\\Program Files (x86)\\Caloryn\\");
    EXPECT_EQ(ProgramFolderOf(L"C:\\Thermolyx.exe"), L"C:\\");
    EXPECT_EQ(ProgramFolderOf(L"\\\\server\\share\\app\\renamed.exe"), L"\\\\server\\share\\app\\");
    EXPECT_EQ(ProgramFolderOf(L"Thermolyx.exe"), L"");
}

TEST(SensorServerCommandLine, NamesTheBuildWithTheDoubledBackslashQuoted) {
    EXPECT_EQ(SensorServerCommandLine(L"C:\\Program Files\\Caloryn\\", true),
              L"\"C:\\Program Files\\Caloryn\\\\Sensovo\\SensovoServer.exe\"");
    EXPECT_EQ(SensorServerCommandLine(L"C:\\App\\", false), L"\"C:\\App\\\\SensovoWin7\\SensovoServer.exe\"");
}

TEST(StartupTaskProgramPath, AlwaysNamesThermolyxExe) {
    EXPECT_EQ(StartupTaskProgramPath(L"D:\\Tools\\Caloryn\\"), L"D:\\Tools\\Caloryn\\Thermolyx.exe");
}

}  // namespace
