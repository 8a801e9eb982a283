// The settings file, the Options popup and the controls dialog on the offscreen platform.
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "ids_and_sizes.h"
#include "options_controller.h"
#include "options_dialogs.h"
#include "platform_fixture.h"
#include "settings_file.h"

namespace blok::qt {
namespace {

constexpr int kKeyJ = 44;

class OptionsTest : public PlatformTest {
  protected:
    QString Path() const { return dir.path() + QStringLiteral("/Blokfall/Blokfall.conf"); }
    void Write(const QByteArray& text) {
        QDir().mkpath(dir.path() + QStringLiteral("/Blokfall"));
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray Read() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    OptionsController& Controller() {
        if (!controller) {
            controller = std::make_unique<OptionsController>(
                platform, Path(),
                OptionsController::Hooks{[this](const Settings& s) { applied = s; }, {}, {}});
            controller->Start();
        }
        return *controller;
    }

    QTemporaryDir dir;
    std::unique_ptr<OptionsController> controller;
    std::optional<Settings> applied;
};

TEST_F(OptionsTest, NoFileGivesTheDefaultsAndCommandsThatChangeNothingWriteNothing) {
    Controller();
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(*applied, Settings{});
    EXPECT_TRUE(platform.MenuAction(kCmdZoom1)->isChecked());
    Controller().OnCommand(kCmdZoom1);  // already so
    EXPECT_FALSE(QFile::exists(Path()));
    EXPECT_FALSE(QDir(dir.path()).exists(QStringLiteral("Blokfall")));
}

TEST_F(OptionsTest, AChangeIsAppliedAndWrittenAndUnknownEntriesStay) {
    Write("[Display]\nZoom=2\nFuture=1\n\n[Other]\nName=kept\n");
    Controller();
    EXPECT_EQ(applied->zoom, 2);
    EXPECT_EQ(platform.Client()->width(), 2 * platform.ClientRect().Width());
    Controller().OnCommand(kCmdShowPaused);
    EXPECT_TRUE(applied->showPaused);
    EXPECT_TRUE(platform.MenuAction(kCmdShowPaused)->isChecked());
    const QSettings file(Path(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Window/ShowPaused").toString(), "true");
    EXPECT_EQ(file.value("Display/Zoom").toString(), "2");
    EXPECT_EQ(file.value("Display/Future").toString(), "1");
    EXPECT_EQ(file.value("Other/Name").toString(), "kept");
    EXPECT_EQ(LoadSettings(Path()), *applied);
}

// On a 1920 x 1200 screen zoom 3 (1203 rows of client area) does not fit: it is not offered, and
// a stored zoom of 4 shows at 2, the largest that fits, without being forgotten.
TEST_F(OptionsTest, OnlyZoomsThatFitTheScreenAreOfferedAndUsed) {
    Write("[Display]\nZoom=4\n");
    Controller();
    EXPECT_EQ(platform.Zoom(), 2);
    EXPECT_EQ(platform.Client()->width(), 2 * platform.ClientRect().Width());
    for (int zoom = 1; zoom <= 4; ++zoom) {
        EXPECT_EQ(platform.MenuAction(kCmdZoom1 + zoom - 1)->isEnabled(), zoom <= 2) << zoom;
        EXPECT_EQ(platform.MenuAction(kCmdZoom1 + zoom - 1)->isChecked(), zoom == 2) << zoom;
    }
    EXPECT_EQ(LoadSettings(Path()).zoom, 4);
}

TEST_F(OptionsTest, TheComputerPlayerIsOffUntilALevelIsChosenAndTheChoiceIsStored) {
    Controller();
    EXPECT_EQ(applied->computer, ComputerLevel::kOff);
    EXPECT_TRUE(platform.MenuAction(kCmdComputerOff)->isChecked());
    EXPECT_FALSE(QFile::exists(Path()));  // nothing is written before a change
    const auto* levels = qobject_cast<QMenu*>(platform.MenuAction(kCmdComputerHard)->parent());
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(levels->title(), "Computer &Player");
    Controller().OnCommand(kCmdComputerHard);
    EXPECT_EQ(applied->computer, ComputerLevel::kHard);
    EXPECT_TRUE(platform.MenuAction(kCmdComputerHard)->isChecked());
    EXPECT_FALSE(platform.MenuAction(kCmdComputerOff)->isChecked());
    const QSettings file(Path(), QSettings::IniFormat);
    EXPECT_EQ(file.value("Game/ComputerPlayer").toString(), "hard");
    EXPECT_EQ(LoadSettings(Path()).computer, ComputerLevel::kHard);
}

TEST_F(OptionsTest, ADamagedFileGivesTheDefaultsAndIsKeptAsideWhenSettingsChange) {
    const QByteArray damaged("\x00\xff\x13[[Display\nZoom=3\n\xc3", 19);
    Write(damaged);
    Controller();
    EXPECT_EQ(*applied, Settings{});
    EXPECT_EQ(Read(), damaged);  // reading it changed nothing
    Controller().OnCommand(kCmdZoom1 + 2);
    EXPECT_EQ(LoadSettings(Path()).zoom, 3);
    QFile aside(Path() + QStringLiteral(".damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), damaged);
}

// The controls dialog answers a click on a key button with the next key pressed.
void PressKey(QWidget* dialog, int qtKey, int physicalKey) {
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, quint32(physicalKey), 0, 0);
    QApplication::sendEvent(dialog, &press);
}

TEST(ControlsDialog, AssignsAPressedKeyRefusesAConflictAndRestoresTheDefaults) {
    ControlsDialog dialog(Settings{}, {}, nullptr);
    const KeySlot left{false, kOnePlayer, kMoveLeft};
    const KeySlot rotate{false, kOnePlayer, kRotate};
    dialog.KeyButton(left)->click();
    PressKey(&dialog, Qt::Key_J, kKeyJ);
    EXPECT_EQ(dialog.Chosen().keys.At(left), kKeyJ);
    EXPECT_EQ(dialog.KeyButton(left)->text(), "J");

    // J for Rotate as well: refused, and the dialog says why.
    dialog.KeyButton(rotate)->click();
    PressKey(&dialog, Qt::Key_J, kKeyJ);
    EXPECT_EQ(dialog.Chosen().keys.At(rotate), DefaultKeyBindings().At(rotate));
    EXPECT_TRUE(dialog.Message().contains("J is already used for One player: Left"))
        << dialog.Message().toStdString();

    // The same key for the other game type is no conflict.
    const KeySlot rightPlayerDown{false, kRightPlayer, kFasterDown};
    dialog.KeyButton(rightPlayerDown)->click();
    PressKey(&dialog, Qt::Key_J, kKeyJ);
    EXPECT_EQ(dialog.Chosen().keys.At(rightPlayerDown), kKeyJ);

    // Escape keeps the key; Defaults brings every key back.
    dialog.KeyButton(left)->click();
    PressKey(&dialog, Qt::Key_Escape, 9);
    EXPECT_EQ(dialog.Chosen().keys.At(left), kKeyJ);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == "&Defaults") button->click();
    }
    EXPECT_EQ(dialog.Chosen().keys, DefaultKeyBindings());
}

TEST(VolumeDialog, TheMnemonicOfItsLabelReachesTheSlider) {
    VolumeDialog dialog(40, false, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* slider = dialog.findChild<QSlider*>();
    auto* mute = dialog.findChild<QCheckBox*>();
    ASSERT_TRUE(slider && mute);
    mute->setFocus();
    QTest::keyClick(&dialog, Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(slider->hasFocus());
}

}  // namespace
}  // namespace blok::qt
