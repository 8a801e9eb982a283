#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hiscore_file.h"
#include "hiscore_table.h"
#include "services.h"

namespace blok {

// The two modal dialogs of the table. Both run nested event loops: timers keep firing.
class HiscoreDialogs {
  public:
    virtual ~HiscoreDialogs() = default;
    // Asks a player who has entered the table for a name (UTF-8); cannot be cancelled.
    virtual std::string RunNameDialog() = 0;
    virtual void RunScoreTable(const HiscoreTable& table) = 0;
    // Tells the player that a new entry could not be saved (also on stderr).
    virtual void ReportSaveFailure(const std::string& text) = 0;
};

// The table kept in hiscore.dat, with the playlist's music words travelling in the same file.
class HiscoreFileBook : public HiscoreBook {
  public:
    // `path` is normally "hiscore.dat" in the working directory; `stillPlayed` is the playlist's
    // record of songs played, which must outlive the book.
    HiscoreFileBook(std::string path, std::span<std::int32_t, kMusicWords> stillPlayed,
                    HiscoreDialogs& dialogs, SaveCalls& calls);
    HiscoreFileBook(std::string path, std::span<std::int32_t, kMusicWords> stillPlayed,
                    HiscoreDialogs& dialogs);
    HiscoreFileBook(const HiscoreFileBook&) = delete;
    HiscoreFileBook& operator=(const HiscoreFileBook&) = delete;

    // A missing or unreadable file leaves the table empty and the music words as they are.
    void Load() override;
    // Merges the entries this copy added and has not saved yet into the table as it now stands
    // on disk (another copy of the game may have saved since), with this copy's music words and
    // reserved words, and writes that, all under the folder's lock. A failure is reported to the
    // player only when it loses a new entry.
    void Save() override;
    // The same, telling whether hiscore.dat now holds them.
    bool SaveNow();
    bool WouldEnter(std::uint32_t Up1Points, int noScore) const override;
    // A new entry is saved at once, before the table is shown, so a crash cannot lose it.
    void CheckPlayer1Hiscore(std::uint32_t Up1Points, int noScore) override;
    void ShowScore() override;

    const HiscoreTable& Table() const { return table_; }

  private:
    struct NewEntry {
        NameField name;
        std::uint32_t score;
    };

    HiscoreTable MergedWithDisk(const std::string& target) const;
    void ReportFailure(int error);

    std::string path_;
    std::span<std::int32_t, kMusicWords> stillPlayed_;
    HiscoreDialogs& dialogs_;
    SaveCalls ownCalls_;
    SaveCalls& calls_;
    HiscoreTable table_;
    std::vector<NewEntry> unsaved_;  // entered in this run, not yet on disk
    // The typed name; its bytes after the terminator live on from one entry to the next.
    NameField NAME{};
};

}  // namespace blok
