#include "game.h"

namespace blok {

namespace {

constexpr int kPlayingRows = 20;  // rows 0..19; row 20 is the floor
constexpr int kFloorRow = 20;

constexpr Matrix ShapeFrom(std::initializer_list<std::pair<int, int>> cells) {
    Matrix m{};
    for (auto [dx, dy] : cells) m[static_cast<std::size_t>(dx)][static_cast<std::size_t>(dy)] = 1;
    return m;
}

bool InField(int x, int y) {
    return x >= 0 && x < kFieldColumns && y >= 0 && y < kFieldRows;
}

std::int16_t& At(Field& f, int x, int y) {
    return f[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

std::int16_t Occupied(const Matrix& m, int dx, int dy) {
    return m[static_cast<std::size_t>(dx)][static_cast<std::size_t>(dy)];
}

}  // namespace

const std::array<Matrix, 8> Stein = {
    ShapeFrom({{1, 1}, {1, 2}, {2, 1}, {2, 2}}),  // square
    ShapeFrom({{0, 1}, {1, 1}, {2, 1}, {3, 1}}),  // bar
    ShapeFrom({{1, 0}, {1, 1}, {1, 2}, {2, 1}}),  // T
    ShapeFrom({{1, 1}, {1, 2}, {2, 0}, {2, 1}}),  // Z
    ShapeFrom({{1, 0}, {1, 1}, {2, 1}, {2, 2}}),  // S
    ShapeFrom({{1, 0}, {1, 1}, {1, 2}, {2, 0}}),  // J
    ShapeFrom({{1, 0}, {1, 1}, {1, 2}, {2, 2}}),  // L
    ShapeFrom({{0, 0}}),                          // bomb
};

// One player's side of the step: its piece, the opponent's piece, its requests and points.
struct Game::PlayerView {
    figure& piece;
    const figure& other;
    int& isLeft;
    int& isRight;
    int& isUp;
    int& isDown;
    std::uint32_t& points;
    int firstSpawnX;
    int spawnX;
    bool isPlayerOne;
};

Game::PlayerView Game::Player(int which) {
    if (which == 1) {
        return {AktuellerSpielStein1,
                AktuellerSpielStein2,
                isLeft1,
                isRight1,
                isUp1,
                isDown1,
                Up1Points,
                kSpawnColumn1,
                kSpawnColumn1,
                true};
    }
    // Kept quirk: "Player 2 starts at column 16, then 15" in docs/maintainers-notes.md
    return {
        AktuellerSpielStein2, AktuellerSpielStein1, isLeft2, isRight2, isUp2, isDown2, Up2Points,
        kFirstSpawnColumn2,   kSpawnColumn2,        false};
}

std::int16_t Game::CellAt(int x, int y) const {
    if (!InField(x, y)) return kWall;
    return SpielFeld[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

void Game::GetStone(int iNummer, Matrix& stone) {
    if (iNummer < 0 || iNummer > 7) return;
    stone = Stein[static_cast<std::size_t>(iNummer)];
}

void Game::Stone2Area(int a, int b, const Matrix& stone, int col, int type) {
    if (type == kPieceCells) {
        for (int dx = 0; dx < 4; ++dx) {
            for (int dy = 0; dy < 4; ++dy) {
                if (Occupied(stone, dx, dy) != 0 && InField(a + dx, b + dy)) {
                    At(SpielFeld, a + dx, b + dy) = static_cast<std::int16_t>(col);
                }
            }
        }
    } else if (type == kPieceBomb) {
        for (int r = b - 1; r <= b + 1; ++r) {
            for (int k = a - 1; k <= a + 1; ++k) {
                if (r >= 0 && InField(k, r) && At(SpielFeld, k, r) != kWall) {
                    At(SpielFeld, k, r) = kEmpty;
                }
            }
        }
        if (InField(a, b)) At(SpielFeld, a, b) = kBlast;
    }
}

int Game::StoneCollision(int a, int b, const Matrix& stone, int c, int d,
                         const Matrix& stone1) const {
    bool fieldHit = false;
    for (int dy = 0; dy < 4; ++dy) {
        for (int dx = 0; dx < 4; ++dx) {
            if (Occupied(stone, dx, dy) == 0) continue;
            const int x = a + dx;
            const int y = b + dy;
            const std::int16_t v = CellAt(x, y);
            if (v <= 0 || v >= 10) continue;
            // A penalty cell resting on a colour-1 cell lets a landing piece cover it.
            // Kept quirk: "The penalty-cell exception is narrow" in docs/maintainers-notes.md
            const bool excused = v == kPenalty && y < 19 && CellAt(x, y + 1) == 1;
            if (!excused) fieldHit = true;
        }
    }
    if (fieldHit) return kCollisionField;
    if (iGameStatus == kStatusOnePlayer) return kCollisionNone;
    for (int dy = 0; dy < 4; ++dy) {
        for (int dx = 0; dx < 4; ++dx) {
            if (Occupied(stone, dx, dy) == 0) continue;
            const int px = a + dx - c;
            const int py = b + dy - d;
            if (px >= 0 && px < 4 && py >= 0 && py < 4 && Occupied(stone1, px, py) != 0) {
                return kCollisionPiece;
            }
        }
    }
    return kCollisionNone;
}

void Game::RotateStone(int a, int b, Matrix& stone, int c, int d, const Matrix& stone1) const {
    const Matrix t = stone;
    for (std::size_t dx = 0; dx < 4; ++dx) {
        for (std::size_t dy = 0; dy < 4; ++dy) stone[dx][dy] = t[3 - dy][dx];
    }
    if (StoneCollision(a, b, stone, c, d, stone1) != kCollisionNone) stone = t;
}

bool Game::RowComplete(int left, int length, int y) const {
    for (int x = left; x < left + length; ++x) {
        const std::int16_t v = CellAt(x, y);
        if (v == kEmpty || v == kPenalty) return false;
    }
    return true;
}

void Game::ClearRow(int left, int length, int y) {
    for (int x = left; x < left + length; ++x) {
        if (InField(x, y)) At(SpielFeld, x, y) = kEmpty;
    }
}

void Game::KillRow(int left, int length) {
    int y = kPlayingRows - 1;
    while (y >= 0) {
        if (!RowComplete(left, length, y)) {
            --y;
            continue;
        }
        if (iGameStatus == kStatusOnePlayer) Up1Points += 10;
        if (iGameStatus == kStatusCooperative) Up1Points += 40;
        ClearRow(left, length, y);
        if (iGameStatus == kStatusCooperative) {
            RowDown(left, y);
            RowDown(left + 10, y);
        } else {
            RowDown(left, y);
        }
        if (iGameStatus == kStatusFaceToFace) SendPenaltyCells(left);
        // The shift copies row 0 into row 1 and leaves it standing. A complete row 0 would come
        // back with every removal and the rows would never run out; it has moved down, so it
        // leaves the top.
        if (y > 0 && RowComplete(left, length, 0)) ClearRow(left, length, 0);
    }
}

void Game::SendPenaltyCells(int left) {
    int firstColumn = 0;
    const figure* target = nullptr;
    if (left == kLeftAreaColumn) {
        firstColumn = kRightAreaColumn;
        target = &AktuellerSpielStein2;
    } else if (left == kRightAreaColumn) {
        firstColumn = kLeftAreaColumn;
        target = &AktuellerSpielStein1;
    } else {
        return;
    }
    // A piece at the top covers rows 0..3 of its area; the cells then appear below it.
    // Kept quirk: "Penalty cells and their targets" in docs/maintainers-notes.md
    const int row = target->y == 0 ? 5 : 0;
    for (int i = 0; i < 4; ++i) {
        const int column = rng.Next() % kAreaWidth + firstColumn;
        if (At(SpielFeld, column, row) == kEmpty) At(SpielFeld, column, row) = kPenalty;
    }
}

void Game::RowDown(int left, int down) {
    // Kept quirk: "Row 0 stays after a shift" in docs/maintainers-notes.md
    for (int y = down - 1; y >= 0; --y) {
        for (int x = left; x < left + 10; ++x) {
            if (InField(x, y) && InField(x, y + 1)) At(SpielFeld, x, y + 1) = At(SpielFeld, x, y);
        }
    }
}

void Game::AreaMove() {
    if (iGameStatus != kStatusFaceToFace) return;
    for (int y = 18; y >= 0; --y) {
        for (int x = 0; x < 30; ++x) {
            if (At(SpielFeld, x, y) != kPenalty || At(SpielFeld, x, y + 1) != kEmpty) continue;
            const figure& piece =
                x < kRightAreaColumn ? AktuellerSpielStein1 : AktuellerSpielStein2;
            if (StoneCollision(x, y + 1, Stein[7], piece.x, piece.y, piece.stone) ==
                kCollisionNone) {
                At(SpielFeld, x, y + 1) = kPenalty;
                At(SpielFeld, x, y) = kEmpty;
            }
        }
    }
}

void Game::AssignKeys() {
    const bool cursorForPlayerOne = iGameStatus == kStatusOnePlayer;
    const int cursor[4] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown};
    const int letters[4] = {kKeyA, kKeyD, kKeyW, kKeyS};
    const int* one = cursorForPlayerOne ? cursor : letters;
    const int* two = cursorForPlayerOne ? letters : cursor;
    key1left = one[0], key1right = one[1], key1up = one[2], key1down = one[3];
    key2left = two[0], key2right = two[1], key2up = two[2], key2down = two[3];
}

void Game::BuildField() {
    SpielFeld = Field{};
    for (int x = 0; x < kFieldColumns; ++x) At(SpielFeld, x, kFloorRow) = kWall;
    const bool cooperative = iGameStatus == kStatusCooperative;
    for (int y = 0; y < kFieldRows; ++y) {
        At(SpielFeld, 1, y) = kWall;
        if (!cooperative) At(SpielFeld, 12, y) = kWall;
        At(SpielFeld, cooperative ? 22 : 23, y) = kWall;
    }
}

void Game::Initialise() {
    // Presses made before the start must not act.
    for (int code :
         {key1left, key1right, key1up, key1down, key2left, key2right, key2up, key2down}) {
        Pressed(code);
    }
    AssignKeys();
    GameInit = 0;
    Up1Points = 0;
    Up2Points = 0;
    isLeft1 = isRight1 = isUp1 = isDown1 = 0;
    isLeft2 = isRight2 = isUp2 = isDown2 = 0;
    AktuellerSpielStein1.what = kPieceNone;
    AktuellerSpielStein2.what = kPieceNone;
    BuildField();
}

void Game::NewPiece(figure& piece, int x, bool first) {
    // Kept quirk: "A new piece is placed without a test" in docs/maintainers-notes.md
    const int shape = first ? rng.Next() % 7 : rng.Next() % 8;
    if (shape == 7) {
        // Kept quirk: "A bomb keeps the colour before it" in docs/maintainers-notes.md
        piece.what = kPieceBomb;  // a bomb keeps the colour of the piece before it
    } else {
        piece.what = kPieceCells;
        piece.color = static_cast<std::int16_t>(rng.Next() % 6 + 1);
    }
    GetStone(shape, piece.stone);
    piece.x = x;
    piece.y = 0;
}

void Game::LoseBout(PlayerView p) {
    if (iGameStatus == kStatusCooperative) {
        // Kept quirk: "The cooperative end averages" in docs/maintainers-notes.md
        Up1Points = (Up1Points + Up2Points) / 2;
        Up2Points = 0;
        iGameStatus = kStatusTitlePending;
    } else if (iGameStatus == kStatusFaceToFace) {
        int& winnerBouts = p.isPlayerOne ? won2 : won1;
        ++winnerBouts;
        if (winnerBouts == 3) {
            won1 = 0;
            won2 = 0;
            Up1Points = 0;
            Up2Points = 0;
            iGameStatus = kStatusTitlePending;
            host.ShowMessage(
                p.isPlayerOne ? "Player on the right side wins" : "Player on the left side wins",
                "End of Fight");
        } else {
            GameInit = 1;
        }
    } else {
        iGameStatus = kStatusTitlePending;
    }
}

void Game::LandPiece(PlayerView p) {
    figure& piece = p.piece;
    Stone2Area(piece.x, piece.y, piece.stone, piece.color, piece.what);
    // Kept quirk: "Ticks after the end of a game still step" in docs/maintainers-notes.md
    // Kept quirk: "Face to face" in docs/maintainers-notes.md
    if (piece.y == 0) LoseBout(p);
    if (iGameStatus == kStatusOnePlayer && p.isPlayerOne) KillRow(kLeftAreaColumn, kAreaWidth);
    if (iGameStatus == kStatusCooperative) KillRow(kLeftAreaColumn, kCooperativeWidth);
    if (iGameStatus == kStatusFaceToFace) {
        KillRow(p.isPlayerOne ? kLeftAreaColumn : kRightAreaColumn, kAreaWidth);
    }
    NewPiece(piece, p.spawnX, false);
}

void Game::StepPlayer(PlayerView p) {
    figure& piece = p.piece;
    if (p.isDown) {
        if (iGameStatus != kStatusFaceToFace) p.points += 1;
        const int hit =
            StoneCollision(piece.x, piece.y + 1, piece.stone, p.other.x, p.other.y, p.other.stone);
        // Kept quirk: "One piece stays in the air on the other" in docs/maintainers-notes.md
        if (hit == kCollisionNone) ++piece.y;
        if (hit == kCollisionField) LandPiece(p);
        p.isDown = 0;
    }
    if (p.isLeft) {
        if (StoneCollision(piece.x - 1, piece.y, piece.stone, p.other.x, p.other.y,
                           p.other.stone) == kCollisionNone) {
            --piece.x;
        }
        p.isLeft = 0;
    }
    if (p.isRight) {
        if (StoneCollision(piece.x + 1, piece.y, piece.stone, p.other.x, p.other.y,
                           p.other.stone) == kCollisionNone) {
            ++piece.x;
        }
        p.isRight = 0;
    }
    if (p.isUp) {
        // Kept quirk: "A bomb keeps the colour before it" in docs/maintainers-notes.md
        if (piece.what == kPieceCells) {
            RotateStone(piece.x, piece.y, piece.stone, p.other.x, p.other.y, p.other.stone);
        }
        p.isUp = 0;
    }
}

void Game::GameGoOn() {
    if (GameInit != 0) {
        Initialise();
        return;
    }
    const PlayerView one = Player(1);
    // Kept quirk: "Requests wait while a first piece is made" in docs/maintainers-notes.md
    if (one.piece.what == kPieceNone) {
        NewPiece(one.piece, one.firstSpawnX, true);
    } else {
        StepPlayer(one);
    }
    if (iGameStatus == kStatusOnePlayer) return;
    const PlayerView two = Player(2);
    if (two.piece.what == kPieceNone) {
        NewPiece(two.piece, two.firstSpawnX, true);
        return;
    }
    StepPlayer(two);
}

void Game::GravityTick() {
    if (STOP == 1) return;
    // Kept quirk: "Speed" in docs/maintainers-notes.md
    if (gamespeedup == 1) {
        gamespeedup = 0;
        if (gamespeed > kFastestSpeedMs) gamespeed -= kSpeedStepMs;
        host.RestartGravityTimer(gamespeed);
    }
    isDown1 = 1;
    isDown2 = 1;
    GameGoOn();
}

void Game::PollKeys() {
    // Both readings are taken where a request accepts either, the pressed one first.
    const auto pressedOrHeld = [this](int code) {
        const bool pressed = Pressed(code);
        const bool held = Held(code);
        return pressed || held;
    };
    if (pressedOrHeld(key1left)) isLeft1 = 1;
    if (Pressed(key1up)) isUp1 = 1;
    if (pressedOrHeld(key1right)) isRight1 = 1;
    if (Held(key1down)) isDown1 = 1;
    if (pressedOrHeld(key2left)) isLeft2 = 1;
    if (Pressed(key2up)) isUp2 = 1;
    if (pressedOrHeld(key2right)) isRight2 = 1;
    if (Held(key2down)) isDown2 = 1;
}

bool Game::InputTick() {
    if (iGameStatus != kStatusTitlePending && iGameStatus != kStatusTitle && Pressed(kKeyP)) {
        gamePause = gamePause == 1 ? 0 : 1;
        STOP = gamePause;
    }
    if (STOP == 1) return false;
    PollKeys();
    AreaMove();
    AreaMove();
    GameGoOn();
    return true;
}

void Game::StartFromPaint() {
    Pressed(kKeyP);
    gamespeedup = 0;
    gamespeed = kStartSpeedMs;
    GameGoOn();
}

}  // namespace blok
