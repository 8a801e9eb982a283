// Rows put straight into a window of a real X server: run on a virtual display, with and
// without the server's shared memory.
#include "x11_presenter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <vector>

namespace blok::qt {
namespace {

constexpr int kWidth = 40;
constexpr int kStride = 48;
constexpr int kHeight = 30;

std::uint32_t Pattern(int x, int y) {
    return static_cast<std::uint32_t>((x * 6) << 16 | (y * 8) << 8 | 0x63);
}

QRgb ShownPattern(int x, int y) {
    return Pattern(x, y) | 0xff000000u;
}

struct Harness : testing::Test {
    void SetUp() override {
        window.setGeometry(0, 0, 160, 120);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        presenter = X11Presenter::ForWindow(window);
        ASSERT_NE(presenter, nullptr);
        // Where the server shares memory the frame is lent; otherwise it has its own.
        std::shared_ptr<std::uint32_t[]> lent = presenter->LendFrame(kStride, kHeight);
        pixels = lent ? lent.get() : own.data();
        keepLent = lent;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kStride; ++x) pixels[y * kStride + x] = Pattern(x, y);
    }
    QImage Shown() {
        return window.screen()
            ->grabWindow(window.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    FrameRows Rows(int top, int bottom, int scale) const {
        return {pixels, kStride, kWidth, kHeight, top, bottom, scale};
    }

    QWidget window;
    std::unique_ptr<X11Presenter> presenter;
    std::vector<std::uint32_t> own = std::vector<std::uint32_t>(kStride * kHeight);
    std::shared_ptr<std::uint32_t[]> keepLent;
    std::uint32_t* pixels = nullptr;
};

TEST_F(Harness, NamedRowsAppearOnlyWhereVisible) {
    const QPoint origin(10, 20);
    const QRect hole(origin + QPoint(20, 10), QSize(8, 8));  // say, a dialog over the frame
    const QRegion visible = QRegion(QRect(origin, QSize(kWidth, kHeight))) - hole;
    presenter->Put(Rows(5, 25, 1), origin, visible);
    const QImage shown = Shown();
    const QRgb background = shown.pixel(0, 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kStride; ++x) {
            const QPoint at = origin + QPoint(x, y);
            const bool put = y >= 5 && y < 25 && x < kWidth && !hole.contains(at);
            EXPECT_EQ(shown.pixel(at), put ? ShownPattern(x, y) : background) << x << ',' << y;
        }
    }
}

TEST_F(Harness, AZoomedFrameShowsEveryPixelAsASquare) {
    presenter->Put(Rows(0, kHeight, 3), QPoint(0, 0), QRegion(0, 0, 160, 120));
    const QImage shown = Shown();
    for (int y = 0; y < kHeight * 3; ++y)
        for (int x = 0; x < kWidth * 3; ++x)
            ASSERT_EQ(shown.pixel(x, y), ShownPattern(x / 3, y / 3)) << x << ',' << y;
}

TEST(X11PresenterRequests, RowsAreSplitToFitARequestAndAtLeastOneGoes) {
    EXPECT_EQ(RowsPerRequest(1604, 262140), 163);  // the smallest limit a server may have
    EXPECT_EQ(RowsPerRequest(1604, 24 + 1604), 1);
    EXPECT_EQ(RowsPerRequest(4000, 1000), 1);
}

}  // namespace
}  // namespace blok::qt
