#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

// A new folder of a random name, as no other test or run can have made it.
ScratchFolder::ScratchFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const auto name = "blokinst-test-" + std::to_string(random());
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) path_ = folder;
    }
    if (path_.empty()) ADD_FAILURE() << "cannot create a scratch folder";
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::filesystem::path& file, std::string_view contents) {
    std::ofstream out(file, std::ios::binary);
    out << contents;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}
