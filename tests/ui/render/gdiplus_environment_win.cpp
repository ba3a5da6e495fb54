#include <gtest/gtest.h>

#include "core/manager.h"

namespace {

// GDI+, COM and OLE for the whole test program, and the program's module for
// numbered resources, as the program sets them up before its first window.
class LibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Orvik::Manager::InitGdiplus();
        Orvik::Manager::SetInstance(::GetModuleHandleW(nullptr));
    }
    void TearDown() override { Orvik::Manager::UnInitGdiplus(); }
};

[[maybe_unused]] const auto* const environment = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

}  // namespace
