#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mci.h"

namespace blok::fluid {

inline constexpr const char* kGeneralMidiSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

struct FluidSynthOptions {
    std::string soundFont = kGeneralMidiSoundFont;
    // The synthesiser's own default is too quiet beside the game; louder risks clipping.
    double gain = 0.7;
    double sampleRate = 44100.0;
    // Load every preset of the sound font rather than only those the opened songs can select:
    // the same sound, for comparing the two.
    bool wholeSoundFont = false;
    // Voices sounding at once; each costs memory whether it sounds or not. The densest of our
    // songs needs more than 160 (with fewer, notes are cut short); with 192 every song renders
    // exactly as with the synthesiser's default of 256.
    int polyphony = 192;
    // Background music needs no short latency, and every period wakes the audio thread, the
    // sound server and its own threads: 8192 frames are 186 ms at 44.1 kHz, about 5 wake-ups a
    // second (a sound server keeps about one period). Two of them where the output keeps its own
    // buffer (ALSA). The songs' timing does not suffer: the players advance with every 64
    // rendered samples; only starting, halting and seeking wait for the next period.
    int periodFrames = 8192;
    int periods = 2;
    // The player's volume, 0..1 of `gain`, followed before each block the synthesiser renders;
    // none is full volume.
    std::shared_ptr<const std::atomic<float>> volume;
};

// Which sound servers take clients in this session: a server named in the environment, or its
// socket in the user's runtime folder.
struct SoundServers {
    bool pulseAudio = false;  // PulseAudio, or PipeWire's PulseAudio service
    bool pipeWire = false;
};
SoundServers RunningSoundServers();

// The audio outputs tried in turn, among those the synthesiser offers: the sound server's own
// output where a server runs (PulseAudio first, which PipeWire desktops serve too), ALSA
// otherwise. Never "file" (it would write a WAV beside the game) nor "jack" (it may start a
// sound server); no further fallback, so that without any output the game is silent at once.
std::vector<std::string> AudioDriverOrder(SoundServers servers,
                                          const std::vector<std::string>& available);

// Sound servers show the music as the program `application` with the icon `iconName`, not as
// the synthesiser's own client; names the user set (PULSE_PROP_application.name, ...) stay.
// Changes the environment: call before any thread starts.
void NameTheMusicStream(const char* application, const char* iconName);

// What the audio output was opened with, read back from the synthesiser's settings.
struct AudioOutputSettings {
    std::string driver;
    int periodFrames = 0;
    int periods = 0;
};

// The shared synthesiser of a sequencer device (defined with it).
class FluidEngine;

// The game's "sequencer": one synthesiser with the sound font and one audio output, made at the
// first open that needs them and kept for the device's life; each open song only adds its own
// player. The song started last is the one heard: starting a song halts the one heard before.
// An open fails with an MCI error when the sound font is missing (MCIERR_CANNOT_LOAD_DRIVER)
// or no audio output can be opened (MCIERR_HARDWARE; tried again at the next open). Starting,
// halting and closing a song return at once and take effect with the next rendered block; an
// error met then (no memory for the player) is reported by the song's next command.
class FluidSynthSequencer final : public MciDevice {
  public:
    explicit FluidSynthSequencer(FluidSynthOptions options = {});
    ~FluidSynthSequencer() override;

    std::uint32_t Open(std::shared_ptr<const MidiSong> song,
                       std::unique_ptr<MciSong>& opened) override;

    // Empty until an open has found an audio output.
    std::optional<AudioOutputSettings> OutputSettings() const;

  private:
    std::shared_ptr<FluidEngine> engine_;  // the open songs share it too, so it outlives them
};

std::unique_ptr<FluidSynthSequencer> MakeFluidSynthSequencer(FluidSynthOptions options = {});

// The same synthesiser set-up without audio output: the caller pulls the samples, and the open
// songs' clocks advance with them; what the songs were told meanwhile is carried out first. For
// checking the songs, and for tests on machines without sound hardware.
class OfflineFluidSynthSequencer final : public MciDevice {
  public:
    explicit OfflineFluidSynthSequencer(FluidSynthOptions options = {});
    ~OfflineFluidSynthSequencer() override;

    std::uint32_t Open(std::shared_ptr<const MidiSong> song,
                       std::unique_ptr<MciSong>& opened) override;

    // Fills both channels (equal sizes) with what the synthesiser plays next.
    void Render(std::span<float> left, std::span<float> right);
    double sampleRate() const { return sampleRate_; }
    // How many presets the synthesiser has loaded from the sound font; 0 before the first open.
    int LoadedPresets() const;

  private:
    double sampleRate_;
    std::shared_ptr<FluidEngine> engine_;
};

}  // namespace blok::fluid
