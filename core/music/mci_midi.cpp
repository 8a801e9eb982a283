#include "mci_midi.h"

#include "mci_error.h"

namespace blok {

MciMidi::MciMidi(Mci& mci, const char* filename) : mci_(mci) {
    std::uint32_t id = 0;
    dwError = mci_.Open(kSequencerDeviceType, filename ? filename : "", id);
    if (dwError == 0) wDeviceID = id;
    // Not recorded: after a failed open this asks device 0, fails and leaves the length 0.
    mci_.Status(wDeviceID, MciStatusItem::Length, dwLength);
}

MciMidi::~MciMidi() {
    mci_.Close(wDeviceID);
}

int MciMidi::Play() {
    dwError = mci_.Play(wDeviceID, dwPosition);
    if (dwError != 0) mci_.Close(wDeviceID);
    return static_cast<int>(dwError);
}

int MciMidi::Pause() {
    return StopAndRemember();
}

int MciMidi::Stop() {
    return StopAndRemember();
}

int MciMidi::StopAndRemember() {
    dwError = mci_.Stop(wDeviceID);
    return GetPosition(&dwPosition);
}

void MciMidi::Reset() {
    dwPosition = 0;
}

int MciMidi::IsDone(std::uint32_t* query) {
    std::uint32_t position = 0;
    GetPosition(&position);
    *query = (dwError != 0 || position >= dwLength) ? 1u : 0u;
    return static_cast<int>(dwError);
}

int MciMidi::GetPosition(std::uint32_t* dwPos) {
    std::uint32_t position = 0;
    dwError = mci_.Status(wDeviceID, MciStatusItem::Position, position);
    if (dwError == 0) *dwPos = position;
    return static_cast<int>(dwError);
}

const char* MciMidi::GetErrorString() const {
    return GetError(static_cast<std::uint16_t>(dwError & 0xFFFFu));
}

}  // namespace blok
