#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "services.h"
#include "surface.h"
#include "virtual_platform.h"

namespace blok {

// Records what the shell asks to be drawn; the frames are blank surfaces of the real size.
class FakeScreen : public Screen {
  public:
    explicit FakeScreen(CallLog& log) : log_(log) {}

    void Create(Rect client) override {
        log_.Add("Screen.Create " + std::to_string(client.Width()) + "x" +
                 std::to_string(client.Height()));
        surface_ = Surface(client.Width() + kSurfaceExtraWidth, client.Height());
    }
    void TitleAnimationStep(int WINBREITE) override {
        ++titleSteps;
        lastStepWidth = WINBREITE;
    }
    void TitlePictureCycle() override { ++pictureCycles; }
    const Surface& ComposeTitle(int WINBREITE, Rect, std::string_view caption) override {
        ++titleFrames;
        lastTitleWidth = WINBREITE;
        lastCaption = std::string(caption);
        return surface_;
    }
    const Surface& ComposeGame(const Game&, int backgroundImage, Rect) override {
        ++gameFrames;
        lastBackground = backgroundImage;
        return surface_;
    }
    void Release() override {
        log_.Add("Screen.Release");
        ++releases;
    }

    int titleSteps = 0;
    int lastStepWidth = 0;
    int pictureCycles = 0;
    int titleFrames = 0;
    int lastTitleWidth = 0;
    std::string lastCaption;
    int gameFrames = 0;
    int lastBackground = -1;
    int releases = 0;

  private:
    CallLog& log_;
    Surface surface_{0, 0};
};

class FakeHiscoreBook : public HiscoreBook {
  public:
    struct Offer {
        std::uint32_t points;
        int noScore;
        int statusDuringCheck;
    };

    explicit FakeHiscoreBook(CallLog& log) : log_(log) {}

    void Load() override { log_.Add("Hiscore.Load"); }
    void Save() override {
        log_.Add("Hiscore.Save");
        ++saves;
    }
    bool WouldEnter(std::uint32_t, int) const override { return entering; }
    void CheckPlayer1Hiscore(std::uint32_t Up1Points, int noScore) override {
        log_.Add("Hiscore.Check");
        offers.push_back({Up1Points, noScore, status ? status() : 0});
        if (whileChecking) whileChecking();
    }
    void ShowScore() override { ++tablesShown; }

    std::vector<Offer> offers;
    int saves = 0;
    int tablesShown = 0;
    bool entering = false;                // the score offered asks for a name
    std::function<int()> status;          // reads the game status during the check
    std::function<void()> whileChecking;  // what happens while the name dialog is open

  private:
    CallLog& log_;
};

// A playlist that only remembers; `stop` reads the game's STOP flag during each call.
class FakeMusic : public MusicControl {
  public:
    explicit FakeMusic(CallLog& log) : log_(log) {}

    void musicInit() override { log_.Add("Music.musicInit"); }
    void letMusicPlay() override {
        log_.Add("Music.letMusicPlay");
        stopDuringPlay.push_back(stop ? stop() : -1);
    }
    void musicPause() override {
        ++pauseToggles;
        mpauseValue = 1 - mpauseValue;
    }
    void skipSong() override {
        ++skips;
        stopDuringSkip.push_back(stop ? stop() : -1);
    }
    void musicKill() override {
        log_.Add("Music.musicKill");
        ++kills;
    }
    bool Paused() const override { return mpauseValue == 1; }
    bool Silent() const override { return nomusicValue != 0; }
    std::string_view CurrentCaption() const override { return caption; }

    int mpauseValue = 0;
    int nomusicValue = 0;
    std::string caption = "Now Playing: Song 7";
    int pauseToggles = 0;
    int skips = 0;
    int kills = 0;
    std::vector<int> stopDuringPlay;
    std::vector<int> stopDuringSkip;
    std::function<int()> stop;

  private:
    CallLog& log_;
};

}  // namespace blok
