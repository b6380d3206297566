#include <gtest/gtest.h>

#include "version.h"

TEST(Version, IsDottedNumber)
{
    EXPECT_NE(tarvex::Version().find('.'), std::string_view::npos);
}
