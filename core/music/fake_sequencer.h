#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mci.h"

namespace blok {

// A sequencer without sound for tests: songs advance only when the virtual clock does, and
// failures can be arranged. Like the real synthesiser's clock, a playing song's position runs
// on past its end. The state outlives the device, so a test may keep reading it.
class FakeSequencer final : public MciDevice {
  public:
    class Song;

    struct State {
        // Non-zero: every following open, play or position read fails with this error.
        std::uint32_t failOpen = 0;
        std::uint32_t failPlay = 0;
        std::uint32_t failStop = 0;
        std::uint32_t failPosition = 0;

        int opened = 0;
        std::vector<std::uint32_t> playedFrom;
        int stops = 0;
        std::vector<Song*> live;  // songs not yet closed
    };

    FakeSequencer() : state_(std::make_shared<State>()) {}

    std::uint32_t Open(std::shared_ptr<const MidiSong> song,
                       std::unique_ptr<MciSong>& opened) override;

    // Moves the virtual clock on; playing songs advance with it.
    void Advance(std::uint32_t ms);

    State& state() { return *state_; }
    std::shared_ptr<State> SharedState() const { return state_; }

  private:
    std::shared_ptr<State> state_;
};

class FakeSequencer::Song final : public MciSong {
  public:
    explicit Song(std::shared_ptr<State> state);
    ~Song() override;

    std::uint32_t Play(std::uint32_t fromMs) override;
    std::uint32_t Stop() override;
    std::uint32_t Position(std::uint32_t& ms) override;

    void Advance(std::uint32_t ms);
    bool playing() const { return playing_; }

  private:
    std::shared_ptr<State> state_;
    std::uint32_t positionMs_ = 0;
    bool playing_ = false;
};

}  // namespace blok
