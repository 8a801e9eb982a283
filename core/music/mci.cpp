#include "mci.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "mci_error.h"

namespace blok {
namespace {

bool SameTypeName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

Mci::Mci(std::unique_ptr<MciDevice> sequencer) : sequencer_(std::move(sequencer)) {}

Mci::~Mci() = default;

std::uint32_t Mci::Open(std::string_view deviceType, const std::string& element,
                        std::uint32_t& deviceId) {
    if (!sequencer_ || !SameTypeName(deviceType, kSequencerDeviceType))
        return MCIERR_INVALID_DEVICE_NAME;
    if (element.empty()) return MCIERR_FILENAME_REQUIRED;
    try {
        auto song = std::make_shared<MidiSong>();
        if (const std::uint32_t error = LoadMidiFile(element, *song); error != 0) return error;
        OpenDevice device;
        device.lengthMs = song->LengthMilliseconds();
        device.song = std::move(song);
        if (const std::uint32_t error = sequencer_->OpenFile(element, device.song, device.playback);
            error != 0)
            return error;
        if (!device.playback) return MCIERR_DRIVER_INTERNAL;
        const std::uint32_t id = NextFreeId();
        devices_.emplace(id, std::move(device));
        deviceId = id;
        return 0;
    } catch (const std::bad_alloc&) {
        return MCIERR_OUT_OF_MEMORY;
    }
}

std::uint32_t Mci::Close(std::uint32_t deviceId) {
    return devices_.erase(deviceId) == 1 ? 0 : MCIERR_INVALID_DEVICE_ID;
}

std::uint32_t Mci::Play(std::uint32_t deviceId, std::uint32_t from) {
    OpenDevice* device = Find(deviceId);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    if (from > device->lengthMs) return MCIERR_OUTOFRANGE;
    return device->playback->Play(from);
}

std::uint32_t Mci::Stop(std::uint32_t deviceId) {
    OpenDevice* device = Find(deviceId);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    return device->playback->Stop();
}

std::uint32_t Mci::Status(std::uint32_t deviceId, MciStatusItem item, std::uint32_t& value) {
    OpenDevice* device = Find(deviceId);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    switch (item) {
        case MciStatusItem::Length:
            value = device->lengthMs;
            return 0;
        case MciStatusItem::Position: {
            std::uint32_t ms = 0;
            if (const std::uint32_t error = device->playback->Position(ms); error != 0)
                return error;
            // The sequencer's clock runs on a little past the last note; a position beyond the
            // end would make a resume from it out of range.
            value = std::min(ms, device->lengthMs);
            return 0;
        }
    }
    return MCIERR_UNRECOGNIZED_COMMAND;
}

Mci::OpenDevice* Mci::Find(std::uint32_t deviceId) {
    const auto found = devices_.find(deviceId);
    return found == devices_.end() ? nullptr : &found->second;
}

// Ids are not reused at once, so a stale id of a closed song does not reach its successor.
std::uint32_t Mci::NextFreeId() {
    do {
        ++lastId_;
    } while (lastId_ == 0 || devices_.contains(lastId_));
    return lastId_;
}

}  // namespace blok
