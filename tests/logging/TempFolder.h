#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fixture with a fresh folder of its own, removed afterwards.
class TempFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvlogging-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }

    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string pathOf(const std::string& name) const { return (dir_ / name).string(); }

    static std::string readFile(const std::string& path)
    {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path dir_;
};
