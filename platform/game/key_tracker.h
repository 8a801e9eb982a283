#pragma once

#include <bitset>

#include <QObject>

namespace blok::qt {

// Virtual-key code of a Qt key, 0 for keys the game never reads. Letters and digits keep their
// character code; the cursor keys are Left 37, Up 38, Right 39, Down 40.
int VirtualKeyOf(int qtKey);

// The keyboard as the game polls it. Installed on the application, it sees every key event of
// every window of the game, so a key pressed while a dialog has the focus still counts.
// The filter may see one event several times (once per widget it propagates through), so the
// states are sets, never counters.
class KeyTracker : public QObject {
public:
    explicit KeyTracker(QObject* parent = nullptr);

    // The key went down at least once since the previous reading; reading it consumes it.
    bool PressedSinceLastRead(int virtualKey);
    // The key is down now.
    bool Held(int virtualKey) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr std::size_t kKeys = 256;
    static bool Valid(int virtualKey) { return virtualKey > 0 && virtualKey < int(kKeys); }

    std::bitset<kKeys> pressed_;
    std::bitset<kKeys> held_;
};

}  // namespace blok::qt
