#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "blokinst-test-XXXXXX").string();
    if (!mkdtemp(name.data())) ADD_FAILURE() << "cannot create a scratch folder";
    path_ = name;
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
