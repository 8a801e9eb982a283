#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "mci.h"

namespace blok {

inline constexpr const char* kGeneralMidiSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

struct FluidSynthOptions {
    std::string soundFont = kGeneralMidiSoundFont;
    // The synthesiser's own default is too quiet beside the game; louder risks clipping.
    double gain = 0.7;
    double sampleRate = 44100.0;
};

// The game's "sequencer": every open song gets its own synthesiser, player and audio output,
// so closing a song frees everything it used. The open fails at once with an MCI error when the
// sound font is missing (MCIERR_CANNOT_LOAD_DRIVER) or no audio output can be opened
// (MCIERR_HARDWARE). FluidSynth's audio thread only ever touches its own synthesiser.
std::unique_ptr<MciDevice> MakeFluidSynthSequencer(FluidSynthOptions options = {});

// The same synthesiser set-up without audio output: the caller pulls the samples, and the open
// songs' clocks advance with them. For checking the songs, and for tests on machines without
// sound hardware.
class OfflineFluidSynthSequencer final : public MciDevice {
public:
    explicit OfflineFluidSynthSequencer(FluidSynthOptions options = {});
    ~OfflineFluidSynthSequencer() override;

    std::uint32_t Open(std::shared_ptr<const MidiSong> song, std::unique_ptr<MciSong>& opened) override;

    // Fills both channels (equal sizes) with the mix of all open songs.
    void Render(std::span<float> left, std::span<float> right);
    double sampleRate() const { return options_.sampleRate; }

    struct Songs;

private:
    FluidSynthOptions options_;
    std::shared_ptr<Songs> songs_;
};

}  // namespace blok
