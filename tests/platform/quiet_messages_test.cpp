#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "quiet_messages.h"

using blok::qt::InstallQuietMessageHandler;

namespace {

QStringList received;

void Record(QtMsgType type, const QMessageLogContext&, const QString& text) {
    static const char* const kNames[] = {"debug", "warning", "critical", "fatal", "info"};
    received << QStringLiteral("%1 %2").arg(QString::fromLatin1(kNames[type]), text);
}

// Stands in for the handler Qt had before, so the test sees what is passed on.
class QuietMessagesTest : public testing::Test {
  protected:
    void SetUp() override {
        received.clear();
        qunsetenv("BLOKFALL_DEBUG");
        qInstallMessageHandler(Record);
    }
    void TearDown() override {
        qInstallMessageHandler(nullptr);
        qunsetenv("BLOKFALL_DEBUG");
    }

    static void SayEverything() {
        qDebug("d");
        qInfo("i");
        qWarning("w");
        qCritical("c");
    }
};

TEST_F(QuietMessagesTest, OnlyCriticalMessagesPassUnlessDebuggingIsAskedFor) {
    InstallQuietMessageHandler();
    SayEverything();
    EXPECT_EQ(received, QStringList({"critical c"}));

    received.clear();
    qputenv("BLOKFALL_DEBUG", "0");
    InstallQuietMessageHandler();  // a second install must not pass messages to itself
    SayEverything();
    EXPECT_EQ(received, QStringList({"critical c"}));

    received.clear();
    qputenv("BLOKFALL_DEBUG", "1");
    InstallQuietMessageHandler();
    SayEverything();
    EXPECT_EQ(received, QStringList({"debug d", "info i", "warning w", "critical c"}));
}

TEST(QuietMessagesDeathTest, AFatalMessageComesAfterTheWarningsThatLedToIt) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(
        {
            qunsetenv("BLOKFALL_DEBUG");
            InstallQuietMessageHandler();
            qWarning("could not connect to display :7");
            qFatal("no platform plugin could be initialized");
        },
        "could not connect to display :7\n.*no platform plugin could be initialized");
}

}  // namespace
