#pragma once

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>

#include "fake_shell.h"
#include "qt_platform.h"

// The window layer with its main window created and every handler call recorded.
class PlatformTest : public testing::Test {
  protected:
    void SetUp() override {
        platform.Attach(shell);
        ASSERT_TRUE(platform.CreateMainWindow());
    }

    void ShowActive() {
        platform.Window()->show();
        platform.Window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(platform.Window()));
        QTest::qWait(50);  // let the repaints of the activation pass
    }

    // Requests a repaint and waits until the game has answered it and the picture is out.
    template <typename Request>
    void PaintAndWait(Request request) {
        const int before = shell.Count("OnPaint");
        request();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shell.Count("OnPaint") > before; }, 2000));
        QTest::qWait(10);
    }

    FakeShell shell;
    blok::qt::QtPlatform platform;
};
