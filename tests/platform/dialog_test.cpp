#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "help_viewer.h"
#include "info_dialogs.h"
#include "platform_fixture.h"

using blok::qt::AboutDialog;
using blok::qt::HelpViewer;
using blok::qt::InfoDialog;

namespace {

QStringList LabelTexts(const QWidget& widget) {
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
    return texts;
}

// Once the modal box is open, the key goes to it.
void PressInModalWhenOpen(Qt::Key key) {
    QTimer::singleShot(0, [key] {
        const bool open =
            QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 2000);
        if (QWidget* modal = QApplication::activeModalWidget(); open && modal) {
            QTest::keyClick(modal, key);
        }
    });
}

TEST(InfoDialog, ShowsTheKeyTable) {
    InfoDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Just for Info");
    const QStringList texts = LabelTexts(dialog);
    for (const char* text : {"Blokfall - Game Info", "Player1-Keys:", "Player2-Keys:", "Rotate",
                             "Left", "Right", "FastDown", "CursorUp", "CursorLeft", "CursorRight",
                             "CursorDown", "W", "A", "D", "S", "Press [P] for Pause"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    }
}

TEST(InfoDialog, ShowsTheKeysInForce) {
    blok::KeyBindings keys = blok::DefaultKeyBindings();
    keys.At(blok::KeySlot{false, blok::kOnePlayer, blok::kMoveLeft}) = 44;     // J
    keys.At(blok::KeySlot{false, blok::kRightPlayer, blok::kMoveLeft}) = 44;   // J
    keys.At(blok::KeySlot{false, blok::kLeftPlayer, blok::kFasterDown}) = 53;  // X
    keys.pause = 65;                                                           // Space
    InfoDialog dialog(nullptr, keys);
    const QStringList texts = LabelTexts(dialog);
    for (const char* text : {"J", "X", "Press [Space] for Pause", "CursorUp", "W"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    }
    for (const char* text : {"CursorLeft", "S", "Press [P] for Pause"}) {
        EXPECT_FALSE(texts.contains(QString::fromUtf8(text))) << text;
    }
}

TEST(InfoDialog, TheRightPlayersOwnKeysGetAColumnNamedAsInControls) {
    const QStringList defaults = LabelTexts(InfoDialog(nullptr));
    EXPECT_FALSE(defaults.contains("Right player:"));
    blok::KeyBindings keys = blok::DefaultKeyBindings();
    keys.At(blok::KeySlot{false, blok::kRightPlayer, blok::kRotate}) = 44;  // J
    const QStringList texts = LabelTexts(InfoDialog(nullptr, keys));
    for (const char* text : {"One player:", "Left player:", "Right player:", "J", "W"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_EQ(texts.count("CursorUp"), 1);  // the one-player game's, no longer the right's
    EXPECT_EQ(texts.count("CursorLeft"), 2);
}

TEST(AboutDialog, ShowsVersionAndContact) {
    AboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "About Blokfall");
    const QStringList texts = LabelTexts(dialog);
    EXPECT_TRUE(texts.contains("Blokfall - Version 1.0"));
    EXPECT_TRUE(texts.contains("Contact:"));
}

TEST(InfoDialogs, EscapeAndEnterBothCloseThem) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        InfoDialog info(nullptr);
        PressInModalWhenOpen(key);
        info.exec();
        EXPECT_FALSE(info.isVisible());
        AboutDialog about(nullptr);
        PressInModalWhenOpen(key);
        about.exec();
        EXPECT_FALSE(about.isVisible());
    }
}

TEST(InfoDialogs, OpenInTheMiddleOfTheScreenNotOverTheOwner) {
    QMainWindow owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    const QPoint screenCentre = owner.screen()->availableGeometry().center();
    const auto centreWhenOpen = [](QDialog& dialog) {
        QPoint centre;
        QTimer::singleShot(0, [&dialog, &centre] {
            if (QTest::qWaitFor([&dialog] { return dialog.isVisible(); }, 2000)) {
                centre = dialog.frameGeometry().center();
            }
            dialog.accept();
        });
        dialog.exec();
        return centre;
    };
    InfoDialog info(&owner);
    AboutDialog about(&owner);
    for (const QPoint centre : {centreWhenOpen(info), centreWhenOpen(about)}) {
        EXPECT_LE(std::abs(centre.x() - screenCentre.x()), 1);
        EXPECT_LE(std::abs(centre.y() - screenCentre.y()), 1);
    }
}

using ModalDialogs = PlatformTest;

TEST_F(ModalDialogs, TheGameTimersKeepRunningBehindThem) {
    platform.Window()->show();
    platform.SetTimer(13, 10);
    int ticksWhileOpen = 0;
    shell.onTimer = [&](int) { ticksWhileOpen += QApplication::activeModalWidget() != nullptr; };

    QTimer::singleShot(300, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    platform.RunInfoDialog();
    EXPECT_GE(ticksWhileOpen, 3);

    ticksWhileOpen = 0;
    QTimer::singleShot(300, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            EXPECT_EQ(box->windowTitle(), "End of Fight");
            EXPECT_EQ(box->text(), "Player on the left side wins");
            box->accept();
        }
    });
    platform.ShowMessage("Player on the left side wins", "End of Fight");
    EXPECT_GE(ticksWhileOpen, 3);
}

QString WriteHelpFile(const QTemporaryDir& dir, const char* text) {
    const QString path = dir.filePath("Blokfall.hlp");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

TEST(HelpViewer, ShowsTheHelpTextReadOnly) {
    QTemporaryDir dir;
    const QString path = WriteHelpFile(dir, "# Playing\n\nMove the piece with the cursor keys.\n");

    HelpViewer viewer(path);
    const auto* text = viewer.findChild<QTextBrowser*>("HelpText");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->toPlainText().contains("Move the piece with the cursor keys."));
    EXPECT_FALSE(text->toPlainText().contains('#'));  // headings are laid out, not shown raw
}

TEST(HelpViewer, SaysPlainlyWhenTheFileIsMissing) {
    const QString path = "/nowhere/Blokfall.hlp";
    HelpViewer viewer(path);
    const auto* missing = viewer.findChild<QLabel*>("MissingHelp");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->text(), "The help file /nowhere/Blokfall.hlp was not found.");
    EXPECT_EQ(viewer.findChild<QTextBrowser*>(), nullptr);
}

// A named pipe would block a plain open until a writer comes; a huge file is not help.
TEST(HelpViewer, RefusesWhatIsNotARegularFileOfSensibleSize) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe.hlp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = dir.filePath("huge.hlp");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(HelpViewer::kMaxFileSize + 1));
    file.close();

    const std::pair<QString, QString> cases[] = {
        {pipe, pipe + " is not a regular file; it cannot be shown as help."},
        {dir.path(), dir.path() + " is not a regular file; it cannot be shown as help."},
        {huge, "The help file " + huge + " is larger than 4 MiB; it is not shown."},
    };
    for (const auto& [path, problem] : cases) {
        HelpViewer viewer(path);
        const auto* label = viewer.findChild<QLabel*>("MissingHelp");
        ASSERT_NE(label, nullptr) << path.toStdString();
        EXPECT_EQ(label->text(), problem);
        EXPECT_EQ(viewer.findChild<QTextBrowser*>(), nullptr);
    }
}

// The keys reach the text, which has the focus, and must still close the window.
TEST(HelpViewer, EscapeCtrlWAndCtrlQCloseIt) {
    QTemporaryDir dir;
    const QString path = WriteHelpFile(dir, "# Keys\n\nP pauses.\n");
    for (const QKeyCombination keys :
         {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W, Qt::CTRL | Qt::Key_Q}) {
        HelpViewer viewer(path);
        viewer.show();
        QApplication::setActiveWindow(&viewer);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
        auto* text = viewer.findChild<QTextBrowser*>("HelpText");
        ASSERT_NE(text, nullptr);
        text->setFocus();
        QTest::keyClick(text, keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(viewer.isVisible()) << QKeySequence(keys).toString().toStdString();
    }
}

}  // namespace
