#include "title.h"

#include "game_frame.h"

namespace blok {

namespace {

constexpr int kStart = 500;
constexpr int kLogoWrap = -410;
constexpr int kBannerWrap = -820;
constexpr int kSpriteWrap = -427;
constexpr int kBannerBottom = 231;
constexpr int kZoomCentreY = 115;
constexpr int kCaptionTop = 100;
constexpr Color kCaptionColor = Rgb(255, 255, 0);

void DrawZoomPicture(Surface& dc, TitleScreen& title, const Picture& card, int WINBREITE) {
    // Single-precision product truncated toward zero: 199 x 149 on the 50th step, full size
    // from the 51st.
    title.sx = static_cast<int>(static_cast<float>(card.width) * title.picfak);
    title.sy = static_cast<int>(static_cast<float>(card.height) * title.picfak);
    dc.StretchBlt(WINBREITE / 2 - title.sx / 2, kZoomCentreY - title.sy / 2, title.sx, title.sy,
                  card.View(), 0, 0, card.width, card.height, RasterOp::Copy);
}

void DrawCaption(Surface& dc, std::string_view caption, int WINBREITE) {
    const Color oldColor = dc.SetTextColor(kCaptionColor);
    const BkMode oldMode = dc.SetBkMode(BkMode::Transparent);
    dc.TextOut(WINBREITE / 2 - dc.TextWidth(caption) / 2, kCaptionTop, caption);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
}

// Moves the sprite one pixel; past the left edge the other sprite starts at the right.
void DrawSprite(Surface& dc, TitleScreen& title, const Pictures& pictures) {
    title.duckx -= 1;
    if (title.duckx < kSpriteWrap) {
        title.whichbmp = 1 - title.whichbmp;
        title.duckx = kStart;
    }
    if (title.whichbmp == 1) {
        dc.StretchBlt(title.duckx, 75, 200, 50, pictures.duckybmp.View(), 0, 0, 200, 50,
                      RasterOp::Paint);
    } else {
        dc.StretchBlt(title.duckx, 40, 426, 122, pictures.titanbmp.View(), 0, 0, 426, 122,
                      RasterOp::Paint);
    }
}

}  // namespace

void ResetTitleForNewWindow(TitleScreen& title) {
    title.blkbmpx = kStart;
    title.forbmpx = kStart;
    title.x = 0;
    title.picfak = 0.0f;
    title.duckx = kStart;
    InitStars(title.Stars.data());
}

void TitleAnimationStep(TitleScreen& title, Random& rng, int WINBREITE) {
    title.blkbmpx -= 2;
    title.forbmpx -= 1;
    if (title.blkbmpx < kLogoWrap) title.blkbmpx = kStart;
    if (title.forbmpx < kBannerWrap) title.forbmpx = kStart;
    // The step is added at double precision and only the sum is rounded to the factor's single
    // precision; a float step of 0.02f drifts, and some zoom sizes come out a pixel short.
    title.picfak = static_cast<float>(static_cast<double>(title.picfak) + 0.02);
    if (title.picfak > 1.0f) title.picfak = 1.0f;
    MoveStars(title.Stars.data(), WINBREITE, rng);
}

void TitlePictureCycle(TitleScreen& title) {
    title.x += 1;
    if (title.x > 2) title.x = 1;
}

void ComposeTitleFrame(Surface& hHiddenScreenDC, TitleScreen& title, const Pictures& pictures,
                       int WINBREITE, int clientWidth, int clientHeight,
                       std::string_view caption) {
    Surface& dc = hHiddenScreenDC;
    dc.FillRect(0, 0, clientWidth, clientHeight, hBlack);
    const Picture& logo = pictures.blkbmp;
    const Picture& banner = pictures.forbmp;
    dc.BitBlt(title.blkbmpx, 0, logo.width, logo.height, logo.View(), 0, 0, RasterOp::Copy);
    dc.BitBlt(title.forbmpx, kBannerBottom - banner.height, banner.width, banner.height,
              banner.View(), 0, 0, RasterOp::Copy);
    dc.BitBlt(0, 0, 40, 40, pictures.spiderbmp.View(), 0, 0, RasterOp::Paint);
    PlotStars(dc, title.Stars.data());
    if (title.x == 0) {
        DrawZoomPicture(dc, title, pictures.hbmp, WINBREITE);
    } else if (!caption.empty()) {
        DrawCaption(dc, caption, WINBREITE);
    }
    DrawSprite(dc, title, pictures);
}

}  // namespace blok
