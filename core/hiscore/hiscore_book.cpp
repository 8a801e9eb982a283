#include "hiscore_book.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace blok {

HiscoreFileBook::HiscoreFileBook(std::string path, std::span<std::int32_t, kMusicWords> stillPlayed,
                                 HiscoreDialogs& dialogs, SaveCalls& calls)
    : path_(std::move(path)), stillPlayed_(stillPlayed), dialogs_(dialogs), calls_(calls) {}

HiscoreFileBook::HiscoreFileBook(std::string path, std::span<std::int32_t, kMusicWords> stillPlayed,
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

void HiscoreFileBook::Save() {
    SaveNow();
}

HiscoreTable HiscoreFileBook::MergedWithDisk(const std::string& target) const {
    HiscoreTable merged;  // stays empty when there is no file
    if (ReadHiscoreForMerge(target, merged) == HiscoreDiskState::Unreadable) {
        return table_;  // nothing to merge with: this copy's table is all there is
    }
    for (const NewEntry& entry : unsaved_) {
        EnterHiscore(merged, HiscorePlace(merged, entry.score), entry.name, entry.score);
    }
    merged.reservedA = table_.reservedA;
    merged.reservedB = table_.reservedB;
    merged.stillPlayed = table_.stillPlayed;
    return merged;
}

bool HiscoreFileBook::SaveNow() {
    std::copy(stillPlayed_.begin(), stillPlayed_.end(), table_.stillPlayed.begin());
    const std::string target = SaveTarget(path_);
    const FolderLock lock(target);
    table_ = MergedWithDisk(target);
    const int error = SaveHiscoreFileError(target, table_, calls_);
    if (error == 0) {
        unsaved_.clear();
    } else if (!unsaved_.empty()) {
        ReportFailure(error);
    }
    return error == 0;
}

void HiscoreFileBook::ReportFailure(int error) {
    std::error_code ignored;
    const std::filesystem::path shown = std::filesystem::absolute(path_, ignored);
    dialogs_.ReportSaveFailure("The high score could not be saved to \"" + shown.string() +
                               "\": " + std::generic_category().message(error) + ".");
}

bool HiscoreFileBook::WouldEnter(std::uint32_t Up1Points, int noScore) const {
    // A face-to-face fight has no place in the table.
    return noScore == 0 && HiscorePlace(table_, Up1Points) != kNoPlace;
}

void HiscoreFileBook::CheckPlayer1Hiscore(std::uint32_t Up1Points, int noScore) {
    if (!WouldEnter(Up1Points, noScore)) return;
    const int place = HiscorePlace(table_, Up1Points);
    ReadTypedName(dialogs_.RunNameDialog(), NAME);
    EnterHiscore(table_, place, NAME, Up1Points);
    unsaved_.push_back({NAME, Up1Points});
    SaveNow();
    dialogs_.RunScoreTable(table_);
}

void HiscoreFileBook::ShowScore() {
    dialogs_.RunScoreTable(table_);
}

}  // namespace blok
