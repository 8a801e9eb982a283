// Plays many whole games of every type with random keys and timer events, and checks after every
// tick that the field, the pieces, the scores and the fight tally stay in a state the rules can
// produce. Usage: blokfall-soak [--seed N] [--games N]. A failure names the game's own seed;
// `--seed S --games 1` replays that game alone.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game.h"

namespace {

using blok::Field;
using blok::figure;
using blok::Game;

constexpr std::uint64_t kDefaultBaseSeed = 20240611;
constexpr long kDefaultGames = 10002;
// A game that has not ended by then is left with "Quit Game", so that every run ends.
constexpr int kMaxTicksPerGame = 5000;
constexpr int kPlayingRows = 20;

struct SoakFailure {
    std::string what;
};

[[noreturn]] void Fail(const std::string& what) {
    throw SoakFailure{what};
}

// The event source of one game, independent of the game's own generator.
class Dice {
  public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // True with a chance of percent in 100.
    bool Percent(int percent) { return static_cast<int>(Next() % 100) < percent; }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

// A keyboard that players hammer at random; presses stay pending until they are read.
class RandomHost : public blok::GameHost {
  public:
    bool PressedSinceLastRead(int virtualKey) override { return pressed.erase(virtualKey) > 0; }
    bool Held(int virtualKey) override { return held.count(virtualKey) > 0; }
    void ShowMessage(std::string_view text, std::string_view caption) override {
        messages.push_back(std::string(text) + "|" + std::string(caption) + "|" +
                           std::to_string(game->iGameStatus));
    }
    void RestartGravityTimer(int milliseconds) override { lastRestart = milliseconds; }

    std::set<int> pressed;
    std::set<int> held;
    std::vector<std::string> messages;
    int lastRestart = 0;
    const Game* game = nullptr;
};

struct Area {
    int left;
    int width;
    bool Contains(int x) const { return x >= left && x < left + width; }
};

// How one player plays a whole game: how often each request comes.
struct Style {
    int downHeld;
    int sideways;
    int turn;
    bool aims;  // steers each piece to where it falls deepest, so that rows fill up
};

// Where an aiming player wants its current piece.
struct Aim {
    int y = 1 << 20;  // above any row, so that the first piece is aimed
    blok::Matrix targetStone{};
    int targetX = 0;
};

blok::Matrix TurnedQuarter(const blok::Matrix& m) {
    blok::Matrix turned{};
    for (std::size_t dx = 0; dx < 4; ++dx) {
        for (std::size_t dy = 0; dy < 4; ++dy) turned[dx][dy] = m[3 - dy][dx];
    }
    return turned;
}

struct Totals {
    long games[3] = {};
    long ticks = 0;
    long quits = 0;
    long fights = 0;
    long bouts = 0;
    long rows = 0;
    int longestGame = 0;
};

class SoakGame {
  public:
    SoakGame(std::uint64_t seed, Totals& totals)
        : dice_(seed),
          random_(static_cast<std::uint32_t>(seed)),
          game_(random_, host_),
          type_(3 + static_cast<int>(seed % 3)),
          totals_(totals) {
        host_.game = &game_;
        for (Style& style : styles_) {
            style = {10 + dice_.Below(60), 10 + dice_.Below(50), 5 + dice_.Below(30),
                     dice_.Percent(50)};
            if (style.aims) style.downHeld += 30;  // keeps the long, row-clearing games short
        }
        BuildExpectedLayout();
    }

    int type() const { return type_; }
    int tick() const { return tick_; }

    void Play() {
        if (type_ == blok::kStatusFaceToFace) {
            // As left behind by a fight abandoned earlier.
            game_.won1 = dice_.Below(3);
            game_.won2 = dice_.Below(3);
        }
        boutsBefore_ = boutsThisFight_ = game_.won1 + game_.won2;
        // What the start dialog and the title screen leave behind.
        game_.iGameStatus = type_;
        game_.GameInit = 1;
        game_.noScore = type_ == blok::kStatusFaceToFace ? 1 : 0;
        Paint();
        Snapshot();
        Check();

        for (tick_ = 1; tick_ <= kMaxTicksPerGame; ++tick_) {
            RandomEvent();
            Check();
            if (game_.iGameStatus == blok::kStatusTitlePending) {
                // Ticks may still come before the paint that ends the game.
                for (int extra = dice_.Below(3); extra > 0; --extra) {
                    dice_.Percent(50) ? Gravity() : Input();
                    Check();
                }
                break;
            }
        }
        if (game_.iGameStatus != blok::kStatusTitlePending) {
            game_.iGameStatus = blok::kStatusTitlePending;  // "Quit Game"
            ++totals_.quits;
        }
        totals_.ticks += tick_;
        totals_.longestGame = std::max(totals_.longestGame, tick_);
        ++totals_.games[type_ - 3];
    }

  private:
    void RandomEvent() {
        const int roll = dice_.Below(100);
        if (roll < 65) {
            Input();
        } else if (roll < 93) {
            Gravity();
        } else if (roll < 96) {
            game_.SpeedUpTick();
        } else {
            Paint();
        }
    }

    void Gravity() { game_.GravityTick(); }

    void Input() {
        const bool paused = game_.gamePause == 1;
        if (dice_.Percent(paused ? 30 : 1)) host_.pressed.insert(blok::kKeyP);
        host_.held.clear();
        PlayerKeys(0, game_.key1left, game_.key1right, game_.key1up, game_.key1down);
        PlayerKeys(1, game_.key2left, game_.key2right, game_.key2up, game_.key2down);
        if (game_.InputTick() && dice_.Percent(90)) Paint();
    }

    void PlayerKeys(int player, int left, int right, int up, int down) {
        const Style& style = styles_[player];
        const figure& piece = player == 0 ? game_.AktuellerSpielStein1 : game_.AktuellerSpielStein2;
        if (style.aims && piece.what != 1) {
            Aim& aim = aims_[player];
            if (piece.y < aim.y) ChooseTarget(piece, aim);
            aim.y = piece.y;
            if (piece.what == 2 && piece.stone != aim.targetStone && dice_.Percent(80)) {
                host_.pressed.insert(up & 0xFF);
            }
            if (piece.x > aim.targetX) {
                host_.pressed.insert(left & 0xFF);
            } else if (piece.x < aim.targetX) {
                host_.pressed.insert(right & 0xFF);
            } else if (dice_.Percent(style.downHeld)) {
                host_.held.insert(down & 0xFF);
            }
            return;
        }
        for (int code : {left, right}) {
            if (dice_.Percent(style.sideways / 2)) host_.pressed.insert(code & 0xFF);
            if (dice_.Percent(style.sideways / 4)) host_.held.insert(code & 0xFF);
        }
        if (dice_.Percent(style.turn)) host_.pressed.insert(up & 0xFF);
        if (dice_.Percent(style.downHeld)) host_.held.insert(down & 0xFF);
    }

    // The turn and the column, reachable sideways from where the piece is, at which the piece
    // dropped straight down rests best; ties are broken at random.
    void ChooseTarget(const figure& piece, Aim& aim) {
        int bestScore = -1000;
        blok::Matrix stone = piece.stone;
        // A rough test of the field alone: good enough to aim, and cheap.
        const auto free = [&](int x, int y) {
            for (int dx = 0; dx < 4; ++dx) {
                for (int dy = 0; dy < 4; ++dy) {
                    if (stone[static_cast<std::size_t>(dx)][static_cast<std::size_t>(dy)] == 0) {
                        continue;
                    }
                    const int cx = x + dx;
                    const int cy = y + dy;
                    if (cx < 0 || cx >= blok::kFieldColumns || cy < 0 || cy >= kPlayingRows + 1) {
                        return false;
                    }
                    const std::int16_t v = Cell(cx, cy);
                    if (v > 0 && v < blok::kBlast) return false;
                }
            }
            return true;
        };
        for (int turn = 0; turn < 4; ++turn, stone = TurnedQuarter(stone)) {
            if (!free(piece.x, piece.y)) continue;
            int leftmost = piece.x;
            while (free(leftmost - 1, piece.y)) --leftmost;
            int rightmost = piece.x;
            while (free(rightmost + 1, piece.y)) ++rightmost;
            for (int x = leftmost; x <= rightmost; ++x) {
                int y = piece.y;
                while (free(x, y + 1)) ++y;
                const int score = RestingScore(stone, x, y);
                if (score > bestScore || (score == bestScore && dice_.Percent(40))) {
                    bestScore = score;
                    aim.targetX = x;
                    aim.targetStone = stone;
                }
            }
        }
    }

    // Low cells are good, empty cells left underneath are bad.
    int RestingScore(const blok::Matrix& stone, int x, int y) const {
        int score = 0;
        for (int dx = 0; dx < 4; ++dx) {
            for (int dy = 0; dy < 4; ++dy) {
                const auto occupied = [&](int row) {
                    return row < 4 &&
                           stone[static_cast<std::size_t>(dx)][static_cast<std::size_t>(row)] != 0;
                };
                if (!occupied(dy)) continue;
                score += y + dy;
                if (!occupied(dy + 1) && y + dy + 1 < kPlayingRows &&
                    game_.CellAt(x + dx, y + dy + 1) == blok::kEmpty) {
                    score -= 8;
                }
            }
        }
        return score;
    }

    // The paint handler: a game to start is started, and the frame clears the blast markers
    // it draws.
    void Paint() {
        const int status = game_.iGameStatus;
        if (status < blok::kStatusOnePlayer || status > blok::kStatusFaceToFace) return;
        if (game_.GameInit == 1) {
            game_.StartFromPaint();
            host_.lastRestart = game_.gamespeed;  // the paint handler starts the gravity timer
            if (host_.pressed.count(blok::kKeyP) != 0) Fail("pause press survived the start");
        }
        for (const Area& area : areas_) {
            for (int x = area.left; x < area.left + area.width; ++x) {
                for (int y = 0; y < kPlayingRows; ++y) {
                    if (Cell(x, y) == blok::kBlast) CellRef(x, y) = blok::kEmpty;
                }
            }
        }
    }

    std::int16_t Cell(int x, int y) const {
        return game_.SpielFeld[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
    }
    std::int16_t& CellRef(int x, int y) {
        return game_.SpielFeld[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
    }

    void BuildExpectedLayout() {
        const bool cooperative = type_ == blok::kStatusCooperative;
        for (auto& column : layout_) column[20] = blok::kWall;
        for (int wall : cooperative ? std::vector<int>{1, 22} : std::vector<int>{1, 12, 23}) {
            layout_[static_cast<std::size_t>(wall)].fill(blok::kWall);
        }
        if (cooperative) {
            areas_ = {{2, 20}};
            pieceAreas_[0] = pieceAreas_[1] = {2, 20};
        } else if (type_ == blok::kStatusFaceToFace) {
            areas_ = {{2, 10}, {13, 10}};
            pieceAreas_[0] = {2, 10};
            pieceAreas_[1] = {13, 10};
        } else {
            areas_ = {{2, 10}};
            pieceAreas_[0] = {2, 10};
            pieceAreas_[1] = {13, 10};  // player 2 gets a piece only in the ticks after the end
        }
        for (const Area& area : areas_) {
            for (int x = area.left; x < area.left + area.width; ++x) {
                inArea_[static_cast<std::size_t>(x)] = true;
            }
        }
    }

    bool InPlayingArea(int x) const { return inArea_[static_cast<std::size_t>(x)]; }

    bool AllowedInArea(std::int16_t v) const {
        if (v >= 0 && v <= 6) return true;
        if (v == blok::kBlast) return true;
        return v == blok::kPenalty && type_ == blok::kStatusFaceToFace;
    }

    void CheckField() {
        for (int x = 0; x < blok::kFieldColumns; ++x) {
            const auto& column = game_.SpielFeld[static_cast<std::size_t>(x)];
            const auto& expected = layout_[static_cast<std::size_t>(x)];
            if (!InPlayingArea(x)) {
                if (column != expected) Fail(Where("wall, floor or unused cells changed", x));
                continue;
            }
            if (!std::equal(column.begin() + kPlayingRows, column.end(),
                            expected.begin() + kPlayingRows)) {
                Fail(Where("floor or rows below it changed", x));
            }
            for (int y = 0; y < kPlayingRows; ++y) {
                if (!AllowedInArea(column[static_cast<std::size_t>(y)])) {
                    Fail(Where("cell value " + std::to_string(column[static_cast<std::size_t>(y)]),
                               x, y));
                }
            }
        }
    }

    // While the game runs, every landing has had its complete rows removed.
    void CheckNoCompleteRows() {
        for (const Area& area : areas_) {
            for (int y = 0; y < kPlayingRows; ++y) {
                bool complete = true;
                for (int x = area.left; x < area.left + area.width && complete; ++x) {
                    const std::int16_t v = Cell(x, y);
                    complete = v != blok::kEmpty && v != blok::kPenalty;
                }
                if (complete) Fail(Where("complete row left standing", area.left, y));
            }
        }
    }

    void CheckPiece(const figure& piece, const Area& area, const char* name) {
        if (piece.what == 1) return;
        if (piece.what != 2 && piece.what != 3)
            Fail(std::string(name) + " in state " + std::to_string(piece.what));
        int cells = 0;
        for (int dx = 0; dx < 4; ++dx) {
            for (int dy = 0; dy < 4; ++dy) {
                if (piece.stone[static_cast<std::size_t>(dx)][static_cast<std::size_t>(dy)] == 0) {
                    continue;
                }
                ++cells;
                const int x = piece.x + dx;
                const int y = piece.y + dy;
                if (!area.Contains(x) || y < 0 || y >= kPlayingRows) {
                    Fail(Where(std::string(name) + " outside its area", x, y));
                }
            }
        }
        if (piece.what == 3 && piece.stone != blok::Stein[7]) Fail(std::string(name) + " odd bomb");
        if (piece.what == 2 && (cells != 4 || piece.color < 1 || piece.color > 6)) {
            Fail(std::string(name) + " odd piece");
        }
    }

    void CheckScore(int statusBefore) {
        const std::uint32_t up1 = game_.Up1Points;
        const std::uint32_t up2 = game_.Up2Points;
        const int status = game_.iGameStatus;
        if (status == blok::kStatusFaceToFace && (up1 != 0 || up2 != 0))
            Fail("points face to face");
        const bool cooperativeEnd =
            statusBefore == blok::kStatusCooperative && status == blok::kStatusTitlePending;
        if (cooperativeEnd) {
            const std::uint32_t sum = up1Before_ + up2Before_;
            if (up2 > 1 || (up1 != (sum + 1) / 2 && up1 != (sum + 2) / 2)) {
                Fail("cooperative end: " + std::to_string(up1Before_) + "+" +
                     std::to_string(up2Before_) + " became " + std::to_string(up1) + "/" +
                     std::to_string(up2));
            }
        } else if (statusBefore != blok::kStatusFaceToFace) {
            if (up1 < up1Before_ || up2 < up2Before_) Fail("points went down");
        }
        if (type_ == blok::kStatusOnePlayer && status == blok::kStatusOnePlayer) {
            totals_.rows += (up1 - up1Before_) / 10;
        }
    }

    void CheckFight(int statusBefore) {
        if (type_ != blok::kStatusFaceToFace) {
            if (game_.GameInit != 0) Fail("a new start outside a fight");
            if (!host_.messages.empty()) Fail("a message outside a fight");
            return;
        }
        const int tally = game_.won1 + game_.won2;
        if (game_.iGameStatus == blok::kStatusFaceToFace) {
            if (game_.won1 > 2 || game_.won2 > 2 || game_.won1 < 0 || game_.won2 < 0) {
                Fail("tally " + std::to_string(game_.won1) + ":" + std::to_string(game_.won2));
            }
            if (tally < wonBefore_) Fail("tally went down");
            boutsThisFight_ += tally - wonBefore_;
            if (!host_.messages.empty()) Fail("message while the fight goes on");
            return;
        }
        if (statusBefore != blok::kStatusFaceToFace) return;
        // The fight has just been decided, by the bout that gave one side its third win; the
        // message is shown once the game is already over.
        ++totals_.fights;
        totals_.bouts += ++boutsThisFight_ - boutsBefore_;
        if (boutsThisFight_ > 5) Fail("fight over " + std::to_string(boutsThisFight_) + " bouts");
        const std::string right = "Player on the right side wins|End of Fight|1";
        const std::string left = "Player on the left side wins|End of Fight|1";
        if (host_.messages.size() != 1 ||
            (host_.messages[0] != right && host_.messages[0] != left)) {
            Fail("end of fight messages: " + std::to_string(host_.messages.size()));
        }
        const int winnerBefore = host_.messages[0] == right ? won2Before_ : won1Before_;
        if (winnerBefore != 2) Fail("fight won by a side with " + std::to_string(winnerBefore));
        if (game_.won1 != 0 || game_.won2 != 0) Fail("tally kept after the fight");
        host_.messages.clear();
    }

    void Check() {
        CheckField();
        const int status = game_.iGameStatus;
        if (status != type_ && status != blok::kStatusTitlePending)
            Fail("status " + std::to_string(status));
        if (status == type_) CheckNoCompleteRows();
        CheckPiece(game_.AktuellerSpielStein1, pieceAreas_[0], "piece 1");
        if (type_ != blok::kStatusOnePlayer || status == blok::kStatusTitlePending) {
            CheckPiece(game_.AktuellerSpielStein2, pieceAreas_[1], "piece 2");
        } else if (game_.AktuellerSpielStein2.what != 1) {
            Fail("a second piece in the one-player game");
        }
        CheckScore(statusBefore_);
        CheckFight(statusBefore_);
        if (game_.gamespeed < blok::kFastestSpeedMs || game_.gamespeed > blok::kStartSpeedMs) {
            Fail("gravity interval " + std::to_string(game_.gamespeed));
        }
        if (host_.lastRestart != 0 && host_.lastRestart != game_.gamespeed) {
            Fail("gravity timer restarted with " + std::to_string(host_.lastRestart));
        }
        if (game_.STOP != game_.gamePause) Fail("pause and stop disagree");
        Snapshot();
    }

    void Snapshot() {
        statusBefore_ = game_.iGameStatus;
        up1Before_ = game_.Up1Points;
        up2Before_ = game_.Up2Points;
        won1Before_ = game_.won1;
        won2Before_ = game_.won2;
        wonBefore_ = game_.won1 + game_.won2;
    }

    static std::string Where(const std::string& what, int x, int y = -1) {
        std::ostringstream s;
        s << what << " at column " << x;
        if (y >= 0) s << ", row " << y;
        return s.str();
    }

    Dice dice_;
    blok::Random random_;
    RandomHost host_;
    Game game_;
    int type_;
    Totals& totals_;
    Style styles_[2]{};
    Aim aims_[2]{};
    Field layout_{};
    std::vector<Area> areas_;
    std::array<bool, blok::kFieldColumns> inArea_{};
    Area pieceAreas_[2]{};
    int tick_ = 0;
    int boutsBefore_ = 0;
    int boutsThisFight_ = 0;
    int statusBefore_ = 0;
    std::uint32_t up1Before_ = 0;
    std::uint32_t up2Before_ = 0;
    int won1Before_ = 0;
    int won2Before_ = 0;
    int wonBefore_ = 0;
};

bool ParseCount(const char* text, std::uint64_t& value) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || text[0] == '-') return false;
    value = parsed;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t baseSeed = kDefaultBaseSeed;
    std::uint64_t games = kDefaultGames;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        std::uint64_t* target = option == "--seed"    ? &baseSeed
                                : option == "--games" ? &games
                                                      : nullptr;
        if (target == nullptr || i + 1 >= argc || !ParseCount(argv[++i], *target)) {
            std::cerr << "usage: blokfall-soak [--seed N] [--games N]\n";
            return 2;
        }
    }

    Totals totals;
    for (std::uint64_t index = 0; index < games; ++index) {
        const std::uint64_t seed = baseSeed + index;
        SoakGame game(seed, totals);
        try {
            game.Play();
        } catch (const SoakFailure& failure) {
            std::cerr << "soak: game " << index << " (seed " << seed << ", type " << game.type()
                      << "), tick " << game.tick() << ": " << failure.what << "\n"
                      << "replay it with: --seed " << seed << " --games 1\n";
            return 1;
        }
    }
    std::cout << "soak: " << games << " games (" << totals.games[0] << " one player, "
              << totals.games[1] << " cooperative, " << totals.games[2] << " face to face), "
              << totals.ticks << " ticks, longest " << totals.longestGame << ", " << totals.quits
              << " quit at the tick limit; " << totals.fights << " fights decided over "
              << totals.bouts << " bouts; " << totals.rows << " rows removed in one-player games\n";
    return 0;
}
