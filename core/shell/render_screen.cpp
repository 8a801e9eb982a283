#include "render_screen.h"

#include "game_frame.h"

namespace blok {

void RenderScreen::Create(Rect client) {
    pictures_ = &LoadPictures();
    // Made once for the client area at creation, with room for a wider title band.
    hHiddenScreenDC_.emplace(client.Width() + kSurfaceExtraWidth, client.Height());
    ResetTitleForNewWindow(title_);
}

void RenderScreen::TitleAnimationStep(int WINBREITE) {
    blok::TitleAnimationStep(title_, random_, WINBREITE);
}

void RenderScreen::TitlePictureCycle() {
    blok::TitlePictureCycle(title_);
}

const Surface& RenderScreen::ComposeTitle(int WINBREITE, Rect client, std::string_view caption) {
    if (!hHiddenScreenDC_) return none_;
    ComposeTitleFrame(*hHiddenScreenDC_, title_, *pictures_, WINBREITE, client.Width(),
                      client.Height(), caption);
    return *hHiddenScreenDC_;
}

const Surface& RenderScreen::ComposeGame(const Game& game, int backgroundImage, Rect client) {
    if (!hHiddenScreenDC_) return none_;
    PrintGameArea(*hHiddenScreenDC_, game, *pictures_, backgroundImage, client.Width(),
                  client.Height());
    return *hHiddenScreenDC_;
}

void RenderScreen::Release() {
    hHiddenScreenDC_.reset();
}

}  // namespace blok
