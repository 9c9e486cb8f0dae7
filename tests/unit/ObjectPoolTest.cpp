#include <gtest/gtest.h>
#include "engine/core/HvObjectPool.h"
TEST(Pool, Empty) { HvObjectPool p("x"); EXPECT_TRUE(p.Update()); }
