#pragma once

#include <gtest/gtest.h>

#include "core/manager.h"

// GDI+ (with COM and OLE) for the tests of one suite, started the library's way.
class GdiplusSuite : public testing::Test {
protected:
    static void SetUpTestSuite() { Orvik::Manager::InitGdiplus(); }
    static void TearDownTestSuite() { Orvik::Manager::UnInitGdiplus(); }
};
