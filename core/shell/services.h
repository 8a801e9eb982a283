#pragma once

#include <cstdint>
#include <string_view>

#include "platform.h"

namespace blok {

class Surface;
struct Game;

// The pictures of the main window: title screen and game frames, composed off screen.
class Screen {
  public:
    virtual ~Screen() = default;
    // Window creation: pictures decoded, the off-screen surface made for this client area
    // (client width + 100 by client height) and the title animation set to its start values.
    virtual void Create(Rect client) = 0;
    // The 60 ms title step without its repaint request, and the 9 s picture cycle.
    virtual void TitleAnimationStep(int WINBREITE) = 0;
    virtual void TitlePictureCycle() = 0;
    // Composes a frame and returns the surface to present. An empty caption draws none.
    virtual const Surface& ComposeTitle(int WINBREITE, Rect client, std::string_view caption) = 0;
    virtual const Surface& ComposeGame(const Game& game, int backgroundImage, Rect client) = 0;
    // Shutdown: surfaces released.
    virtual void Release() = 0;
};

// The high-score table with its file and its dialogs.
class HiscoreBook {
  public:
    virtual ~HiscoreBook() = default;
    virtual void Load() = 0;
    virtual void Save() = 0;
    // True when CheckPlayer1Hiscore would open the name dialog for this score.
    virtual bool WouldEnter(std::uint32_t /*Up1Points*/, int /*noScore*/) const { return false; }
    // Offers a finished game's score: may run the name dialog and then the table, modally.
    virtual void CheckPlayer1Hiscore(std::uint32_t Up1Points, int noScore) = 0;
    // The table dialog, modal; a running game goes on behind it.
    virtual void ShowScore() = 0;
};

// The background music: the playlist's procedures and the state the shell reads.
class MusicControl {
  public:
    virtual ~MusicControl() = default;
    virtual void musicInit() = 0;
    virtual void letMusicPlay() = 0;
    virtual void musicPause() = 0;
    virtual void skipSong() = 0;
    virtual void musicKill() = 0;
    // The player has paused the music.
    virtual bool Paused() const = 0;
    // The current song could not be started: nothing plays.
    virtual bool Silent() const = 0;
    // The caption of the current song ("Now Playing: ..."), empty when none is chosen.
    virtual std::string_view CurrentCaption() const = 0;
};

}  // namespace blok
