#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/AtomicFile.h"

namespace testutil {

class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        path_ = std::filesystem::temp_directory_path() /
                ("quenlo-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

    std::string Read(const std::string& name) const {
        std::string content;
        EXPECT_TRUE(platform::ReadWholeFile(path_ / name, content)) << name;
        return content;
    }
    void Write(const std::string& name, const std::string& content) const {
        ASSERT_TRUE(platform::ReplaceFileAtomically(path_ / name, content)) << name;
    }

private:
    std::filesystem::path path_;
};

}  // namespace testutil
