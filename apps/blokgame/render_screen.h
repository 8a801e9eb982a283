#pragma once

#include <optional>

#include "pictures.h"
#include "random.h"
#include "services.h"
#include "surface.h"
#include "title.h"

// The main window's pictures: title and game frames composed on one off-screen surface.
class RenderScreen final : public blok::Screen {
public:
    explicit RenderScreen(blok::Random& random) : random_(random) {}

    void Create(blok::Rect client) override;
    void TitleAnimationStep(int WINBREITE) override;
    void TitlePictureCycle() override;
    const blok::Surface& ComposeTitle(int WINBREITE, blok::Rect client,
                                      std::string_view caption) override;
    const blok::Surface& ComposeGame(blok::Game& game, int backgroundImage,
                                     blok::Rect client) override;
    void Release() override;

private:
    blok::Random& random_;
    const blok::Pictures* pictures_ = nullptr;
    std::optional<blok::Surface> hHiddenScreenDC_;
    blok::TitleScreen title_;
    blok::Surface none_{0, 0};  // what a released screen shows: nothing
};
