#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

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
    // The files that `name` (a path inside the folder) was moved aside to.
    std::vector<std::filesystem::path> SetAside(const std::string& name) const {
        const std::filesystem::path file = path_ / name;
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
            if (entry.path().filename().string().starts_with(file.filename().string() + ".bad-"))
                found.push_back(entry.path());
        return found;
    }

private:
    std::filesystem::path path_;
};

}  // namespace testutil
