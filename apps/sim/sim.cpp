#include "sim.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game.h"
#include "game_frame.h"

namespace blok::sim {

namespace {

// Keys as one input line of the script presents them: each named key went down since the
// last poll and is still held; nothing carries over to the next line.
class ScriptedHost : public GameHost {
public:
    explicit ScriptedHost(std::ostream& out) : out_(out) {}

    void Press(int virtualKey) {
        pressed_.insert(virtualKey);
        held_.insert(virtualKey);
    }
    void ReleaseAll() {
        pressed_.clear();
        held_.clear();
    }

    bool PressedSinceLastRead(int virtualKey) override { return pressed_.erase(virtualKey) > 0; }
    bool Held(int virtualKey) override { return held_.count(virtualKey) > 0; }
    void ShowMessage(std::string_view text, std::string_view caption) override {
        out_ << "message \"" << text << "\" \"" << caption << "\"\n";
    }
    void RestartGravityTimer(int) override {}

private:
    std::ostream& out_;
    std::set<int> pressed_;
    std::set<int> held_;
};

struct ScriptError {
    std::string reason;
};

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
        throw ScriptError{"'" + tokens[0] + "' takes " + std::to_string(count) + " argument" +
                          (count == 1 ? "" : "s")};
    }
}

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::vector<std::string> tokens;
    for (std::string word; words >> word;) tokens.push_back(word);
    return tokens;
}

// The game window's client area as the simulator paints it: the whole game frame, which the
// off-screen surface exceeds by 100 columns like the window's own.
constexpr int kClientWidth = kGameFrameWidth;
constexpr int kClientHeight = kGameFrameHeight;

class Simulator {
public:
    explicit Simulator(std::ostream& out) : out_(out), host_(out), game_(random_, host_) {}

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
            game_.GravityTick();
        } else if (command == "speedup") {
            ExpectArgs(t, 0);
            game_.SpeedUpTick();
        } else if (command == "input") {
            Input(t);
        } else if (command == "quit") {
            ExpectArgs(t, 0);
            game_.iGameStatus = kStatusTitlePending;
        } else if (command == "cell") {
            ExpectArgs(t, 3);
            const auto x = static_cast<std::size_t>(ParseNumber(t[1], 0, kFieldColumns - 1, "x"));
            const auto y = static_cast<std::size_t>(ParseNumber(t[2], 0, kFieldRows - 1, "y"));
            game_.SpielFeld[x][y] = static_cast<std::int16_t>(ParseNumber(t[3], -32768, 32767, "value"));
        } else if (command == "dump") {
            ExpectArgs(t, 0);
            Dump();
        } else if (command == "background") {
            ExpectArgs(t, 1);
            backgroundImage_ = BackgroundFor(t[1]);
        } else if (command == "frame") {
            ExpectArgs(t, 1);
            Paint();
            WriteFrame(t[1]);
        } else {
            throw ScriptError{"unknown command '" + command + "'"};
        }
    }

private:
    void Start(int type) {
        game_.gamePause = 0;
        game_.STOP = 0;
        game_.iGameStatus = type;
        game_.GameInit = 1;
        game_.noScore = type == kStatusFaceToFace ? 1 : 0;
        Paint();
    }

    // A paint as the window receives it: a pending game starts, then a frame is composed, which
    // clears the blast markers it shows. Outside a game nothing is composed.
    void Paint() {
        if (!IsGameRunning(game_.iGameStatus)) return;
        if (game_.GameInit == 1) game_.StartFromPaint();
        PrintGameArea(surface_, game_, LoadPictures(), backgroundImage_, kClientWidth,
                      kClientHeight);
    }

    static int BackgroundFor(const std::string& name) {
        if (name == "picture") return 1;
        if (name == "white") return 0;
        throw ScriptError{"background is 'picture' or 'white'"};
    }

    // Writes the visible game frame as a binary PPM. Outside a game this is the last frame that
    // was composed (black before the first one), which is what the window last received.
    void WriteFrame(const std::string& path) const {
        std::ofstream file(path, std::ios::binary);
        file << "P6\n" << kGameFrameWidth << ' ' << kGameFrameHeight << "\n255\n";
        const std::uint32_t* pixels = surface_.Pixels();
        for (int y = 0; y < kGameFrameHeight; ++y) {
            for (int x = 0; x < kGameFrameWidth; ++x) {
                const std::uint32_t p = pixels[y * surface_.Width() + x];
                const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                                     static_cast<char>(p)};
                file.write(rgb, 3);
            }
        }
        file.close();
        if (!file) throw ScriptError{"cannot write '" + path + "'"};
    }

    void Input(const std::vector<std::string>& t) {
        host_.ReleaseAll();
        for (std::size_t i = 1; i < t.size(); ++i) host_.Press(KeyFor(t[i]) & 0xFF);
        game_.InputTick();
        host_.ReleaseAll();
    }

    int KeyFor(const std::string& name) const {
        if (name == "left1") return game_.key1left;
        if (name == "right1") return game_.key1right;
        if (name == "up1") return game_.key1up;
        if (name == "down1") return game_.key1down;
        if (name == "left2") return game_.key2left;
        if (name == "right2") return game_.key2right;
        if (name == "up2") return game_.key2up;
        if (name == "down2") return game_.key2down;
        if (name == "pause") return kKeyP;
        throw ScriptError{"unknown key '" + name + "'"};
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
        const Game& g = game_;
        out_ << "status " << g.iGameStatus << " init " << g.GameInit << " speed " << g.gamespeed
             << " speedup " << g.gamespeedup << " stop " << g.STOP << " pause " << g.gamePause
             << " noscore " << g.noScore << '\n';
        out_ << "points " << g.Up1Points << ' ' << g.Up2Points << " won " << g.won1 << ' '
             << g.won2 << '\n';
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
    ScriptedHost host_;
    Game game_;
    Surface surface_{kClientWidth + 100, kClientHeight};
    int backgroundImage_ = 1;
};

}  // namespace

int RunScript(std::istream& script, std::ostream& out, std::ostream& err) {
    Simulator simulator(out);
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        const auto tokens = Tokens(line);
        if (tokens.empty()) continue;
        try {
            simulator.Run(tokens);
        } catch (const ScriptError& e) {
            out.flush();
            err << "error line " << number << ": " << e.reason << '\n';
            return 2;
        }
    }
    out.flush();
    return 0;
}

}  // namespace blok::sim
