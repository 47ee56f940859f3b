#include <gtest/gtest.h>

#include "sprites/unitS16Handler.h"

TEST(Placeholder, Builds) { SUCCEED(); }
