#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "dialog_units.h"
#include "emulated_frame.h"
#include "platform_fixture.h"
#include "surface.h"

using blok::Rect;
using blok::Surface;
using blok::qt::QtPlatform;

namespace {

using WindowTest = PlatformTest;

// One line an item, indented by its depth, as tests/platform/menu_bar.txt lists the menus of
// both window layers.
void DescribeMenu(const QMenu& menu, const QString& indent, QStringList& lines) {
    for (const QAction* item : menu.actions()) {
        QString text = item->text().replace(QLatin1Char('\t'), QStringLiteral("\\t"));
        if (item->isSeparator()) text = QStringLiteral("-");
        if (item->menu() == nullptr && !item->isSeparator()) {
            text += QStringLiteral("(%1)").arg(item->data().toInt());
        }
        lines << indent + text;
        EXPECT_TRUE(item->isEnabled()) << text.toStdString();
        EXPECT_FALSE(item->isChecked()) << text.toStdString();
        if (item->menu() != nullptr) DescribeMenu(*item->menu(), indent + QLatin1Char('\t'), lines);
    }
}

TEST_F(WindowTest, MenuBarIsLaidOutWithItsIdsAllEnabled) {
    EXPECT_EQ(platform.Window()->windowTitle(), "Blokfall");
    QFile file(QStringLiteral(BLOK_MENU_BAR_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList expected = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QStringList seen;
    for (const QAction* popup : platform.Window()->menuBar()->actions()) {
        seen << popup->text();
        DescribeMenu(*popup->menu(), QStringLiteral("\t"), seen);
    }
    EXPECT_EQ(seen, expected);
}

// A menu item the help does not name leaves the player guessing what it does.
TEST_F(WindowTest, TheHelpFileNamesEveryMenuItem) {
    QFile file(QStringLiteral(BLOK_HELP_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString help = QString::fromUtf8(file.readAll());
    int named = 0;
    for (const QAction* popup : platform.Window()->menuBar()->actions()) {
        for (const QAction* item : popup->menu()->actions()) {
            if (item->isSeparator()) continue;
            QString text = item->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
            text.replace(QStringLiteral("\u2026"), QStringLiteral("..."));
            EXPECT_TRUE(help.contains(text)) << text.toStdString();
            ++named;
        }
    }
    EXPECT_GE(named, 22);  // all six popups were read
}

TEST_F(WindowTest, MenuCommandsReachTheGameAndCheckMarksMoveOnlyWhenTold) {
    platform.CheckMenuItem(203, true);
    platform.CheckMenuItem(204, false);
    platform.EnableMenuItem(205, false);
    EXPECT_TRUE(platform.MenuAction(203)->isChecked());
    EXPECT_FALSE(platform.MenuAction(204)->isChecked());
    EXPECT_FALSE(platform.MenuAction(205)->isEnabled());

    platform.MenuAction(204)->trigger();
    platform.MenuAction(203)->trigger();
    EXPECT_EQ(shell.calls[shell.calls.size() - 2], "OnCommand 204");
    EXPECT_EQ(shell.calls.back(), "OnCommand 203");
    EXPECT_TRUE(platform.MenuAction(203)->isChecked());
    EXPECT_FALSE(platform.MenuAction(204)->isChecked());

    platform.EnableMenuItem(205, true);
    EXPECT_TRUE(platform.MenuAction(205)->isEnabled());
    platform.CheckMenuItem(999, true);  // unknown ids are ignored
    EXPECT_EQ(platform.MenuAction(999), nullptr);
}

TEST(EmulatedFrame, OuterAndClientSizesConvert) {
    using namespace blok::qt;
    EXPECT_EQ(ClientSizeForOuter(QSize(409, 447)), QSize(401, 401));
    EXPECT_EQ(OuterSizeForClient(QSize(401, 401)), QSize(409, 447));
    EXPECT_EQ(ClientSizeForOuter(QSize(5, 5)), QSize(0, 0));
    EXPECT_EQ(kClientOffset, QPoint(4, 42));
}

TEST(DialogUnits, ConvertWithRoundingHalfAwayFromZero) {
    using blok::qt::kUnits10pt;
    using blok::qt::kUnits8pt;
    EXPECT_EQ(kUnits10pt.ToPixels(0, 116, 201, 85), QRect(0, 232, 352, 170));
    EXPECT_EQ(kUnits10pt.X(1), 2);  // 1.75
    EXPECT_EQ(kUnits10pt.X(2), 4);  // 3.5
    EXPECT_EQ(kUnits10pt.X(-2), -4);
    EXPECT_EQ(kUnits8pt.X(4), 6);
    EXPECT_EQ(kUnits8pt.Y(8), 13);
    EXPECT_EQ(kUnits8pt.Y(4), 7);  // 6.5
}

TEST_F(WindowTest, WindowStartsAtItsPlaceAndSpeaksInOuterSizes) {
    const Rect window = platform.WindowRect();
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.Width(), 409);
    EXPECT_EQ(window.Height(), 447);
    const Rect client = platform.ClientRect();
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.Width(), 401);
    EXPECT_EQ(client.Height(), 401);

    platform.MoveWindow(30, 20, 500, 600);
    EXPECT_EQ(platform.ClientRect().Width(), 492);
    EXPECT_EQ(platform.ClientRect().Height(), 554);
    EXPECT_EQ(platform.WindowRect().left, 30);
    EXPECT_EQ(platform.WindowRect().top, 20);
    EXPECT_EQ(platform.WindowRect().Height(), 600);

    ShowActive();
    platform.MoveWindow(30, 20, 409, 447);
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform.ClientRect().Height() == 401; }, 2000));
    EXPECT_EQ(platform.ClientRect().Width(), 401);
    EXPECT_EQ(platform.WindowRect().Width(), 409);
}

TEST_F(WindowTest, ATimerPerIdThatRestartsAndStops) {
    platform.SetTimer(12, 350);
    platform.SetTimer(13, 60);
    const QTimer* gravity = platform.Timer(12);
    ASSERT_NE(gravity, nullptr);
    EXPECT_EQ(gravity->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(gravity->interval(), 350);
    EXPECT_TRUE(gravity->isActive());

    QTest::qWait(100);
    const int leftBefore = gravity->remainingTime();
    platform.SetTimer(12, 345);  // same id: the countdown starts afresh
    EXPECT_EQ(platform.Timer(12), gravity);
    EXPECT_EQ(gravity->interval(), 345);
    EXPECT_GT(gravity->remainingTime(), leftBefore);

    platform.KillTimer(12);
    EXPECT_FALSE(gravity->isActive());
    EXPECT_TRUE(platform.Timer(13)->isActive());
    platform.KillTimer(77);  // never started: nothing happens
}

TEST_F(WindowTest, TimeoutsArriveAsTimerHandlersById) {
    platform.SetTimer(11, 5);
    platform.SetTimer(15, 10000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.Count("OnTimer 11") >= 3; }, 2000));
    EXPECT_EQ(shell.Count("OnTimer 15"), 0);
    platform.KillTimer(11);
    const int ticks = shell.Count("OnTimer 11");
    QTest::qWait(30);
    EXPECT_EQ(shell.Count("OnTimer 11"), ticks);
}

TEST_F(WindowTest, AfterQuitNoHandlerRunsAndTheLoopEndsAtOnce) {
    platform.SetTimer(13, 5);
    shell.onTimer = [&](int) { platform.PostQuit(3); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.Count("OnTimer 13") >= 1; }, 2000));
    EXPECT_TRUE(platform.QuitPosted());
    QTest::qWait(30);
    platform.MenuAction(217)->trigger();
    platform.InvalidateAll();
    QTest::qWait(30);
    EXPECT_EQ(shell.Count("OnTimer 13"), 1);
    EXPECT_EQ(shell.calls.back(), "OnTimer 13");
    EXPECT_EQ(platform.Exec(), 3);
}

TEST_F(WindowTest, ActivationIsReportedAndClosingDestroysOnce) {
    ShowActive();
    EXPECT_GE(shell.Count("OnActivate"), 1);
    platform.Window()->close();
    EXPECT_EQ(shell.Count("OnDestroy"), 1);
}

TEST_F(WindowTest, AnotherProgramTakingTheKeyboardIsReported) {
    EXPECT_EQ(shell.Count("OnDeactivate"), 0);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_EQ(shell.Count("OnDeactivate"), 1);
}

// The game's picture, as a grab of the screen shows it.
QImage Screenshot(const QtPlatform& platform) {
    QWidget* client = platform.Client();
    const QPoint origin = client->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, origin.x(), origin.y(), client->width(), client->height())
        .toImage();
}

void Fill(Surface& surface, std::uint32_t colour) {
    std::fill(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height(), colour);
}

TEST_F(WindowTest, PresentShowsTheSurfaceOnlyWhereInvalidated) {
    Surface surface(501, 401);
    Fill(surface, 0x00C80000);
    shell.onPaint = [&] { platform.Present(surface, 409, 428); };
    ShowActive();
    PaintAndWait([&] { platform.InvalidateAll(); });
    ASSERT_EQ(Screenshot(platform).pixel(200, 300), 0xFFC80000u);

    Fill(surface, 0x000000C8);
    PaintAndWait([&] { platform.InvalidateTop(232); });
    const QImage shown = Screenshot(platform);
    EXPECT_EQ(shown.pixel(10, 0), 0xFF0000C8u);
    EXPECT_EQ(shown.pixel(400, 231), 0xFF0000C8u);
    EXPECT_EQ(shown.pixel(10, 232), 0xFFC80000u);  // below the band: the old frame stays
    EXPECT_EQ(shown.pixel(400, 400), 0xFFC80000u);
}

TEST_F(WindowTest, PresentOutsideAPaintDrawsNothingAndAnOversizedAreaIsClipped) {
    Surface small(10, 10);
    Fill(small, 0x0000C800);
    platform.Present(small, 409, 428);  // not painting: ignored
    shell.onPaint = [&] { platform.Present(small, 409, 428); };
    ShowActive();
    PaintAndWait([&] { platform.InvalidateAll(); });
    EXPECT_EQ(Screenshot(platform).pixel(5, 5), 0xFF00C800u);
    EXPECT_EQ(Screenshot(platform).pixel(200, 200), 0xFFC0C0C0u);  // never drawn: class grey
}

TEST_F(WindowTest, HelpStartsAViewerEachTime) {
    QStringList started;
    platform.SetLauncher([&](const QString& program, const QStringList& arguments) {
        started << program + " " + arguments.join(' ');
        return false;  // a failed start is not reported
    });
    platform.OpenHelp("/games/blokfall/Blokfall.hlp");
    platform.OpenHelp("/games/blokfall/Blokfall.hlp");
    const QString expected =
        QCoreApplication::applicationFilePath() + " --help-viewer /games/blokfall/Blokfall.hlp";
    EXPECT_EQ(started, QStringList({expected, expected}));
}

}  // namespace
