#include "render_screen.h"

#include "game_frame.h"

namespace blok {

void RenderScreen::Create(Rect client) {
    pictures_ = &LoadPictures();
    // Made once for the client area at creation, with room for a wider title band.
    const int width = client.Width() + kSurfaceExtraWidth;
    hHiddenScreenDC_.emplace(width, client.Height(),
                             lender_ ? lender_(width, client.Height()) : nullptr);
    ResetTitleForNewWindow(title_);
    titleTrace_ = TitleTrace{};
}

void RenderScreen::TitleAnimationStep(int WINBREITE) {
    blok::TitleAnimationStep(title_, random_, WINBREITE);
}

void RenderScreen::TitlePictureCycle() {
    blok::TitlePictureCycle(title_);
}

const Surface& RenderScreen::ComposeTitle(int WINBREITE, Rect client, std::string_view caption) {
    if (!hHiddenScreenDC_) return none_;
    UpdateTitleFrame(*hHiddenScreenDC_, titleTrace_, title_, *pictures_, WINBREITE, client.Width(),
                     client.Height(), caption);
    return *hHiddenScreenDC_;
}

const Surface& RenderScreen::ComposeGame(const Game& game, int backgroundImage, Rect client) {
    if (!hHiddenScreenDC_) return none_;
    titleTrace_.valid = false;  // the game frame draws over the title's black
    if (backgroundImage != 0)
        if (const auto background = GameBackground(game.iGameStatus)) LoadBackground(background);
    PrintGameArea(*hHiddenScreenDC_, game, *pictures_, backgroundImage, client.Width(),
                  client.Height());
    return *hHiddenScreenDC_;
}

void RenderScreen::Release() {
    hHiddenScreenDC_.reset();
    titleTrace_ = TitleTrace{};
}

}  // namespace blok
