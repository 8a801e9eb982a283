#pragma once

#include <iosfwd>

namespace blok::sim {

// Runs a simulator script: reads events from `script`, prints dumps and messages to `out`.
// Returns 0, or 2 after printing "error line N: <reason>" to `err` for a malformed line.
int RunScript(std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace blok::sim
