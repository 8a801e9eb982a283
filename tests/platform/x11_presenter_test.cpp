// Rows put straight into a window of a real X server: run on a virtual display, with and
// without the server's shared memory.
#include "x11_presenter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <vector>

#include "fake_shell.h"
#include "ids_and_sizes.h"
#include "qt_platform.h"
#include "surface.h"

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

// The game's window after its modal dialogs: the rows a step names must still reach the screen.
struct GameWindow : testing::Test {
    void SetUp() override {
        shell.onPaint = [this] { platform.Present(frame, kGameFrameWidth, kGameFrameHeight); };
        platform.Attach(shell);
        ASSERT_TRUE(platform.CreateMainWindow());
        platform.ShowAndPaint();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(platform.Window()));
    }
    // Paints the frame in one colour, names its top rows from a timer, as a game step does, and
    // reads the colour shown in the middle of those rows.
    QRgb ShownAfterStep(std::uint32_t colour) {
        std::fill_n(frame.Pixels(), kGameFrameWidth * kGameFrameHeight, colour);
        shell.onTimer = [this](int) { platform.InvalidateRows(0, 40); };
        platform.SetTimer(kTimerTitleStep, 0);
        QTest::qWait(200);
        platform.KillTimer(kTimerTitleStep);
        return ShownInStepRows();
    }
    QRgb ShownInStepRows() {
        const QWidget* client = platform.Client();
        const QPoint at = client->mapTo(platform.Window(), QPoint(kGameFrameWidth / 2, 20));
        return platform.Window()
            ->screen()
            ->grabWindow(platform.Window()->winId())
            .toImage()
            .pixel(at);
    }

    FakeShell shell;
    QtPlatform platform;
    Surface frame{kGameFrameWidth, kGameFrameHeight};
};

TEST_F(GameWindow, RowsOfAStepStillShowAfterEachModalDialog) {
    EXPECT_EQ(ShownAfterStep(0x102030), 0xff102030u);
    for (const auto run : {&QtPlatform::RunInfoDialog, &QtPlatform::RunAboutDialog}) {
        QTimer::singleShot(100, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        (platform.*run)();
        EXPECT_EQ(ShownAfterStep(0x405060), 0xff405060u);
        EXPECT_EQ(ShownAfterStep(0x708090), 0xff708090u);
    }
}

// While the name dialog is open the game draws nothing: a repaint then must show the last frame,
// not the toolkit's older copy of the window.
TEST_F(GameWindow, APaintTheGameLeavesEmptyShowsTheLastFrame) {
    EXPECT_EQ(ShownAfterStep(0x203040), 0xff203040u);
    shell.onPaint = nullptr;
    platform.InvalidateAll();
    QTest::qWait(100);
    EXPECT_EQ(ShownInStepRows(), 0xff203040u);
}

TEST(X11PresenterRequests, RowsAreSplitToFitARequestAndAtLeastOneGoes) {
    EXPECT_EQ(RowsPerRequest(1604, 262140), 163);  // the smallest limit a server may have
    EXPECT_EQ(RowsPerRequest(1604, 24 + 1604), 1);
    EXPECT_EQ(RowsPerRequest(4000, 1000), 1);
}

}  // namespace
}  // namespace blok::qt
