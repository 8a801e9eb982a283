#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QRadioButton>
#include <QTest>

#include "platform_fixture.h"
#include "start_dialog.h"

using blok::qt::StartDialog;

namespace {

// A platform with its window shown and active, and a shell whose dialog procedure checks the
// radio buttons and closes the dialog on Start and Exit, as the game's does.
class StartDialogTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (HasFatalFailure()) return;
        shell.onStartDialogInit = [this] {
            platform.CheckRadioButton(102, 103, 102);
            platform.CheckRadioButton(105, 106, 106);
        };
        shell.onStartDialogCommand = [this](int id) {
            if (id == 102 || id == 103) platform.CheckRadioButton(102, 103, id);
            if (id == 105 || id == 106) platform.CheckRadioButton(105, 106, id);
            if (id == 107 || id == 108) platform.DestroyStartDialog();
        };
        ShowActive();
        ASSERT_TRUE(platform.CreateStartDialog());
        dialog = platform.StartDialogWidget();
        ASSERT_NE(dialog, nullptr);
    }

    QAbstractButton* Control(int id) { return dialog->Control(id); }
    int Commands() const {
        int n = 0;
        for (const auto& call : shell.calls) n += call.rfind("StartDialogCommand", 0) == 0;
        return n;
    }

    StartDialog* dialog = nullptr;
};

TEST_F(StartDialogTest, LaysOutItsControlsFromDialogUnits) {
    EXPECT_EQ(dialog->geometry(), QRect(0, 232, 352, 170));
    struct Expected {
        int id;
        const char* text;
        QRect pixels;
        bool radio;
    };
    const Expected controls[] = {
        {102, "&1 Player Game", QRect(46, 38, 95, 24), true},
        {103, "&2 Player Game", QRect(46, 78, 95, 24), true},
        {105, "&Cooperative", QRect(215, 42, 86, 24), true},
        {106, "F&ace to Face", QRect(215, 82, 86, 24), true},
        {108, "&Exit", QRect(233, 128, 56, 36), false},
        {107, "&Start", QRect(67, 128, 56, 36), false},
    };
    for (const Expected& c : controls) {
        QAbstractButton* button = Control(c.id);
        ASSERT_NE(button, nullptr) << c.id;
        EXPECT_EQ(button->text(), QString::fromUtf8(c.text)) << c.id;
        EXPECT_EQ(button->geometry(), c.pixels) << c.id;
        EXPECT_EQ(qobject_cast<QRadioButton*>(button) != nullptr, c.radio) << c.id;
    }
    QStringList labels;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        labels << label->text();
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    }
    labels.sort();
    EXPECT_EQ(labels, QStringList({"2 Player Options", "Game"}));
}

TEST_F(StartDialogTest, ReportsItsOuterRectangleOnTheScreen) {
    // Window at (100, 0); the client starts 4 pixels right and 42 down; the dialog at row 232.
    const blok::Rect rect = platform.StartDialogRect();
    EXPECT_EQ(rect.left, 104);
    EXPECT_EQ(rect.top, 274);
    EXPECT_EQ(rect.Width(), 352);
    EXPECT_EQ(rect.bottom, 444);
}

// On an enlarged frame the dialog is enlarged with it, in its place, and the game still sees it
// at its own size; full screen and back leaves the window where it stood.
TEST_F(StartDialogTest, GrowsWithTheZoomAndTheWindowReturnsFromFullScreen) {
    const QRect home = dialog->geometry();
    const QRect start = Control(108)->geometry();
    const QPoint where = platform.Window()->pos();
    platform.SetZoom(2);
    EXPECT_EQ(dialog->geometry(), QRect(home.topLeft() * 2, home.size() * 2));
    EXPECT_EQ(Control(108)->geometry(), QRect(start.topLeft() * 2, start.size() * 2));
    EXPECT_EQ(platform.StartDialogRect().Width(), 352);
    platform.SetFullScreen(true);
    platform.SetFullScreen(false);
    EXPECT_EQ(platform.Window()->pos(), where);
    platform.SetZoom(1);
    EXPECT_EQ(dialog->geometry(), home);
    EXPECT_EQ(Control(108)->geometry(), start);
}

TEST_F(StartDialogTest, OpensWithTheChoicesTheGameCheckedAndTheFirstControlFocused) {
    EXPECT_EQ(shell.Count("StartDialogInit"), 1);
    EXPECT_TRUE(Control(102)->isChecked());
    EXPECT_FALSE(Control(103)->isChecked());
    EXPECT_FALSE(Control(105)->isChecked());
    EXPECT_TRUE(Control(106)->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), Control(102));
}

TEST_F(StartDialogTest, RadioButtonsAreCheckedOnlyByTheGame) {
    shell.onStartDialogCommand = nullptr;  // a procedure that checks nothing
    Control(103)->click();
    EXPECT_EQ(shell.calls.back(), "StartDialogCommand 103");
    EXPECT_FALSE(Control(103)->isChecked());
    EXPECT_TRUE(Control(102)->isChecked());
    Control(102)->click();  // clicking the checked one does not uncheck it either
    EXPECT_TRUE(Control(102)->isChecked());
}

TEST_F(StartDialogTest, ClicksMoveTheCheckWithinEachGroupOnly) {
    Control(103)->click();
    Control(105)->click();
    EXPECT_FALSE(Control(102)->isChecked());
    EXPECT_TRUE(Control(103)->isChecked());
    EXPECT_TRUE(Control(105)->isChecked());
    EXPECT_FALSE(Control(106)->isChecked());
}

TEST_F(StartDialogTest, TypedCharactersAreSwallowedAndPlainMnemonicsPress) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Percent);
    EXPECT_EQ(Commands(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
    EXPECT_EQ(shell.calls.back(), "StartDialogCommand 103");
    EXPECT_EQ(QApplication::focusWidget(), Control(103));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_EQ(shell.calls.back(), "StartDialogCommand 106");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S);
    EXPECT_EQ(shell.calls.back(), "StartDialogCommand 107");
}

TEST_F(StartDialogTest, AltMnemonicPressesItsButton) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Commands() > 0; }, 2000));
    EXPECT_EQ(shell.calls.back(), "StartDialogCommand 108");
}

TEST_F(StartDialogTest, TabWalksTheControlsAndEnterPressesTheFocusedButton) {
    const int order[] = {103, 105, 106, 108, 107, 102};
    for (int id : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Control(id)) << id;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), Control(107));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // on a radio: nothing
    EXPECT_EQ(Commands(), 0);
    Control(107)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(shell.calls.back(), "StartDialogCommand 107");
}

TEST_F(StartDialogTest, ClosingItAsksTheGameToRepaintWhatItCovered) {
    QTest::qWait(50);
    const int paintsBefore = shell.Count("OnPaint");
    Control(107)->click();
    EXPECT_EQ(platform.StartDialogWidget(), nullptr);
    EXPECT_EQ(platform.StartDialogRect().Width(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell.Count("OnPaint") > paintsBefore; }, 2000));
}

TEST_F(StartDialogTest, ANewDialogReplacesTheOldOne) {
    QPointer<StartDialog> old = dialog;
    ASSERT_TRUE(platform.CreateStartDialog());
    EXPECT_NE(platform.StartDialogWidget(), old.data());
    EXPECT_TRUE(QTest::qWaitFor([&] { return old.isNull(); }, 2000));
    EXPECT_EQ(
        platform.Client()->findChildren<QWidget*>("Dialog_1", Qt::FindDirectChildrenOnly).size(),
        1);
}

}  // namespace
