#include "update/update_files.h"

#include <gtest/gtest.h>

namespace {

using Thermolyx::UpdateFiles;
using Thermolyx::UpdateTarget;
using Thermolyx::VersionUrl;

TEST(UpdateFiles, NamesAndPathsOfBothTargets) {
    const std::wstring folder = L"C:\\ProgramData\\Caloryn Updates\\install-1\\";
    const UpdateFiles software = MakeUpdateFiles(UpdateTarget::Software, L"1.0.0.10", L"https://h.example/sw/", folder);
    EXPECT_EQ(software.packageName, L"Software-1.0.0.10.zip");
    EXPECT_EQ(software.installerName, L"Software-1.0.0.10.exe");
    EXPECT_EQ(software.downloadUrl, L"https://h.example/sw/Software-1.0.0.10.zip");
    EXPECT_EQ(software.signatureUrl, L"https://h.example/sw/Software-1.0.0.10.zip.sig");
    EXPECT_EQ(software.packagePath, folder + L"Software-1.0.0.10.zip");
    EXPECT_EQ(software.installerPath, folder + L"Software-1.0.0.10.exe");

    const UpdateFiles firmware = MakeUpdateFiles(UpdateTarget::Firmware, L"106", L"https://h.example/fw/", folder);
    EXPECT_EQ(firmware.packageName, L"FirmwareUpdateTool-106.zip");
    EXPECT_EQ(firmware.downloadUrl, L"https://h.example/fw/FirmwareUpdateTool-106.zip");
    EXPECT_EQ(firmware.installerPath, folder + L"FirmwareUpdateTool-106.exe");

    EXPECT_EQ(VersionUrl(L"https://h.example/fw/"), L"https://h.example/fw/version");
}

}  // namespace
