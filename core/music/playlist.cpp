#include "playlist.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

namespace blok {

// Row n names the song in music/<n+1>.mid. Rows beyond the songs stay empty.
const std::array<std::string_view, kMusicRows> musicInfo = {
    "Now Playing: Beethoven - Ode to Joy",
    "Now Playing: Grieg - In the Hall of the Mountain King",
    "Now Playing: Traditional English - Greensleeves",
    "Now Playing: Traditional English - Scarborough Fair",
    "Now Playing: Mozart - Rondo alla Turca",
    "Now Playing: Pachelbel - Canon in D",
    "Now Playing: Beethoven - Fur Elise",
    "Now Playing: Rossini - William Tell Overture Finale",
    "Now Playing: Offenbach - Galop Infernal (Can-can)",
    "Now Playing: Scott Joplin - The Entertainer",
    "Now Playing: Sea Shanty - Drunken Sailor",
    "Now Playing: Traditional French - Frere Jacques",
    "Now Playing: Tchaikovsky - Swan Lake Theme",
    "Now Playing: Bizet - Habanera",
    "Now Playing: Grieg - Morning Mood",
    "Now Playing: Johann Strauss II - The Blue Danube",
    "Now Playing: Petzold - Minuet in G",
    "Now Playing: Mozart - Eine kleine Nachtmusik",
    "Now Playing: Stephen Foster - Oh! Susanna",
};

Playlist::Playlist(Mci& mci, Random& rng, std::filesystem::path gameFolder)
    : mci_(mci), rng_(rng), gameFolder_(std::move(gameFolder)) {}

Playlist::~Playlist() = default;

void Playlist::musicInit() {
    akt = -1;
}

void Playlist::letMusicPlay() {
    if (NOMUSIC != 0) return;
    if (akt == -1) {
        getNewSong();
        return;
    }
    if (!music) return;  // the music has been ended for good
    music->IsDone(&test);
    if (test != 0) {
        EndSong();
        getNewSong();
    }
}

void Playlist::getNewSong() {
    // A table longer than the flags would draw indexes beyond them.
    const int songs = std::clamp(maxmusic, 1, kMusicRows);
    const auto flags = stillPlayed.begin();
    if (std::all_of(flags, flags + songs, [](int played) { return played != 0; }))
        std::fill(flags, flags + songs, 0);

    int r = 0;
    do {
        r = rng_.Next() % songs;
    } while (stillPlayed[static_cast<std::size_t>(r)] == 1);
    akt = r;
    stillPlayed[static_cast<std::size_t>(akt)] = 1;

    const std::string name = (gameFolder_ / "music" / (std::to_string(r + 1) + ".mid")).string();
    try {
        music = std::make_unique<MciMidi>(mci_, name.c_str());
    } catch (const std::bad_alloc&) {
        music.reset();
        NOMUSIC = 1;
        return;
    }
    NOMUSIC = music->Play() != 0 ? 1 : 0;
}

void Playlist::musicPause() {
    if (mpause == 1) {
        if (music) music->Play();
        mpause = 0;
    } else {
        if (music) music->Pause();
        mpause = 1;
    }
}

void Playlist::skipSong() {
    EndSong();
    getNewSong();
}

void Playlist::musicKill() {
    EndSong();
}

std::string_view Playlist::CurrentCaption() const {
    if (akt < 0 || akt >= kMusicRows) return {};
    return musicInfo[static_cast<std::size_t>(akt)];
}

void Playlist::EndSong() {
    if (!music) return;
    music->Stop();
    music->Reset();
    music.reset();
}

}  // namespace blok
