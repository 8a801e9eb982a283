#include "title.h"

#include <algorithm>

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
constexpr int kCaptionMargin = 4;  // kept free at either side of the visible band
constexpr Color kCaptionColor = Rgb(255, 255, 0);
constexpr std::string_view kCut = "...";

void DrawZoomPicture(Surface& dc, TitleScreen& title, const Picture& card, int WINBREITE) {
    // Single-precision product truncated toward zero: 199 x 149 on the 50th step, full size
    // from the 51st.
    title.sx = static_cast<int>(static_cast<float>(card.width) * title.picfak);
    title.sy = static_cast<int>(static_cast<float>(card.height) * title.picfak);
    dc.StretchBlt(WINBREITE / 2 - title.sx / 2, kZoomCentreY - title.sy / 2, title.sx, title.sy,
                  card.View(), 0, 0, card.width, card.height, RasterOp::Copy);
}

// The longest start of `caption` that fits `room` pixels with "..." after it.
std::string_view CutToFit(const Surface& dc, std::string_view caption, int room) {
    const int left = room - dc.TextWidth(kCut);
    std::size_t length = caption.size();
    while (length > 0 && dc.TextWidth(caption.substr(0, length)) > left) --length;
    return caption.substr(0, length);
}

// Centred on WINBREITE / 2 where it fits the visible band, shifted or cut where it would not.
void DrawCaption(Surface& dc, std::string_view caption, int WINBREITE, int clientWidth) {
    const int visible = std::min(WINBREITE, clientWidth);
    const int room = visible - 2 * kCaptionMargin;
    const bool cut = dc.TextWidth(caption) > room;
    const std::string_view shown = cut ? CutToFit(dc, caption, room) : caption;
    const int width = dc.TextWidth(shown) + (cut ? dc.TextWidth(kCut) : 0);
    const int x = std::clamp(WINBREITE / 2 - width / 2, kCaptionMargin,
                             std::max(kCaptionMargin, visible - kCaptionMargin - width));
    const Color oldColor = dc.SetTextColor(kCaptionColor);
    const BkMode oldMode = dc.SetBkMode(BkMode::Transparent);
    dc.TextOut(x, kCaptionTop, shown);
    if (cut) dc.TextOut(x + dc.TextWidth(shown), kCaptionTop, kCut);
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

namespace {

void Note(TitleTrace* trace, int x, int y, int width, int height) {
    if (trace == nullptr || width <= 0 || height <= 0) return;
    trace->boxes[static_cast<std::size_t>(trace->count++)] = {x, y, x + width, y + height};
}

// Everything but the black backdrop; notes each drawn box in `trace` when given.
void DrawTitleContents(Surface& dc, TitleScreen& title, const Pictures& pictures, int WINBREITE,
                       int clientWidth, std::string_view caption, TitleTrace* trace) {
    const Picture& logo = pictures.blkbmp;
    const Picture& banner = pictures.forbmp;
    dc.BitBlt(title.blkbmpx, 0, logo.width, logo.height, logo.View(), 0, 0, RasterOp::Copy);
    Note(trace, title.blkbmpx, 0, logo.width, logo.height);
    const int bannerTop = kBannerBottom - banner.height;
    dc.BitBlt(title.forbmpx, bannerTop, banner.width, banner.height, banner.View(), 0, 0,
              RasterOp::Copy);
    Note(trace, title.forbmpx, bannerTop, banner.width, banner.height);
    dc.BitBlt(0, 0, 40, 40, pictures.spiderbmp.View(), 0, 0, RasterOp::Paint);
    Note(trace, 0, 0, 40, 40);
    PlotStars(dc, title.Stars.data());
    for (const Star& star : title.Stars) {
        if (star.ex != 0) Note(trace, star.x, star.y, 1, 1);
    }
    if (title.x == 0) {
        DrawZoomPicture(dc, title, pictures.hbmp, WINBREITE);
        Note(trace, WINBREITE / 2 - title.sx / 2, kZoomCentreY - title.sy / 2, title.sx, title.sy);
    } else if (!caption.empty()) {
        DrawCaption(dc, caption, WINBREITE, clientWidth);
        if (trace != nullptr) trace->wholeClient = true;
    }
    DrawSprite(dc, title, pictures);
    if (title.whichbmp == 1) {
        Note(trace, title.duckx, 75, 200, 50);
    } else {
        Note(trace, title.duckx, 40, 426, 122);
    }
}

using Box = TitleTrace::Box;

// Fills `box` black except where one of the `covers` lies.
void FillOutside(Surface& dc, Box box, const Box* covers, int coverCount) {
    if (box.left >= box.right || box.top >= box.bottom) return;
    if (coverCount == 0) {
        dc.FillRect(box.left, box.top, box.right, box.bottom, hBlack);
        return;
    }
    const Box& c = covers[0];
    if (c.right <= box.left || box.right <= c.left || c.bottom <= box.top || box.bottom <= c.top) {
        FillOutside(dc, box, covers + 1, coverCount - 1);
        return;
    }
    const int top = std::max(box.top, c.top);
    const int bottom = std::min(box.bottom, c.bottom);
    const Box pieces[] = {{box.left, box.top, box.right, top},
                          {box.left, bottom, box.right, box.bottom},
                          {box.left, top, std::max(box.left, c.left), bottom},
                          {std::min(box.right, c.right), top, box.right, bottom}};
    for (const Box& piece : pieces) FillOutside(dc, piece, covers + 1, coverCount - 1);
}

// Blackens what the traced frame drew, within the client area as the full backdrop would, but
// not where the next frame's logo and banner are copied whole over whatever lies there.
void EraseTraced(Surface& dc, const TitleTrace& trace, const TitleScreen& title,
                 const Pictures& pictures) {
    const Picture& logo = pictures.blkbmp;
    const Picture& banner = pictures.forbmp;
    const int bannerTop = kBannerBottom - banner.height;
    const Box covers[] = {
        {title.blkbmpx, 0, title.blkbmpx + logo.width, logo.height},
        {title.forbmpx, bannerTop, title.forbmpx + banner.width, bannerTop + banner.height}};
    for (int i = 0; i < trace.count; ++i) {
        const Box& box = trace.boxes[static_cast<std::size_t>(i)];
        const Box inClient{std::max(box.left, 0), std::max(box.top, 0),
                           std::min(box.right, trace.clientWidth),
                           std::min(box.bottom, trace.clientHeight)};
        FillOutside(dc, inClient, covers, 2);
    }
}

}  // namespace

void ComposeTitleFrame(Surface& hHiddenScreenDC, TitleScreen& title, const Pictures& pictures,
                       int WINBREITE, int clientWidth, int clientHeight, std::string_view caption) {
    hHiddenScreenDC.FillRect(0, 0, clientWidth, clientHeight, hBlack);
    DrawTitleContents(hHiddenScreenDC, title, pictures, WINBREITE, clientWidth, caption, nullptr);
}

void UpdateTitleFrame(Surface& hHiddenScreenDC, TitleTrace& trace, TitleScreen& title,
                      const Pictures& pictures, int WINBREITE, int clientWidth, int clientHeight,
                      std::string_view caption) {
    const bool traced = trace.valid && !trace.wholeClient && trace.clientWidth == clientWidth &&
                        trace.clientHeight == clientHeight;
    if (traced) {
        EraseTraced(hHiddenScreenDC, trace, title, pictures);
    } else {
        hHiddenScreenDC.FillRect(0, 0, clientWidth, clientHeight, hBlack);
    }
    trace = TitleTrace{};
    trace.clientWidth = clientWidth;
    trace.clientHeight = clientHeight;
    DrawTitleContents(hHiddenScreenDC, title, pictures, WINBREITE, clientWidth, caption, &trace);
    trace.valid = true;
}

}  // namespace blok
