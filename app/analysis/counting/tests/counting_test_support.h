#pragma once
// What the counting dialog tests share: the Chinese language library as the
// resource module, and a folder of their own.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "language_library.h"
#include "unique_temp_dir.h"

namespace counting_testing {

class LanguageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = testing_support::UniqueTempPath(std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    LanguageLibrary language_{1};
    std::filesystem::path folder;
};

}  // namespace counting_testing
