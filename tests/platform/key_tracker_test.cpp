#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <utility>

#include "key_tracker.h"

using blok::qt::KeyTracker;
using blok::qt::VirtualKeyOf;

namespace {

const int kLeft = blok::PhysicalKeyOfVirtualKey(37);
const int kRight = blok::PhysicalKeyOfVirtualKey(39);
const int kP = blok::PhysicalKeyOfVirtualKey(80);
const int kA = blok::PhysicalKeyOfVirtualKey(65);

class KeyTrackerTest : public testing::Test {
  protected:
    KeyTrackerTest() { qApp->installEventFilter(&keys); }

    void Send(QEvent::Type type, Qt::Key key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&target, &event);
    }
    void Press(Qt::Key key) { Send(QEvent::KeyPress, key); }
    void Release(Qt::Key key) { Send(QEvent::KeyRelease, key); }

    KeyTracker keys;
    QWidget target;
};

TEST(VirtualKeys, LettersDigitsAndCursorKeysHaveTheirCodes) {
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_A, 65},    {Qt::Key_P, 80},   {Qt::Key_Z, 90},     {Qt::Key_1, 49},
        {Qt::Key_Left, 37}, {Qt::Key_Up, 38},  {Qt::Key_Right, 39}, {Qt::Key_Down, 40},
        {Qt::Key_F1, 0},    {Qt::Key_Shift, 0}};
    for (const auto& [key, code] : keys) EXPECT_EQ(VirtualKeyOf(key), code) << key;
}

TEST_F(KeyTrackerTest, APressIsReportedOnceAndConsumedByTheReading) {
    EXPECT_FALSE(keys.PressedSinceLastRead(kP));
    // Two presses between readings count as one.
    for (int i = 0; i < 2; ++i) {
        Press(Qt::Key_P);
        Release(Qt::Key_P);
    }
    EXPECT_TRUE(keys.PressedSinceLastRead(kP));
    EXPECT_FALSE(keys.PressedSinceLastRead(kP));
    // Reading one key leaves the others alone.
    Press(Qt::Key_A);
    Press(Qt::Key_Left);
    EXPECT_TRUE(keys.PressedSinceLastRead(kLeft));
    EXPECT_TRUE(keys.PressedSinceLastRead(kA));
}

TEST_F(KeyTrackerTest, HeldFromPressUntilReleaseAndNotConsumedByReading) {
    Press(Qt::Key_Left);
    Press(Qt::Key_Right);
    EXPECT_TRUE(keys.Held(kLeft));
    EXPECT_TRUE(keys.Held(kLeft));  // reading does not let go
    EXPECT_TRUE(keys.Held(kRight));
    Release(Qt::Key_Left);
    EXPECT_FALSE(keys.Held(kLeft));
    EXPECT_TRUE(keys.Held(kRight));
    // A key pressed and released between readings is no longer held but was pressed.
    EXPECT_TRUE(keys.PressedSinceLastRead(kLeft));
}

TEST_F(KeyTrackerTest, KeysAreReadByTheDesktopsKeyCodeWhateverTheLayoutTypes) {
    // The key labelled A on a Russian layout types a Cyrillic letter; its key code is A's.
    QKeyEvent press(QEvent::KeyPress, 0x0424, Qt::NoModifier, quint32(kA), 0, 0,
                    QStringLiteral("\u0444"));
    QApplication::sendEvent(&target, &press);
    EXPECT_TRUE(keys.PressedSinceLastRead(kA));
    EXPECT_TRUE(keys.Held(kA));
    // A key code wins over the character: a layout that types A on another key moves nothing.
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 24, 0, 0, QStringLiteral("a"));
    QApplication::sendEvent(&target, &other);
    EXPECT_FALSE(keys.PressedSinceLastRead(kA));
    EXPECT_TRUE(keys.PressedSinceLastRead(24));
}

TEST_F(KeyTrackerTest, AutoRepeatIsIgnored) {
    Press(Qt::Key_Left);
    EXPECT_TRUE(keys.PressedSinceLastRead(kLeft));
    Send(QEvent::KeyRelease, Qt::Key_Left, true);
    Send(QEvent::KeyPress, Qt::Key_Left, true);
    EXPECT_FALSE(keys.PressedSinceLastRead(kLeft));
    EXPECT_TRUE(keys.Held(kLeft));  // a repeat's release does not let go of the key
}

TEST_F(KeyTrackerTest, LosingTheKeyboardReleasesHeldKeysButKeepsPresses) {
    Press(Qt::Key_Left);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(keys.Held(kLeft));
    EXPECT_TRUE(keys.PressedSinceLastRead(kLeft));
}

TEST_F(KeyTrackerTest, AnEventSeenTwiceCountsOnce) {
    // A key event that no widget accepts travels up to the parent: the filter sees it again.
    QWidget child(&target);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_P, Qt::NoModifier);
    QApplication::sendEvent(&child, &press);
    QApplication::sendEvent(&target, &press);
    EXPECT_TRUE(keys.PressedSinceLastRead(kP));
    EXPECT_FALSE(keys.PressedSinceLastRead(kP));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_P, Qt::NoModifier);
    QApplication::sendEvent(&child, &release);
    QApplication::sendEvent(&target, &release);
    EXPECT_FALSE(keys.Held(kP));
}

TEST_F(KeyTrackerTest, UnknownCodesReadAsUp) {
    Press(Qt::Key_F1);
    EXPECT_FALSE(keys.PressedSinceLastRead(0));
    EXPECT_FALSE(keys.PressedSinceLastRead(-5));
    EXPECT_FALSE(keys.Held(blok::kLastPhysicalKey + 1));
}

}  // namespace
