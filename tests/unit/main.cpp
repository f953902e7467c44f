// tests/unit/main.cpp
#include <gtest/gtest.h>

#include "logview/filter.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    FilterInit();  // once, before any test thread exists, as the program does
    return RUN_ALL_TESTS();
}
