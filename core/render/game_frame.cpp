#include "game_frame.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace blok {

namespace {

constexpr int kCell = 20;
constexpr int kStripColumns = kAreaWidth;
constexpr int kStripRows = 20;
constexpr int kScoreRight = 400;
constexpr Color kScoreColor = Rgb(160, 160, 160);

struct Strip {
    int offx;   // first field column shown
    int feldx;  // screen x of its left edge
};

struct Layout {
    int beginx;  // screen x of field column 0 for player 1
    int addx;    // further offset of player 2
    const Picture Pictures::*background;
    bool frameLines;
    int stripCount;
    std::array<Strip, 2> strips;
};

const Layout* LayoutFor(int iGameStatus) {
    constexpr int kLeft = kLeftAreaColumn;
    constexpr int kCooperativeRight = kLeftAreaColumn + kAreaWidth;
    static constexpr Layout kOnePlayer{64, 0, &Pictures::kestabmp, true, 1, {{{kLeft, 104}, {}}}};
    static constexpr Layout kCooperative{-40,   0, &Pictures::coopbmp,
                                         false, 2, {{{kLeft, 0}, {kCooperativeRight, 200}}}};
    static constexpr Layout kFaceToFace{-40,  -20, &Pictures::morvobmp,
                                        true, 2,   {{{kLeft, 0}, {kRightAreaColumn, 200}}}};
    switch (iGameStatus) {
        case kStatusOnePlayer:
            return &kOnePlayer;
        case kStatusCooperative:
            return &kCooperative;
        case kStatusFaceToFace:
            return &kFaceToFace;
        default:
            return nullptr;
    }
}

// A coloured cell: black outline shared with its neighbours, interior in the selected brush.
void DrawCell(Surface& dc, int X, int Y) {
    dc.Rectangle(X, Y, X + kCell + 1, Y + kCell + 1);
}

// Copies a picture opaquely into a rectangle of its size in the frame. A picture of another size
// is scaled to it, so that it still covers what the frame expects it to cover.
void DrawPicture(Surface& dc, int x, int y, int width, int height, const Picture& picture) {
    dc.StretchBlt(x, y, width, height, picture.View(), 0, 0, picture.width, picture.height,
                  RasterOp::Copy);
}

bool IsStoneColor(int value) {
    return value >= 1 && value <= 6;
}

const Brush& BrushFor(int color) {
    return stoneColor[color - 1];
}

// The two walls and the floor line between them, in the grey pen.
void DrawFrameLines(Surface& dc, int beginx) {
    const std::array<Point, 4> line{
        {{beginx + 39, 0}, {beginx + 39, 427}, {beginx + 241, 427}, {beginx + 241, 0}}};
    dc.Polyline(line.data(), static_cast<int>(line.size()));
}

template <typename Number>
std::string_view Format(std::array<char, 30>& buffer, Number value) {
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())};
}

void DrawRightAligned(Surface& dc, std::string_view text) {
    dc.TextOut(kScoreRight - dc.TextWidth(text), 0, text);
}

void DrawScore(Surface& dc, const Game& game) {
    std::array<char, 30> buffer{};
    switch (game.iGameStatus) {
        case kStatusOnePlayer:
            DrawRightAligned(dc, Format(buffer, game.Up1Points));
            break;
        case kStatusCooperative: {
            // The sum wraps at 2^32 before it is halved, as the points are 32-bit counters.
            const std::uint32_t joint =
                static_cast<std::uint32_t>(game.Up1Points + game.Up2Points) / 2;
            DrawRightAligned(dc, Format(buffer, joint));
            break;
        }
        case kStatusFaceToFace:
            dc.TextOut(0, 0, Format(buffer, game.won1));
            DrawRightAligned(dc, Format(buffer, game.won2));
            break;
        default:
            break;
    }
}

// The cell shown at column x and row y of a strip.
template <typename GameRef>
auto& StripCell(GameRef& game, Strip strip, int x, int y) {
    return game.SpielFeld[static_cast<std::size_t>(strip.offx + x)][static_cast<std::size_t>(y)];
}

// One strip of ten columns and twenty rows. Later cells paint over an earlier flame.
void PlotFeld(Surface& dc, const Game& game, const Pictures& pictures, Strip strip) {
    for (int y = 0; y < kStripRows; ++y) {
        for (int x = 0; x < kStripColumns; ++x) {
            const std::int16_t cell = StripCell(game, strip, x, y);
            const int X = x * kCell + strip.feldx;
            const int Y = y * kCell;
            if (IsStoneColor(cell)) {
                dc.SelectBrush(BrushFor(cell));
                DrawCell(dc, X, Y);
            }
            if (cell == kBlast) {
                DrawPicture(dc, X - kCell, Y - kCell, 3 * kCell, 3 * kCell, pictures.flamebmp);
            }
            if (cell == kPenalty) {
                DrawPicture(dc, X, Y, kCell, kCell, pictures.worsebmp);
            }
        }
    }
}

void DrawPiece(Surface& dc, const figure& piece, int offset, const Pictures& pictures) {
    if (piece.what == kPieceCells && IsStoneColor(piece.color)) {
        dc.SelectBrush(BrushFor(piece.color));
        for (int j = 0; j < 4; ++j) {
            for (int i = 0; i < 4; ++i) {
                if (piece.stone[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] == 0)
                    continue;
                DrawCell(dc, (piece.x + j) * kCell + offset, (piece.y + i) * kCell);
            }
        }
    } else if (piece.what == kPieceBomb) {
        // The bomb hangs two pixels right of and seven above its cell; in row 0 its top is cut.
        DrawPicture(dc, piece.x * kCell + offset + 2, piece.y * kCell - 7, 20, 30,
                    pictures.bombbmp);
    }
}

}  // namespace

PixelRows GameFramePixelRows(int firstFieldRow, int lastFieldRow) {
    return PixelRows{std::max(0, (firstFieldRow - 1) * kCell),
                     std::min(kGameFrameHeight, (lastFieldRow + 2) * kCell + 1)};
}

const Picture Pictures::*GameBackground(int iGameStatus) {
    const Layout* layout = LayoutFor(iGameStatus);
    return layout ? layout->background : nullptr;
}

void PrintGameArea(Surface& hHiddenScreenDC, const Game& game, const Pictures& pictures,
                   int backgroundImage, int clientWidth, int clientHeight) {
    const Layout* layout = LayoutFor(game.iGameStatus);
    if (layout == nullptr) return;
    Surface& dc = hHiddenScreenDC;

    if (backgroundImage != 0) {
        DrawPicture(dc, 0, 0, kGameFrameWidth, kGameFrameHeight, pictures.*layout->background);
    } else {
        dc.FillRect(0, 0, clientWidth, clientHeight, hWhite);
    }

    const Brush oldBrush = dc.SelectBrush(stoneColor[0]);
    const Pen oldPen = dc.SelectPen(hWhiteP);
    if (layout->frameLines) DrawFrameLines(dc, layout->beginx);

    const BkMode oldMode = dc.SetBkMode(BkMode::Transparent);
    const Color oldColor = dc.SetTextColor(kScoreColor);
    DrawScore(dc, game);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
    dc.SelectPen(oldPen);  // cells are outlined in the surface's own black pen

    for (int s = 0; s < layout->stripCount; ++s) {
        PlotFeld(dc, game, pictures, layout->strips[static_cast<std::size_t>(s)]);
    }
    DrawPiece(dc, game.AktuellerSpielStein1, layout->beginx, pictures);
    if (game.iGameStatus != kStatusOnePlayer) {
        DrawPiece(dc, game.AktuellerSpielStein2, layout->beginx + layout->addx, pictures);
    }
    dc.SelectBrush(oldBrush);
}

void ClearShownBlastMarkers(Game& game) {
    const Layout* layout = LayoutFor(game.iGameStatus);
    if (layout == nullptr) return;
    for (int s = 0; s < layout->stripCount; ++s) {
        const Strip strip = layout->strips[static_cast<std::size_t>(s)];
        for (int y = 0; y < kStripRows; ++y) {
            for (int x = 0; x < kStripColumns; ++x) {
                auto& cell = StripCell(game, strip, x, y);
                if (cell == kBlast) cell = kEmpty;
            }
        }
    }
}

}  // namespace blok
