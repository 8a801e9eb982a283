#pragma once

namespace blok::qt {

// Keeps the terminal for what the program itself prints: Qt's own debug, info and warning
// messages are dropped unless BLOKFALL_DEBUG is set (and not "0"); critical and fatal ones
// still reach stderr, a fatal one after the few messages dropped just before it, which often
// explain it. Install before the QApplication exists, since Qt speaks while it starts.
void InstallQuietMessageHandler();

// When the toolkit finds no display it can open, `program` says so in one plain line and exits
// with status 1, instead of the toolkit's abort with advice to reinstall. Takes effect through
// the quiet handler: install that too.
void ExitPlainlyWithoutDisplay(const char* program);

}  // namespace blok::qt
