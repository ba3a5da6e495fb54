#include "core/mobject.h"

#include <gtest/gtest.h>

namespace {

class Named : public Orvik::MObject {
public:
    const wchar_t* GetClassNameW() const override { return L"MDialog"; }
};

TEST(MObject, IsClassComparesTheWholeNameCaseSensitively) {
    const Named named;
    struct Case {
        const wchar_t* asked;
        int expected;
    };
    for (const Case& c : {Case{L"MDialog", 1}, Case{L"mdialog", 0}, Case{L"MDIALOG", 0}, Case{L"MDialo", 0},
                          Case{L"MDialogX", 0}, Case{L"", 0}, Case{nullptr, 0}}) {
        EXPECT_EQ(named.IsClass(c.asked), c.expected) << (c.asked ? c.asked : L"(null)");
    }
}

TEST(MObject, AnObjectWithoutAClassNameIsNoClass) {
    const Orvik::MObject plain;
    EXPECT_EQ(plain.IsClass(L"MObject"), 0);
    EXPECT_EQ(plain.IsClass(L""), 0);
}

}  // namespace
