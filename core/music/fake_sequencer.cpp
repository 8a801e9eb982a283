#include "fake_sequencer.h"

#include <algorithm>

namespace blok {

std::uint32_t FakeSequencer::Open(std::shared_ptr<const MidiSong> /*song*/,
                                  std::unique_ptr<MciSong>& opened) {
    if (state_->failOpen != 0) return state_->failOpen;
    opened = std::make_unique<Song>(state_);
    ++state_->opened;
    return 0;
}

void FakeSequencer::Advance(std::uint32_t ms) {
    for (Song* song : state_->live) song->Advance(ms);
}

FakeSequencer::Song::Song(std::shared_ptr<State> state) : state_(std::move(state)) {
    state_->live.push_back(this);
}

FakeSequencer::Song::~Song() {
    std::erase(state_->live, this);
}

std::uint32_t FakeSequencer::Song::Play(std::uint32_t fromMs) {
    if (state_->failPlay != 0) return state_->failPlay;
    state_->playedFrom.push_back(fromMs);
    positionMs_ = fromMs;
    playing_ = true;
    return 0;
}

std::uint32_t FakeSequencer::Song::Stop() {
    if (state_->failStop != 0) return state_->failStop;
    ++state_->stops;
    playing_ = false;
    return 0;
}

std::uint32_t FakeSequencer::Song::Position(std::uint32_t& ms) {
    if (state_->failPosition != 0) return state_->failPosition;
    ms = positionMs_;
    return 0;
}

void FakeSequencer::Song::Advance(std::uint32_t ms) {
    if (playing_) positionMs_ += ms;
}

}  // namespace blok
