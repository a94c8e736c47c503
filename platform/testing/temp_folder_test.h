#pragma once
// A test fixture with a folder of its own under the temporary directory,
// named for the test and the process, removed with everything in it after
// the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "unique_temp_dir.h"

namespace testing_support {

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = UniqueTempPath(std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

}  // namespace testing_support
