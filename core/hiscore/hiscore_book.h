#pragma once

#include <cstdint>
#include <span>
#include <string>

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
    // Writes the table and the current music words; failures are silent here (see SaveNow).
    void Save() override;
    // The same, telling whether hiscore.dat now holds them.
    bool SaveNow();
    // A new entry is saved at once, before the table is shown, so a crash cannot lose it.
    void CheckPlayer1Hiscore(std::uint32_t Up1Points, int noScore) override;
    void ShowScore() override;

    const HiscoreTable& Table() const { return table_; }

private:
    std::string path_;
    std::span<std::int32_t, kMusicWords> stillPlayed_;
    HiscoreDialogs& dialogs_;
    SaveCalls ownCalls_;
    SaveCalls& calls_;
    HiscoreTable table_;
    // The typed name; its bytes after the terminator live on from one entry to the next.
    NameField NAME{};
};

}  // namespace blok
