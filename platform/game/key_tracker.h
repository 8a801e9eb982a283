#pragma once

#include <bitset>

#include <QObject>

#include "key_bindings.h"

class QKeyEvent;

namespace blok::qt {

// Virtual-key code of a Qt key, 0 for keys the game never reads. Letters and digits keep their
// character code; the cursor keys are Left 37, Up 38, Right 39, Down 40.
int VirtualKeyOf(int qtKey);
// The physical key of a key event: the desktop's key code, or for an event without one (made
// up by a test or a platform without a keyboard of its own) the key that carries its character
// on a US layout. kNoKey for anything else.
PhysicalKey PhysicalKeyOf(const QKeyEvent& event);

// The keyboard as the game polls it, by physical key, so the game's keys are where they are on
// any layout. Installed on the application, it sees every key event of
// every window of the game, so a key pressed while a dialog has the focus still counts.
// The filter may see one event several times (once per widget it propagates through), so the
// states are sets, never counters.
class KeyTracker : public QObject {
  public:
    explicit KeyTracker(QObject* parent = nullptr);

    // The key went down at least once since the previous reading; reading it consumes it.
    bool PressedSinceLastRead(PhysicalKey key);
    // The key is down now.
    bool Held(PhysicalKey key) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr std::size_t kKeys = kLastPhysicalKey + 1;
    static bool Valid(PhysicalKey key) { return key > kNoKey && key < int(kKeys); }

    std::bitset<kKeys> pressed_;
    std::bitset<kKeys> held_;
};

}  // namespace blok::qt
