// The composed frames on a screen with more device pixels than client pixels: run with
// QT_SCALE_FACTOR set (CTest runs this at 2 and 1.5). Every device pixel must show exactly one
// frame pixel, never a blend of neighbours, and no frame pixel may be lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include <QBackingStore>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "platform_fixture.h"
#include "surface.h"

using blok::Surface;

namespace {

constexpr int kSide = 401;  // the client area the game starts with

// Each frame pixel carries its own position, so a shown pixel tells where it came from:
// red and green hold the low bits of x and y, blue their ninth bits and a one-pixel
// checkerboard bit (0x80) that flips between any two neighbours. Mixing neighbours gives a
// colour that decodes to no pixel.
std::uint32_t PositionColour(int x, int y, bool inverted) {
    const auto ux = static_cast<std::uint32_t>(x);
    const auto uy = static_cast<std::uint32_t>(y);
    const std::uint32_t checker = ((ux ^ uy) & 1u) ^ (inverted ? 1u : 0u);
    const std::uint32_t blue = (ux >> 8) | ((uy >> 8) << 1) | (checker << 7);
    return ((ux & 0xFFu) << 16) | ((uy & 0xFFu) << 8) | blue;
}

struct FramePixel {
    int x;
    int y;
    bool inverted;
};

std::optional<FramePixel> Decode(QRgb shown) {
    const auto red = static_cast<std::uint32_t>(qRed(shown));
    const auto green = static_cast<std::uint32_t>(qGreen(shown));
    const auto blue = static_cast<std::uint32_t>(qBlue(shown));
    if ((blue & 0x7Cu) != 0) return std::nullopt;
    const int x = static_cast<int>(red | ((blue & 1u) << 8));
    const int y = static_cast<int>(green | (((blue >> 1) & 1u) << 8));
    if (x >= kSide || y >= kSide) return std::nullopt;
    const bool inverted = ((blue >> 7) & 1u) != ((static_cast<unsigned>(x ^ y)) & 1u);
    return FramePixel{x, y, inverted};
}

void DrawPositions(Surface& surface, bool inverted) {
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            surface.Pixels()[y * surface.Width() + x] = PositionColour(x, y, inverted);
        }
    }
}

double ExpectedRatio() {
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? factor : 1.0;
}

// Frame rows or columns shown by consecutive device rows or columns.
using Axis = std::vector<int>;

// Checks one axis of the picture: it starts at frame pixel 0, steps by at most one, shows each
// frame pixel on floor(ratio) or ceil(ratio) device pixels and ends on the last frame pixel.
void ExpectNearestNeighbour(const Axis& shown, double ratio, const char* axis, int side = kSide) {
    SCOPED_TRACE(axis);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 0);
    const auto fewest = static_cast<int>(std::floor(ratio));
    const auto most = static_cast<int>(std::ceil(ratio));
    int run = 1;
    for (std::size_t i = 1; i < shown.size(); ++i) {
        const int step = shown[i] - shown[i - 1];
        ASSERT_TRUE(step == 0 || step == 1) << "device pixel " << i << " jumps by " << step;
        if (step == 0) {
            ++run;
            continue;
        }
        // The first may be cut by the edge of the client area.
        if (shown[i - 1] != 0) {
            EXPECT_GE(run, fewest) << "frame pixel " << shown[i - 1];
        }
        EXPECT_LE(run, most) << "frame pixel " << shown[i - 1];
        run = 1;
    }
    EXPECT_EQ(shown.back(), side - 1);  // the last frame pixel is not cut off
}

// Reads a device-pixel picture of the client area back into frame positions, failing on the
// first pixel that is not exactly one frame pixel.
struct Readback {
    Axis columns;
    Axis rows;
    std::vector<bool> rowInverted;
};

Readback Read(const QImage& image) {
    Readback result;
    result.columns.assign(static_cast<std::size_t>(image.width()), -1);
    result.rows.assign(static_cast<std::size_t>(image.height()), -1);
    result.rowInverted.assign(static_cast<std::size_t>(image.height()), false);
    for (int dy = 0; dy < image.height(); ++dy) {
        for (int dx = 0; dx < image.width(); ++dx) {
            const std::optional<FramePixel> pixel = Decode(image.pixel(dx, dy));
            if (!pixel) {
                ADD_FAILURE() << "device pixel (" << dx << ", " << dy << ") is a blend: 0x"
                              << std::hex << image.pixel(dx, dy);
                return result;
            }
            auto& column = result.columns[static_cast<std::size_t>(dx)];
            auto& row = result.rows[static_cast<std::size_t>(dy)];
            if (dy == 0) column = pixel->x;
            if (dx == 0) {
                row = pixel->y;
                result.rowInverted[static_cast<std::size_t>(dy)] = pixel->inverted;
            }
            if (pixel->x != column || pixel->y != row ||
                pixel->inverted != result.rowInverted[static_cast<std::size_t>(dy)]) {
                ADD_FAILURE() << "device pixel (" << dx << ", " << dy << ") shows frame pixel ("
                              << pixel->x << ", " << pixel->y << ") out of its row or column";
                return result;
            }
        }
    }
    return result;
}

class ScaledPresentTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(platform.ClientRect().Width(), kSide);
        ASSERT_EQ(platform.ClientRect().Height(), kSide);
        DrawPositions(frame, false);
        shell.onPaint = [this] { platform.Present(frame, kSide, kSide); };
        platform.Window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(platform.Window()));
        // Without the intended ratio the test would prove nothing.
        ASSERT_DOUBLE_EQ(platform.Client()->devicePixelRatioF(), ExpectedRatio());
    }

    // What the window shows now, in device pixels, without painting anew: the client's part of
    // the window's backing store. (A screen grab of this platform mixes client and device
    // coordinates once they differ.) Device pixels only partly inside the client area may show
    // the menu bar and are left out; `skipped` tells how much of a device row that cut off.
    struct Picture {
        QImage image;
        double skipped = 0;
    };

    Picture Shown() const {
        QWidget* client = platform.Client();
        QWidget* window = platform.Window();
        const auto* store = dynamic_cast<const QImage*>(window->backingStore()->paintDevice());
        if (store == nullptr) {
            ADD_FAILURE() << "the window's backing store is not an image";
            return {};
        }
        const double ratio = client->devicePixelRatioF();
        const QPointF topLeft = QPointF(client->mapTo(window, QPoint(0, 0))) * ratio;
        const QPointF bottomRight = topLeft + QPointF(client->width(), client->height()) * ratio;
        const QRect inside(QPoint(static_cast<int>(std::ceil(topLeft.x())),
                                  static_cast<int>(std::ceil(topLeft.y()))),
                           QPoint(static_cast<int>(std::floor(bottomRight.x())) - 1,
                                  static_cast<int>(std::floor(bottomRight.y())) - 1));
        return {store->copy(inside).convertToFormat(QImage::Format_RGB32),
                inside.top() - topLeft.y()};
    }

    // Every device row shows the client row it covers, as `invertedRows` says it should.
    void ExpectShown(const std::vector<bool>& invertedRows) const {
        const double ratio = ExpectedRatio();
        const Picture picture = Shown();
        const Readback shown = Read(picture.image);
        if (::testing::Test::HasFailure()) return;
        for (std::size_t dy = 0; dy < shown.rows.size(); ++dy) {
            // A device row that straddles client rows of either kind may show either.
            const double top = (static_cast<double>(dy) + picture.skipped) / ratio;
            const double below = (static_cast<double>(dy + 1) + picture.skipped) / ratio;
            const auto first = static_cast<std::size_t>(top);
            const auto last =
                std::min<std::size_t>(kSide - 1, static_cast<std::size_t>(std::ceil(below)) - 1);
            if (invertedRows[first] != invertedRows[last]) continue;
            ASSERT_EQ(shown.rowInverted[dy], invertedRows[first]) << "device row " << dy;
        }
        ExpectNearestNeighbour(shown.rows, ratio, "rows");
    }

    Surface frame{kSide, kSide};
};

TEST_F(ScaledPresentTest, EveryDevicePixelShowsExactlyOneFramePixel) {
    const double ratio = ExpectedRatio();
    const QImage grabbed = platform.Client()->grab().toImage();
    const QImage screen = Shown().image;
    for (const QImage* image : {&grabbed, &screen}) {
        SCOPED_TRACE(image == &grabbed ? "widget grab" : "screen");
        ASSERT_NEAR(image->width(), kSide * ratio, 1.0);
        ASSERT_NEAR(image->height(), kSide * ratio, 1.0);
        const Readback shown = Read(*image);
        if (HasFailure()) return;
        ExpectNearestNeighbour(shown.columns, ratio, "columns");
        ExpectNearestNeighbour(shown.rows, ratio, "rows");
    }
}

// The title band is repainted on its own many times a second: the frame below it must stay as
// it was, and the band must be shown whole, at both bottoms the game asks for.
TEST_F(ScaledPresentTest, AnInvalidatedTopBandRepaintsOnlyThatBand) {
    std::vector<bool> invertedRows(kSide, false);  // what each client row should show
    for (const auto& [bottom, inverted] : {std::pair{232, true}, std::pair{231, false}}) {
        SCOPED_TRACE(bottom);
        DrawPositions(frame, inverted);
        std::fill(invertedRows.begin(), invertedRows.begin() + bottom, inverted);
        PaintAndWait([this, band = bottom] { platform.InvalidateTop(band); });
        ExpectShown(invertedRows);
        if (HasFailure()) return;
    }
}

// A game step repaints the rows it changed, anywhere in the frame.
TEST_F(ScaledPresentTest, InvalidatedRowsRepaintOnlyThoseRows) {
    std::vector<bool> invertedRows(kSide, false);
    for (const auto& [top, bottom, inverted] :
         {std::tuple{40, 141, true}, std::tuple{99, 221, false}, std::tuple{300, 401, true}}) {
        SCOPED_TRACE(top);
        DrawPositions(frame, inverted);
        std::fill(invertedRows.begin() + top, invertedRows.begin() + bottom, inverted);
        PaintAndWait([this, from = top, to = bottom] { platform.InvalidateRows(from, to); });
        ExpectShown(invertedRows);
        if (HasFailure()) return;
    }
}

// Zoomed, every frame pixel is a square of zoom x ratio device pixels; the game still sees its
// own client size.
TEST_F(ScaledPresentTest, ZoomedFramesStayExactAtTwoAndThreeTimes) {
    const double ratio = ExpectedRatio();
    for (const int zoom : {2, 3}) {
        SCOPED_TRACE(zoom);
        platform.SetZoom(zoom);
        PaintAndWait([&] { platform.InvalidateAll(); });
        EXPECT_EQ(platform.ClientRect().Width(), kSide);
        EXPECT_EQ(platform.ClientRect().Height(), kSide);
        EXPECT_EQ(platform.Client()->width(), kSide * zoom);
        const QImage grabbed = platform.Client()->grab().toImage();
        ASSERT_NEAR(grabbed.width(), kSide * zoom * ratio, 1.0);
        const Readback shown = Read(grabbed);
        if (HasFailure()) return;
        ExpectNearestNeighbour(shown.columns, zoom * ratio, "columns");
        ExpectNearestNeighbour(shown.rows, zoom * ratio, "rows");
    }
    platform.SetZoom(1);
    EXPECT_EQ(platform.Client()->width(), kSide);
}

// Full screen: the frame in the middle at the largest whole scale that fits, black around it.
TEST_F(ScaledPresentTest, FullScreenCentresTheFrameAtAWholeScaleOnBlack) {
    // A client small enough to be enlarged on the test screen, leaving a margin around it.
    constexpr int kSmall = 300;
    platform.MoveWindow(0, 0, kSmall + 8, kSmall + 46);
    ASSERT_EQ(platform.ClientRect().Width(), kSmall);
    shell.onPaint = [this] { platform.Present(frame, kSmall, kSmall); };
    platform.SetFullScreen(true);
    const QSize screen = platform.Window()->screen()->geometry().size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return platform.Client()->size() == screen; }, 2000));
    PaintAndWait([&] { platform.InvalidateAll(); });
    EXPECT_EQ(platform.ClientRect().Width(), kSmall);  // the game's own size is kept

    const int scale = std::min(screen.width(), screen.height()) / kSmall;
    ASSERT_GE(scale, 2);
    const double ratio = ExpectedRatio();
    const QImage grabbed = platform.Client()->grab().toImage();
    const QRect frameArea((screen.width() - kSmall * scale) / 2,
                          (screen.height() - kSmall * scale) / 2, kSmall * scale, kSmall * scale);
    const QRectF device(QPointF(frameArea.topLeft()) * ratio, QSizeF(frameArea.size()) * ratio);
    const QRect inside(QPoint(static_cast<int>(std::ceil(device.left())),
                              static_cast<int>(std::ceil(device.top()))),
                       QPoint(static_cast<int>(std::floor(device.right())) - 1,
                              static_cast<int>(std::floor(device.bottom())) - 1));
    const Readback shown = Read(grabbed.copy(inside).convertToFormat(QImage::Format_RGB32));
    if (HasFailure()) return;
    ExpectNearestNeighbour(shown.columns, scale * ratio, "columns", kSmall);
    ExpectNearestNeighbour(shown.rows, scale * ratio, "rows", kSmall);
    // Around the frame the screen is black.
    ASSERT_GT(inside.left(), 0);
    EXPECT_EQ(grabbed.pixel(inside.left() - 1, inside.center().y()), qRgb(0, 0, 0));
    EXPECT_EQ(grabbed.pixel(inside.center().x(), 0), qRgb(0, 0, 0));
    EXPECT_EQ(grabbed.pixel(grabbed.width() - 1, grabbed.height() - 1), qRgb(0, 0, 0));

    platform.SetFullScreen(false);
    EXPECT_EQ(platform.Client()->size(), QSize(kSmall, kSmall));
}

}  // namespace
