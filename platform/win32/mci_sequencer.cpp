#include "mci_sequencer.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

#include "wide_text.h"

namespace blok::win32 {

namespace {

std::uint32_t Send(MCIDEVICEID device, UINT command, DWORD_PTR flags, void* parameters) {
    return static_cast<std::uint32_t>(
        mciSendCommandW(device, command, flags, reinterpret_cast<DWORD_PTR>(parameters)));
}

class SequencerSong final : public MciSong {
  public:
    explicit SequencerSong(MCIDEVICEID device) : device_(device) {}
    ~SequencerSong() override { Send(device_, MCI_CLOSE, MCI_WAIT, nullptr); }
    SequencerSong(const SequencerSong&) = delete;
    SequencerSong& operator=(const SequencerSong&) = delete;

    std::uint32_t Play(std::uint32_t fromMs) override {
        MCI_PLAY_PARMS play{};
        play.dwFrom = fromMs;
        return Send(device_, MCI_PLAY, MCI_FROM, &play);
    }

    std::uint32_t Stop() override { return Send(device_, MCI_STOP, MCI_WAIT, nullptr); }

    std::uint32_t Position(std::uint32_t& ms) override {
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_STATUS_POSITION;
        const std::uint32_t error = Send(device_, MCI_STATUS, MCI_STATUS_ITEM, &status);
        if (error == 0) ms = static_cast<std::uint32_t>(status.dwReturn);
        return error;
    }

  private:
    MCIDEVICEID device_;
};

class MciSequencer final : public MciDevice {
  public:
    // Without a file there is nothing the sequencer could open.
    std::uint32_t Open(std::shared_ptr<const MidiSong>, std::unique_ptr<MciSong>&) override {
        return MCIERR_FILENAME_REQUIRED;
    }

    std::uint32_t OpenFile(const std::string& element, std::shared_ptr<const MidiSong>,
                           std::unique_ptr<MciSong>& opened) override {
        const std::wstring file = Wide(element);
        MCI_OPEN_PARMSW open{};
        open.lpstrDeviceType = L"sequencer";
        open.lpstrElementName = file.c_str();
        if (const std::uint32_t error =
                Send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, &open)) {
            return error;
        }
        auto song = std::make_unique<SequencerSong>(open.wDeviceID);
        MCI_SET_PARMS milliseconds{};
        milliseconds.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
        if (const std::uint32_t error =
                Send(open.wDeviceID, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &milliseconds)) {
            return error;  // the song closes with `song`
        }
        opened = std::move(song);
        return 0;
    }
};

}  // namespace

std::unique_ptr<MciDevice> MakeMciSequencer() {
    return std::make_unique<MciSequencer>();
}

void MidiVolume::Apply(int percent, bool muted) {
    if (!changed_ && percent == 100 && !muted) return;
    changed_ = true;
    const auto level = static_cast<DWORD>(muted ? 0 : percent * 0xFFFF / 100);
    // Both channels; the sequencer plays through the MIDI mapper.
    midiOutSetVolume(reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(MIDI_MAPPER)),
                     level | (level << 16));
}

}  // namespace blok::win32
