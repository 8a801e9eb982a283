#include "sim.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "computer_level.h"
#include "game.h"
#include "game_frame.h"
#include "game_shell.h"
#include "headless.h"
#include "render_screen.h"

namespace blok::sim {

namespace {

struct ScriptError {
    std::string reason;
};

// Longer lines are refused rather than read whole: a script without line ends must not take
// all memory.
constexpr std::size_t kMaxLineBytes = 64 * 1024;

constexpr int kExitOk = 0;
constexpr int kExitOutputFailed = 1;
constexpr int kExitBadScript = 2;

// Script text as it may be echoed in a message: control bytes as \xNN, so that a stray escape
// sequence cannot act on the terminal.
std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Quoted(std::string_view text) {
    return "'" + Printable(text) + "'";
}

enum class LineRead { Line, End, TooLong };

// One line without its end, as std::getline reads it, but never more than kMaxLineBytes.
LineRead ReadLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf& buffer = *in.rdbuf();
    bool any = false;
    for (int c = buffer.sbumpc(); c != std::char_traits<char>::eof(); c = buffer.sbumpc()) {
        any = true;
        if (c == '\n') return LineRead::Line;
        if (line.size() == kMaxLineBytes) return LineRead::TooLong;
        line.push_back(static_cast<char>(c));
    }
    return any ? LineRead::Line : LineRead::End;
}

std::int64_t ParseNumber(const std::string& token, std::int64_t min, std::int64_t max,
                         const char* what) {
    std::int64_t value = 0;
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, value);
    if (ec != std::errc{} || ptr != end) throw ScriptError{std::string("bad ") + what};
    if (value < min || value > max) throw ScriptError{std::string(what) + " out of range"};
    return value;
}

void ExpectArgs(const std::vector<std::string>& tokens, std::size_t count) {
    if (tokens.size() != count + 1) {
        throw ScriptError{Quoted(tokens[0]) + " takes " + std::to_string(count) + " argument" +
                          (count == 1 ? "" : "s")};
    }
}

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::vector<std::string> tokens;
    for (std::string word; words >> word;) tokens.push_back(word);
    return tokens;
}

// The shell's calendar clock stands still at the value that seeds the generator as a fresh one
// is seeded, so a script without `seed` replays the same game every time.
constexpr std::int64_t kVirtualTime = Random::kDefaultSeed;

// Runs the window's own shell on the headless desktop: script lines become the events the
// window would deliver. Only game frames are painted; outside a game a paint does nothing.
class Simulator {
  public:
    explicit Simulator(std::ostream& out)
        : out_(out),
          platform_([this](std::string_view text, std::string_view caption) {
              out_ << "message \"" << text << "\" \"" << caption << "\"\n";
          }),
          screen_(random_),
          shell_(platform_, random_, screen_, hiscores_, music_, [] { return kVirtualTime; }, {}) {
        platform_.Attach(shell_);
        shell_.Startup();
        shell_.OnCreate();
    }

    void Run(const std::vector<std::string>& t) {
        const std::string& command = t[0];
        if (command == "seed") {
            ExpectArgs(t, 1);
            random_.Seed(static_cast<std::uint32_t>(ParseNumber(t[1], 0, 4294967295LL, "seed")));
        } else if (command == "start") {
            ExpectArgs(t, 1);
            Start(static_cast<int>(ParseNumber(t[1], 3, 5, "game type")));
        } else if (command == "paint") {
            ExpectArgs(t, 0);
            Paint();
        } else if (command == "gravity") {
            ExpectArgs(t, 0);
            shell_.OnTimer(kTimerGravity);
        } else if (command == "speedup") {
            ExpectArgs(t, 0);
            shell_.OnTimer(kTimerSpeedUp);
        } else if (command == "input") {
            Input(t);
        } else if (command == "quit") {
            ExpectArgs(t, 0);
            shell_.OnCommand(kCmdQuitGame);
        } else if (command == "cell") {
            ExpectArgs(t, 3);
            const auto x = static_cast<std::size_t>(ParseNumber(t[1], 0, kFieldColumns - 1, "x"));
            const auto y = static_cast<std::size_t>(ParseNumber(t[2], 0, kFieldRows - 1, "y"));
            shell_.game().SpielFeld[x][y] =
                static_cast<std::int16_t>(ParseNumber(t[3], -32768, 32767, "value"));
        } else if (command == "computer") {
            ExpectArgs(t, 2);
            const int side = static_cast<int>(ParseNumber(t[1], 1, 2, "player"));
            const auto level = LevelNamed(t[2]);
            if (!level) throw ScriptError{"level is 'off', 'easy', 'normal' or 'hard'"};
            shell_.SetComputer(side, *level);
            personOnOnePlayerKeys_ = side == 2 && *level != ComputerLevel::kOff;
        } else if (command == "dump") {
            ExpectArgs(t, 0);
            Dump();
        } else if (command == "background") {
            ExpectArgs(t, 1);
            shell_.OnCommand(BackgroundCommandFor(t[1]));
        } else if (command == "frame") {
            ExpectArgs(t, 1);
            Paint();
            WriteFrame(t[1]);
        } else {
            throw ScriptError{"unknown command " + Quoted(command)};
        }
    }

  private:
    // The way a player starts a game: back to the title screen if a game runs, then the start
    // dialog's choices and its Start button, then the paint that starts the game.
    void Start(int type) {
        if (IsGameRunning(shell_.game().iGameStatus)) shell_.OnCommand(kCmdQuitGame);
        shell_.OnPaint();  // the title screen with the start dialog
        if (type == kStatusOnePlayer) {
            shell_.StartDialogCommand(kDlgOnePlayer);
        } else {
            shell_.StartDialogCommand(kDlgTwoPlayers);
            shell_.StartDialogCommand(type == kStatusCooperative ? kDlgCooperative
                                                                 : kDlgFaceToFace);
        }
        shell_.StartDialogCommand(kDlgStart);
        Paint();
    }

    void Paint() {
        if (IsGameRunning(shell_.game().iGameStatus)) shell_.OnPaint();
    }

    static int BackgroundCommandFor(const std::string& name) {
        if (name == "picture") return kCmdPicture;
        if (name == "white") return kCmdWhite;
        throw ScriptError{"background is 'picture' or 'white'"};
    }

    // Writes the visible game frame as a binary PPM. Outside a game this is the last frame that
    // was composed (black before the first one), which is what the window last received.
    void WriteFrame(const std::string& path) const {
        std::ofstream file(path, std::ios::binary);
        file << "P6\n" << kGameFrameWidth << ' ' << kGameFrameHeight << "\n255\n";
        const Surface* frame = platform_.LastPresented();
        for (int y = 0; y < kGameFrameHeight; ++y) {
            for (int x = 0; x < kGameFrameWidth; ++x) {
                const std::uint32_t p =
                    frame != nullptr ? frame->Pixels()[y * frame->Width() + x] : 0;
                const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                                     static_cast<char>(p)};
                file.write(rgb, 3);
            }
        }
        file.close();
        if (!file) throw ScriptError{"cannot write " + Quoted(path)};
    }

    void Input(const std::vector<std::string>& t) {
        // Each named key went down since the last poll and is still held; nothing carries over
        // to the next line.
        platform_.ReleaseAll();
        for (std::size_t i = 1; i < t.size(); ++i) platform_.Press(KeyFor(t[i]) & 0xFF);
        shell_.OnTimer(kTimerInput);
        platform_.ReleaseAll();
    }

    int KeyFor(const std::string& name) const {
        const Game& game = shell_.game();
        // Beside the computer the person plays with the one-player keys.
        if (personOnOnePlayerKeys_ && IsGameRunning(game.iGameStatus)) {
            if (name == "left1") return kKeyLeft;
            if (name == "right1") return kKeyRight;
            if (name == "up1") return kKeyUp;
            if (name == "down1") return kKeyDown;
        }
        if (name == "left1") return game.key1left;
        if (name == "right1") return game.key1right;
        if (name == "up1") return game.key1up;
        if (name == "down1") return game.key1down;
        if (name == "left2") return game.key2left;
        if (name == "right2") return game.key2right;
        if (name == "up2") return game.key2up;
        if (name == "down2") return game.key2down;
        if (name == "pause") return kKeyP;
        throw ScriptError{"unknown key " + Quoted(name)};
    }

    void DumpPiece(const char* name, const figure& p) {
        out_ << name << " what " << p.what << " color " << p.color << " x " << p.x << " y " << p.y
             << " stone ";
        for (std::size_t dy = 0; dy < 4; ++dy) {
            for (std::size_t dx = 0; dx < 4; ++dx) out_ << (p.stone[dx][dy] != 0 ? '1' : '0');
        }
        out_ << '\n';
    }

    void Dump() {
        const Game& g = shell_.game();
        out_ << "status " << g.iGameStatus << " init " << g.GameInit << " speed " << g.gamespeed
             << " speedup " << g.gamespeedup << " stop " << g.STOP << " pause " << g.gamePause
             << " noscore " << g.noScore << '\n';
        out_ << "points " << g.Up1Points << ' ' << g.Up2Points << " won " << g.won1 << ' ' << g.won2
             << '\n';
        DumpPiece("piece1", g.AktuellerSpielStein1);
        DumpPiece("piece2", g.AktuellerSpielStein2);
        for (std::size_t y = 0; y <= 20; ++y) {
            out_ << "row " << y;
            for (std::size_t x = 0; x <= 24; ++x) out_ << ' ' << g.SpielFeld[x][y];
            out_ << '\n';
        }
        out_ << "end\n";
    }

    std::ostream& out_;
    Random random_;
    HeadlessPlatform platform_;
    RenderScreen screen_;
    NullHiscoreBook hiscores_;
    NullMusic music_;
    GameShell shell_;
    bool personOnOnePlayerKeys_ = false;
};

}  // namespace

int RunScript(std::istream& script, std::ostream& out, std::ostream& err) {
    Simulator simulator(out);
    std::string line;
    for (int number = 1;; ++number) {
        const LineRead read = ReadLine(script, line);
        if (read == LineRead::End) break;
        try {
            if (read == LineRead::TooLong) {
                throw ScriptError{"line longer than " + std::to_string(kMaxLineBytes) + " bytes"};
            }
            const auto tokens = Tokens(line);
            if (!tokens.empty()) simulator.Run(tokens);
        } catch (const ScriptError& e) {
            out.flush();
            err << "error line " << number << ": " << e.reason << '\n';
            return kExitBadScript;
        }
        // Output that cannot be written is lost: stop at once rather than report success.
        if (!out) break;
    }
    if (!out.flush()) {
        err << "error: the output cannot be written\n";
        return kExitOutputFailed;
    }
    return kExitOk;
}

}  // namespace blok::sim
