#include "hiscore_dialogs.h"

#include <chrono>
#include <cstring>
#include <functional>

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace blok::qt {
namespace {

// Runs `step` inside the nested loop of the next modal dialog.
void WhileModal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        step(dialog);
    });
}

QStringList LabelTexts(QWidget* dialog) {
    QStringList texts;
    for (auto* label : dialog->findChildren<QLabel*>()) texts << label->text();
    return texts;
}

TEST(NameDialog, ShowsItsTextsAndThePresetAndHasNoWayToCancel) {
    QWidget owner;
    NameDialog dialog(&owner, std::chrono::milliseconds(0));
    EXPECT_EQ(dialog.objectName(), "Dialog_2");
    EXPECT_EQ(dialog.windowTitle(), "Hiscore");
    const QStringList texts = LabelTexts(&dialog);
    EXPECT_TRUE(texts.contains("Congratulations , your in the Hiscore-Table"));
    EXPECT_TRUE(texts.contains("Tell me your name"));
    EXPECT_EQ(dialog.NameEdit()->text(), "Nobody");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    const auto buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "&OK");
    EXPECT_TRUE(buttons[0]->isDefault());
    EXPECT_EQ(dialog.parentWidget(), &owner);
}

TEST(NameDialog, TypingReplacesThePresetUpTo27CharactersAndEnterAccepts) {
    QWidget owner;
    NameDialog dialog(&owner, std::chrono::milliseconds(0));
    WhileModal([&](QWidget* modal) {
        QLineEdit* edit = dialog.NameEdit();
        EXPECT_EQ(modal, &dialog);
        QTest::keyClicks(edit, QString(40, 'k'));
        EXPECT_EQ(edit->text(), QString(27, 'k'));
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible()) << "Escape must not close the name dialog";
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), std::string(27, 'k'));
}

TEST(NameDialog, AKeyHeldFromTheGameTypesNothingUntilReleased) {
    QWidget owner;
    NameDialog dialog(&owner, std::chrono::milliseconds(0));
    QLineEdit* edit = dialog.NameEdit();
    const auto send = [edit](QEvent::Type type, bool autoRepeat) {
        QKeyEvent event(type, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"), autoRepeat);
        QApplication::sendEvent(edit, &event);
    };
    // S went down before the dialog opened: only its auto-repeat arrives.
    for (int i = 0; i < 5; ++i) {
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    EXPECT_EQ(edit->text(), "Nobody");
    send(QEvent::KeyRelease, false);
    // Pressed again while the dialog is open, it types, auto-repeat included.
    send(QEvent::KeyPress, false);
    send(QEvent::KeyPress, true);
    EXPECT_EQ(edit->text(), "ss");
}

// The game may end under keys still being hammered: what arrives in the dialog's first moments,
// Return included, neither types nor closes it.
TEST(QtHiscoreDialogs, KeysOfTheFirstMomentsAreIgnored) {
    QWidget owner;
    QtHiscoreDialogs dialogs(&owner);
    WhileModal([](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>();
        QTest::keyClicks(edit, QStringLiteral("awsd"));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(edit->text(), "Nobody");
        QTest::qWait(static_cast<int>(kNameDialogSettle.count()) + 50);
        QTest::keyClicks(edit, QStringLiteral("Ann"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.RunNameDialog(), "Ann");
}

TEST(QtHiscoreDialogs, NameComesBackAsUtf8AndAnEmptyNameIsAccepted) {
    QWidget owner;
    QtHiscoreDialogs dialogs(&owner);
    dialogs.SetNameDialogSettle(std::chrono::milliseconds(0));
    WhileModal([](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>();
        edit->setText(QString::fromUtf8("J\xC3\xB6rg"));
        QTest::keyClick(edit, Qt::Key_Enter);
    });
    EXPECT_EQ(dialogs.RunNameDialog(), "J\xC3\xB6rg");

    WhileModal([](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>();
        edit->clear();
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.RunNameDialog(), "");
}

TEST(QtHiscoreDialogs, TimersKeepFiringWhileTheNameDialogIsOpen) {
    QtHiscoreDialogs dialogs(nullptr);
    dialogs.SetNameDialogSettle(std::chrono::milliseconds(0));
    int ticks = 0;
    QTimer gameTick;
    QObject::connect(&gameTick, &QTimer::timeout, [&ticks] {
        if (++ticks == 3) {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            QTest::keyClick(modal->findChild<QLineEdit*>(), Qt::Key_Return);
        }
    });
    gameTick.start(5);
    EXPECT_EQ(dialogs.RunNameDialog(), "Nobody");
    EXPECT_GE(ticks, 3);
}

TEST(ScoreTableDialog, ShowsTenFramedRowsWithRankNameAndPoints) {
    HiscoreTable table;
    table.Hiscore[0] = 123456;
    std::memcpy(table.Hiname[0].data(), "Ann <b>", 7);
    table.Hiscore[1] = 42;
    std::memcpy(table.Hiname[1].data(), "J\xF6rg", 4);  // Latin-1 from an older file
    table.Hiname[9].fill('z');                          // no terminator at all

    QWidget owner;
    ScoreTableDialog dialog(table, &owner);
    EXPECT_EQ(dialog.objectName(), "Dialog_3");
    EXPECT_EQ(dialog.windowTitle(), "HISCORE-TABLE");
    EXPECT_TRUE(LabelTexts(&dialog).contains("NAME"));
    EXPECT_TRUE(LabelTexts(&dialog).contains("POINTS"));

    for (int row = 1; row <= 10; ++row) {
        auto* name = dialog.findChild<QLabel*>(QStringLiteral("rowName%1").arg(row));
        auto* points = dialog.findChild<QLabel*>(QStringLiteral("rowPoints%1").arg(row));
        ASSERT_TRUE(name && points) << row;
        EXPECT_TRUE(name->text().startsWith(QStringLiteral("%1. ").arg(row)));
        EXPECT_TRUE(name->alignment() & Qt::AlignLeft);
        EXPECT_TRUE(points->alignment() & Qt::AlignRight);
        auto* frame = qobject_cast<QFrame*>(name->parentWidget());
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(points->parentWidget(), frame);
    }
    auto label = [&](const char* objectName) {
        return dialog.findChild<QLabel*>(QString::fromLatin1(objectName))->text().toStdString();
    };
    EXPECT_EQ(label("rowName1"), "1. Ann <b>");
    EXPECT_EQ(label("rowPoints1"), "123456");
    EXPECT_EQ(label("rowName2"), "2. J\xC3\xB6rg");
    EXPECT_EQ(label("rowName3"), "3. ");
    EXPECT_EQ(label("rowPoints3"), "0");
    EXPECT_EQ(label("rowName10"), "10. " + std::string(30, 'z'));
}

TEST(QtHiscoreDialogs, ScoreTableClosesWithItsDefaultOkButton) {
    QtHiscoreDialogs dialogs(nullptr);
    bool sawTable = false;
    WhileModal([&](QWidget* modal) {
        sawTable = modal->objectName() == "Dialog_3";
        auto* ok = modal->findChild<QPushButton*>();
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        QTest::keyClick(modal, Qt::Key_Return);
    });
    dialogs.RunScoreTable(HiscoreTable{});
    EXPECT_TRUE(sawTable);
}

TEST(HiscoreDialogs, LostEntryIsReportedInAWarningBox) {
    QtHiscoreDialogs dialogs;
    QString shown;
    WhileModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->windowTitle() + ": " + box->text();
        box->accept();
    });
    dialogs.ReportSaveFailure("The high score could not be saved to \"/x/hiscore.dat\": Gone.");
    EXPECT_EQ(shown, "Hiscore: The high score could not be saved to \"/x/hiscore.dat\": Gone.");
}

}  // namespace
}  // namespace blok::qt

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
