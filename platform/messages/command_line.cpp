#include "command_line.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace blok::qt {

std::string CommandName(const char* argv0) {
    const char* launcher = std::getenv("BLOKFALL_COMMAND");
    if (launcher != nullptr && *launcher != '\0') return launcher;
    if (argv0 == nullptr || *argv0 == '\0') return "Blokfall";
    return std::filesystem::path(argv0).filename().string();
}

std::optional<int> AnswerHelpOrVersion(int argc, char** argv, std::string_view usage,
                                       std::string_view product) {
    if (argc != 2) return std::nullopt;
    const std::string_view option = argv[1];
    if (option == "--help" || option == "-h") {
        std::fwrite(usage.data(), 1, usage.size(), stdout);
    } else if (option == "--version") {
        std::printf("%.*s %s\n", static_cast<int>(product.size()), product.data(), BLOK_VERSION);
    } else {
        return std::nullopt;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace blok::qt
