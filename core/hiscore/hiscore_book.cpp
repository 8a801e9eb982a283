#include "hiscore_book.h"

#include <algorithm>
#include <utility>

namespace blok {

HiscoreFileBook::HiscoreFileBook(std::string path,
                                 std::span<std::int32_t, kMusicWords> stillPlayed,
                                 HiscoreDialogs& dialogs, SaveCalls& calls)
    : path_(std::move(path)), stillPlayed_(stillPlayed), dialogs_(dialogs), calls_(calls) {}

HiscoreFileBook::HiscoreFileBook(std::string path,
                                 std::span<std::int32_t, kMusicWords> stillPlayed,
                                 HiscoreDialogs& dialogs)
    // Not delegated: the member may be named only once the object's construction has begun.
    : path_(std::move(path)), stillPlayed_(stillPlayed), dialogs_(dialogs), calls_(ownCalls_) {}

void HiscoreFileBook::Load() {
    // Music words the file does not reach keep the playlist's values.
    std::copy(stillPlayed_.begin(), stillPlayed_.end(), table_.stillPlayed.begin());
    if (LoadHiscoreFile(path_, table_)) {
        std::copy(table_.stillPlayed.begin(), table_.stillPlayed.end(), stillPlayed_.begin());
    }
}

void HiscoreFileBook::Save() { SaveNow(); }

bool HiscoreFileBook::SaveNow() {
    std::copy(stillPlayed_.begin(), stillPlayed_.end(), table_.stillPlayed.begin());
    return SaveHiscoreFile(path_, table_, calls_);
}

void HiscoreFileBook::CheckPlayer1Hiscore(std::uint32_t Up1Points, int noScore) {
    if (noScore != 0) return;  // a face-to-face fight has no place in the table
    const int place = HiscorePlace(table_, Up1Points);
    if (place == kNoPlace) return;
    ReadTypedName(dialogs_.RunNameDialog(), NAME);
    EnterHiscore(table_, place, NAME, Up1Points);
    SaveNow();
    dialogs_.RunScoreTable(table_);
}

void HiscoreFileBook::ShowScore() { dialogs_.RunScoreTable(table_); }

}  // namespace blok
