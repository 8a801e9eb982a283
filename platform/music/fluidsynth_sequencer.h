#pragma once

#include <atomic>
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
    // The player's volume, 0..1 of `gain`, followed before each block the synthesiser renders;
    // none is full volume.
    std::shared_ptr<const std::atomic<float>> volume;
};

// The shared synthesiser of a sequencer device (defined with it).
class FluidEngine;

// The game's "sequencer": one synthesiser with the sound font and one audio output, made at the
// first open that needs them and kept for the device's life; each open song only adds its own
// player. The song started last is the one heard: starting a song halts the one heard before.
// An open fails with an MCI error when the sound font is missing (MCIERR_CANNOT_LOAD_DRIVER)
// or no audio output can be opened (MCIERR_HARDWARE; tried again at the next open).
std::unique_ptr<MciDevice> MakeFluidSynthSequencer(FluidSynthOptions options = {});

// The same synthesiser set-up without audio output: the caller pulls the samples, and the open
// songs' clocks advance with them. For checking the songs, and for tests on machines without
// sound hardware.
class OfflineFluidSynthSequencer final : public MciDevice {
public:
    explicit OfflineFluidSynthSequencer(FluidSynthOptions options = {});
    ~OfflineFluidSynthSequencer() override;

    std::uint32_t Open(std::shared_ptr<const MidiSong> song, std::unique_ptr<MciSong>& opened) override;

    // Fills both channels (equal sizes) with what the synthesiser plays next.
    void Render(std::span<float> left, std::span<float> right);
    double sampleRate() const { return sampleRate_; }

private:
    double sampleRate_;
    std::shared_ptr<FluidEngine> engine_;
};

}  // namespace blok
