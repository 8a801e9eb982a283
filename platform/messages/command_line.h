#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace blok::qt {

// The command as the user typed it, for usage lines: the launcher's name when the launcher
// started the program (it passes it in BLOKFALL_COMMAND), else the base name of argv[0].
std::string CommandName(const char* argv0);

// Answers `--help` or `-h` (the usage on standard output) and `--version` ("<product>
// <version>") when given as the only argument, before any window is needed; the exit status
// then, or nothing for every other command line.
std::optional<int> AnswerHelpOrVersion(int argc, char** argv, std::string_view usage,
                                       std::string_view product);

}  // namespace blok::qt
