#include "shell/program_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(SensorServerCommandLine, NamesTheBuildWithTheDoubledBackslashQuoted) {
    EXPECT_EQ(SensorServerCommandLine(L"C:\\Program Files\\Caloryn\\", true),
              L"\"C:\\Program Files\\Caloryn\\\\Sensovo\\SensovoServer.exe\"");
    EXPECT_EQ(SensorServerCommandLine(L"C:\\App\\", false), L"\"C:\\App\\\\SensovoWin7\\SensovoServer.exe\"");
}

TEST(StartupTaskProgramPath, AlwaysNamesThermolyxExe) {
    EXPECT_EQ(StartupTaskProgramPath(L"D:\\Tools\\Caloryn\\"), L"D:\\Tools\\Caloryn\\Thermolyx.exe");
}

}  // namespace
