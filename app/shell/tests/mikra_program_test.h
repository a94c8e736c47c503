#pragma once
// A test case of the real Mikra.exe run from a program folder of its own: a
// fresh copy made by UseFreshProgram, the program ended and the folder
// removed after each case.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "mikra_process.h"

class MikraProgramTest : public ::testing::Test {
protected:
    void UseFreshProgram(const std::wstring& name) {
        folder_ = CopyProgramToFreshFolder(name);
        mikra_.SetProgramFolder(folder_.wstring() + L"\\");
    }
    void TearDown() override {
        mikra_.Kill();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path folder_;
    MikraProcess mikra_;
};
