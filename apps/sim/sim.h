#pragma once

#include <iosfwd>

namespace blok::sim {

// Runs a simulator script: reads events from `script`, prints dumps and messages to `out`.
//
// Besides the game's events a script can ask for pictures of the game window, whose client area
// is taken to be the whole game frame (kGameFrameWidth x kGameFrameHeight):
//   background picture|white   the game type's picture (the default) or plain white
//   frame FILE                 paints as the window would (a pending game starts, shown blast
//                              markers are cleared) and writes the frame to FILE as binary PPM;
//                              outside a game nothing is composed and FILE gets the last frame
//                              composed, black if there was none
// `paint` composes the same frame without writing it.
//   computer P LEVEL           from the next `start` on, player P (1 or 2) is the computer at
//                              LEVEL (easy, normal or hard; off gives the side back to keys);
//                              it makes its requests at each `input` line, as the key poll
//                              reads them, and the keys named there for its side are ignored;
//                              beside a computer player 2, left1..down1 are the one-player keys
// Returns 0; 2 after printing "error line N: <reason>" to `err` for a malformed line or one
// longer than 64 KiB (script text in reasons shows control bytes as \xNN); 1 after a message
// when `out` cannot be written.
int RunScript(std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace blok::sim
