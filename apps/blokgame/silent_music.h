#pragma once

#include "services.h"

// Music that never plays: the game runs as it does when no song can be started. Stands in
// until the playlist is wired.
class SilentMusic final : public blok::MusicControl {
public:
    void musicInit() override {}
    void letMusicPlay() override {}
    void musicPause() override { mpause_ = 1 - mpause_; }
    void skipSong() override {}
    void musicKill() override {}
    int mpause() const override { return mpause_; }
    int NOMUSIC() const override { return 1; }
    std::string_view CurrentCaption() const override { return {}; }

private:
    int mpause_ = 0;
};
