#pragma once

#include <cstdint>

#include "mci.h"

namespace blok {

// One MIDI song on an open "sequencer" device: play, pause, resume, rewind and the end query.
// Every command's result is an MCI error value (0 = success), kept in dwError where recorded.
class MciMidi {
  public:
    // Opens the file and reads its length. A failed open leaves wDeviceID 0 and its error in
    // dwError; the first Play then fails too.
    MciMidi(Mci& mci, const char* filename);
    ~MciMidi();
    MciMidi(const MciMidi&) = delete;
    MciMidi& operator=(const MciMidi&) = delete;

    // Plays from dwPosition to the end. On failure the device is closed at once.
    int Play();
    // Both halt the song and make where it stopped the resume position; dwError then holds
    // the result of reading that position.
    int Pause();
    int Stop();
    // The next Play starts from the beginning.
    void Reset();
    // *query = 1 once the position has reached dwLength, else 0. A song whose position cannot
    // be read (its device was closed by a failed resume) counts as done, so that the playlist
    // moves on instead of waiting forever.
    int IsDone(std::uint32_t* query);
    // Reads the position into *dwPos; on failure *dwPos is left as it was.
    int GetPosition(std::uint32_t* dwPos);
    const char* GetErrorString() const;

    std::uint32_t wDeviceID = 0;
    std::uint32_t dwError = 0;
    std::uint32_t dwPosition = 0;
    std::uint32_t dwLength = 0;

  private:
    int StopAndRemember();

    Mci& mci_;
};

}  // namespace blok
