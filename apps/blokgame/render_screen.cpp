#include "render_screen.h"

#include "game_frame.h"

void RenderScreen::Create(blok::Rect client) {
    pictures_ = &blok::LoadPictures();
    // Made once for the client area at creation, with room for a wider title band.
    hHiddenScreenDC_.emplace(client.Width() + 100, client.Height());
    blok::ResetTitleForNewWindow(title_);
}

void RenderScreen::TitleAnimationStep(int WINBREITE) {
    blok::TitleAnimationStep(title_, random_, WINBREITE);
}

void RenderScreen::TitlePictureCycle() { blok::TitlePictureCycle(title_); }

const blok::Surface& RenderScreen::ComposeTitle(int WINBREITE, blok::Rect client,
                                                std::string_view caption) {
    if (!hHiddenScreenDC_) return none_;
    blok::ComposeTitleFrame(*hHiddenScreenDC_, title_, *pictures_, WINBREITE, client.Width(),
                            client.Height(), caption);
    return *hHiddenScreenDC_;
}

const blok::Surface& RenderScreen::ComposeGame(blok::Game& game, int backgroundImage,
                                               blok::Rect client) {
    if (!hHiddenScreenDC_) return none_;
    blok::PrintGameArea(*hHiddenScreenDC_, game, *pictures_, backgroundImage, client.Width(),
                        client.Height());
    return *hHiddenScreenDC_;
}

void RenderScreen::Release() { hHiddenScreenDC_.reset(); }
