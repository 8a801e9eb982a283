#include "quiet_messages.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace blok::qt {
namespace {

struct Dropped {
    QtMsgType type;
    QByteArray category;
    QString text;
};

constexpr std::size_t kRecentKept = 16;

QtMessageHandler passOn = nullptr;
bool verbose = false;
std::mutex recentMutex;  // Qt may speak from any thread
std::deque<Dropped> recent;
const char* programWithoutDisplay = nullptr;

bool DebugRequested() {
    const QByteArray value = qgetenv("BLOKFALL_DEBUG");
    return !value.isEmpty() && value != "0";
}

void Remember(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(recentMutex);
    recent.push_back({type, QByteArray(context.category), text});
    if (recent.size() > kRecentKept) recent.pop_front();
}

void PassOnRecent() {
    const std::lock_guard lock(recentMutex);
    for (const Dropped& message : recent) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        passOn(message.type, context, message.text);
    }
    recent.clear();
}

// The toolkit's last word when no window system could be reached.
bool NoWindowSystem(QtMsgType type, const QString& text) {
    return type == QtFatalMsg &&
           text.contains(QLatin1String("no Qt platform plugin could be initialized"));
}

[[noreturn]] void ExitWithoutDisplay() {
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        std::fprintf(stderr, "%s: cannot open a display (DISPLAY is not set).\n",
                     programWithoutDisplay);
    } else {
        std::fprintf(stderr, "%s: cannot open display \"%s\".\n", programWithoutDisplay,
                     display.constData());
    }
    // Nothing was started yet that would need an orderly end.
    std::_Exit(1);
}

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (programWithoutDisplay != nullptr && NoWindowSystem(type, text)) ExitWithoutDisplay();
    const bool serious = type == QtCriticalMsg || type == QtFatalMsg;
    if (!serious && !verbose) {
        Remember(type, context, text);
        return;
    }
    if (type == QtFatalMsg) PassOnRecent();
    passOn(type, context, text);
}

}  // namespace

void InstallQuietMessageHandler() {
    verbose = DebugRequested();
    const QtMessageHandler previous = qInstallMessageHandler(Filter);
    if (previous != Filter) passOn = previous;  // installed twice: keep the real one
    const std::lock_guard lock(recentMutex);
    recent.clear();
}

void ExitPlainlyWithoutDisplay(const char* program) {
    programWithoutDisplay = program;
}

}  // namespace blok::qt
