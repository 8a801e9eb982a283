#pragma once

#include <memory>

#include "mci.h"

namespace blok::win32 {

// The songs play through Windows' own MCI "sequencer", which opens the file itself; the command
// layer has checked it first.
std::unique_ptr<MciDevice> MakeMciSequencer();

// The music's loudness on the MIDI output, in per cent; nothing changes until the player has
// chosen other than full loudness.
class MidiVolume {
  public:
    void Apply(int percent, bool muted);

  private:
    bool changed_ = false;
};

}  // namespace blok::win32
