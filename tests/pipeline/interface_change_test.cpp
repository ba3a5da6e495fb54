#include "pipeline/interface_change.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kVendorCollection[] =
    L"\\\\?\\HID#VID_1A2C&PID_4984&MI_00&Col01#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
constexpr wchar_t kUsbDevice[] = L"\\\\?\\USB#VID_1A2C&PID_4984#0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
constexpr wchar_t kLowerCase[] =
    L"\\\\?\\hid#vid_1a2c&pid_4984&col01#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
constexpr wchar_t kUsbStick[] =
    L"\\\\?\\USBSTOR#Disk&Ven_Generic&Prod_Flash#123&0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";
constexpr wchar_t kOtherProduct[] = L"\\\\?\\HID#VID_1A2C&PID_4985#1#{4d1e55b2-f16f-11cf-88cb-001111000030}";

TEST(IsDisplayInterfacePath, MatchesTheIdsInAnyCase) {
    EXPECT_TRUE(IsDisplayInterfacePath(kVendorCollection));
    EXPECT_TRUE(IsDisplayInterfacePath(kUsbDevice));
    EXPECT_TRUE(IsDisplayInterfacePath(kLowerCase));
    EXPECT_TRUE(IsDisplayInterfacePath(L"Vid_1a2C&pId_4984"));
    EXPECT_FALSE(IsDisplayInterfacePath(kUsbStick));
    EXPECT_FALSE(IsDisplayInterfacePath(kOtherProduct));
    EXPECT_FALSE(IsDisplayInterfacePath(L"VID_1A2C PID_4984"));
    EXPECT_FALSE(IsDisplayInterfacePath(L""));
}

TEST(ScansForInterfaceChange, CountsScansPerEvent) {
    int asked = 0;
    auto vendorOnlyCol01 = [&](std::wstring_view path) {
        ++asked;
        return std::wstring(path).find(L"ol01") != std::wstring::npos;
    };
    const struct {
        InterfaceEvent event;
        const wchar_t* path;
        int scans;
        int asks;
    } cases[] = {
        {InterfaceEvent::Arrival, kVendorCollection, 2, 1},
        {InterfaceEvent::Arrival, kLowerCase, 2, 1},
        {InterfaceEvent::Arrival, kUsbDevice, 1, 1},
        {InterfaceEvent::RemoveComplete, kVendorCollection, 1, 0},
        {InterfaceEvent::RemoveComplete, kUsbDevice, 1, 0},
        {InterfaceEvent::Arrival, kUsbStick, 0, 0},
        {InterfaceEvent::RemoveComplete, kOtherProduct, 0, 0},
    };
    for (const auto& c : cases) {
        asked = 0;
        EXPECT_EQ(ScansForInterfaceChange(c.event, c.path, vendorOnlyCol01), c.scans) << std::wstring(c.path).size();
        EXPECT_EQ(asked, c.asks);
    }
}

}  // namespace
