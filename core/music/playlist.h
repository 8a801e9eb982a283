#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

#include "mci_midi.h"
#include "random.h"
#include "services.h"

namespace blok {

inline constexpr int kMusicRows = 30;
inline constexpr std::size_t kCaptionSize = 60;  // 59 characters and a terminator
inline constexpr int kSongCount = 19;

// The title screen's caption of each song: row n belongs to music/<n+1>.mid. The songs are
// made by tools/songs/make_songs.py; keep the two lists in the same order.
extern const std::array<std::string_view, kMusicRows> musicInfo;

// The background music: songs music/1.mid .. music/<maxmusic>.mid in the game's folder (relative
// to the working directory when the folder is empty), played one at a time in a shuffled order
// that repeats none until all have played. Everything runs on the caller's thread.
class Playlist {
  public:
    Playlist(Mci& mci, Random& rng, std::filesystem::path gameFolder);
    ~Playlist();
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    // Forgets the current song; plays nothing.
    void musicInit();
    // The periodic step: starts the first song, and the next one once the current has ended.
    // A song whose end query fails (its device closed after a failed resume) counts as ended.
    void letMusicPlay();
    // Picks a song not yet played in this cycle, opens and starts it; NOMUSIC tells whether
    // the start failed.
    void getNewSong();
    // Halts the song where it is, or resumes it there.
    void musicPause();
    // Ends the current song and starts another; also the way out after a failed start.
    void skipSong();
    // Ends the music for good; harmless when no song was ever opened.
    void musicKill();

    // The caption of the current song, empty before the first choice.
    std::string_view CurrentCaption() const;

    int NOMUSIC = 0;
    int mpause = 0;
    int maxmusic = kSongCount;
    std::unique_ptr<MciMidi> music;
    std::uint32_t test = 0;
    // Songs started in the current cycle; carried from run to run by the high-score file.
    std::array<int, kMusicRows> stillPlayed{};
    int akt = 0;

  private:
    void EndSong();

    Mci& mci_;
    Random& rng_;
    std::filesystem::path gameFolder_;
};

// The playlist as the game's window logic drives it.
class PlaylistMusic final : public MusicControl {
  public:
    explicit PlaylistMusic(Playlist& playlist) : playlist_(playlist) {}

    void musicInit() override { playlist_.musicInit(); }
    void letMusicPlay() override { playlist_.letMusicPlay(); }
    void musicPause() override { playlist_.musicPause(); }
    void skipSong() override { playlist_.skipSong(); }
    void musicKill() override { playlist_.musicKill(); }
    bool Paused() const override { return playlist_.mpause == 1; }
    bool Silent() const override { return playlist_.NOMUSIC != 0; }
    std::string_view CurrentCaption() const override { return playlist_.CurrentCaption(); }

  private:
    Playlist& playlist_;
};

}  // namespace blok
