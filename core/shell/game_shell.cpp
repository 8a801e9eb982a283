#include "game_shell.h"

#include <algorithm>
#include <string>
#include <utility>

#include "game_frame.h"
#include "surface.h"

namespace blok {

namespace {

// The title step repaints rows 0..231 (the animated band); the picture cycle rows 0..230.
constexpr int kTitleBandBottom = 232;
constexpr int kTitlePictureBottom = 231;

constexpr int kTitlePictureMs = 9000;
constexpr int kTitleStepMs = 60;
constexpr int kInputMs = 60;
constexpr int kMusicPollMs = 10000;
constexpr int kSpeedUpMs = 10000;

// The computer's choices of a worse place follow from this; its games replay from the seed.
constexpr std::uint32_t kComputerSeed = 1;

constexpr const char* kHelpFileName = "Blokfall.hlp";

// Every way out of the game is a normal end.
constexpr int kExitCode = 0;

}  // namespace

GameShell::GameShell(Platform& platform, Random& random, Screen& screen, HiscoreBook& hiscores,
                     MusicControl& music, Clock clock, std::filesystem::path workingDirectory)
    : platform_(platform),
      random_(random),
      screen_(screen),
      hiscores_(hiscores),
      music_(music),
      clock_(std::move(clock)),
      workingDirectory_(std::move(workingDirectory)),
      game_(random, *this) {}

void GameShell::Startup() {
    game_.iGameStatus = kStatusTitlePending;
    // The file also restores the song rotation, so it is read before the first song is chosen.
    hiscores_.Load();
    random_.Seed(static_cast<std::uint32_t>(clock_()));
}

void GameShell::OnCreate() {
    game_.GameInit = 0;
    screen_.Create(platform_.ClientRect());
    music_.musicInit();
    music_.letMusicPlay();
    platform_.SetTimer(kTimerMusicPoll, kMusicPollMs);
    SetMusicChecks(true);
    SetBackground(1);
}

void GameShell::OnPaint() {
    if (state_.shutDown) return;
    AdjustWindowSize();
    switch (game_.iGameStatus) {
        case kStatusTitlePending:
            EnterTitleScreen();
            break;
        case kStatusTitle:
            PaintTitle();
            break;
        case kStatusExit:
            ShutdownAndQuit();
            break;
        case kStatusHiscoreCheck:
            break;  // the name dialog is open; nothing to draw meanwhile
        default:
            if (game_.GameInit == 1) StartGame();
            PaintGame();
            break;
    }
}

void GameShell::AdjustWindowSize() {
    if (state_.WINCHANGE != 1) return;
    state_.WINCHANGE = 0;
    const Rect window = platform_.WindowRect();
    state_.WINHOEHE -= window.top;
    state_.WINBREITE = std::max(state_.WINBREITE, kWindowWidth);
    state_.WINHOEHE = std::max(state_.WINHOEHE, kWindowHeight);
    platform_.MoveWindow(window.left, window.top, state_.WINBREITE, state_.WINHOEHE);
}

void GameShell::EnterTitleScreen() {
    platform_.EnableMenuItem(kCmdQuitGame, false);
    platform_.KillTimer(kTimerInput);
    platform_.KillTimer(kTimerGravity);
    platform_.KillTimer(kTimerSpeedUp);
    game_.iGameStatus = kStatusHiscoreCheck;
    // The name dialog and the table wait in event loops of their own; run inside this paint,
    // they would keep the toolkit repainting at full speed. They open right after it instead.
    if (hiscores_.WouldEnter(game_.Up1Points, game_.noScore)) {
        platform_.SetTimer(kTimerHiscoreCheck, 0);
        return;
    }
    OfferScoreAndShowTitle();
}

void GameShell::OfferScoreAndShowTitle() {
    hiscores_.CheckPlayer1Hiscore(game_.Up1Points, game_.noScore);
    // The window may have been closed while the name dialog was open.
    if (state_.shutDown) return;
    platform_.SetTimer(kTimerTitlePicture, kTitlePictureMs);
    platform_.SetTimer(kTimerTitleStep, kTitleStepMs);
    game_.iGameStatus = kStatusTitle;
    state_.startDialogOpen = platform_.CreateStartDialog();
    state_.ClrScr = 1;
    game_.gamePause = 0;
    game_.STOP = 0;
    UpdatePausedMarker();
    if (!state_.startDialogOpen) {
        ShutdownAndQuit();
        return;
    }
    // Nothing has been drawn yet: the title frame follows at once.
    platform_.InvalidateAll();
}

void GameShell::PaintTitle() {
    const bool musicPlays = !music_.Paused() && !music_.Silent();
    const std::string_view caption = musicPlays ? music_.CurrentCaption() : std::string_view{};
    const Surface& frame = screen_.ComposeTitle(state_.WINBREITE, platform_.ClientRect(), caption);
    platform_.Present(frame, std::min(state_.WINBREITE, frame.Width()),
                      std::min(kGameFrameHeight, frame.Height()));
}

void GameShell::StartGame() {
    // The pause key is read and discarded first inside StartFromPaint; enabling the menu item
    // before it changes nothing either of them sees.
    platform_.EnableMenuItem(kCmdQuitGame, true);
    StartComputer();
    RunTick(TickRoute::Kind::kStart);
    platform_.KillTimer(kTimerTitlePicture);
    platform_.KillTimer(kTimerTitleStep);
    platform_.SetTimer(kTimerGravity, game_.gamespeed);
    platform_.SetTimer(kTimerSpeedUp, kSpeedUpMs);
    platform_.SetTimer(kTimerInput, kInputMs);
    platform_.FocusMainWindow();
    const Rect window = platform_.WindowRect();
    platform_.MoveWindow(window.left, window.top, kWindowWidth, kWindowHeight);
}

bool GameShell::RunTick(TickRoute::Kind kind) {
    if (Routed()) return route_->RunTick(kind);
    switch (kind) {
        case TickRoute::Kind::kStart:
            game_.StartFromPaint();
            return true;
        case TickRoute::Kind::kGravity:
            game_.GravityTick();
            return false;
        case TickRoute::Kind::kSpeedUp:
            game_.SpeedUpTick();
            return false;
        case TickRoute::Kind::kInput:
            if (ComputerPlays()) {
                computerKeys_.Set(computerSide_, computer_->Poll(game_));
                const bool repaint = game_.InputTick();
                computerKeys_.Release();
                return repaint;
            }
            return game_.InputTick();
    }
    return false;
}

void GameShell::SetComputer(int side, ComputerLevel level) {
    computerSide_ = side;
    computerLevel_ = level;
}

void GameShell::StartComputer() {
    computer_.reset();
    computerKeys_.Steer(1, false);
    computerKeys_.Steer(2, false);
    const bool sideInGame = computerSide_ == 1 || game_.iGameStatus != kStatusOnePlayer;
    if (computerLevel_ == ComputerLevel::kOff || !sideInGame) return;
    computer_.emplace(computerLevel_, computerSide_, kComputerSeed);
    computerKeys_.Steer(computerSide_, true);
}

bool GameShell::ComputerPlays() const {
    return computer_ && !Routed() && IsGameRunning(game_.iGameStatus);
}

void GameShell::StartPreparedGame() {
    if (state_.startDialogOpen) {
        CloseStartDialog();
    } else {
        platform_.InvalidateAll();
    }
}

void GameShell::PaintGame() {
    // A paint for an uncovered part of the window, or one that comes after the game moved on,
    // shows a state the rows outside the next repaint may not show.
    if (requestedGameFrame_ != CurrentGameFrameInputs()) requestedGameFrame_.reset();
    const Surface& frame =
        screen_.ComposeGame(game_, state_.backgroundImage, platform_.ClientRect());
    platform_.Present(frame, std::min(kGameFrameWidth, frame.Width()),
                      std::min(kGameFrameHeight, frame.Height()));
    // In a network fight the markers must go at the same tick on both machines: the fight
    // clears them, never a paint.
    if (!Routed()) ClearShownBlastMarkers(game_);
}

GameFrameInputs GameShell::CurrentGameFrameInputs() const {
    const auto piece = [](const figure& f) {
        return GameFrameInputs::Piece{f.what, f.color, f.x, f.y, f.stone};
    };
    const Rect client = platform_.ClientRect();
    GameFrameInputs inputs;
    inputs.field = game_.SpielFeld;
    inputs.pieces = {piece(game_.AktuellerSpielStein1), piece(game_.AktuellerSpielStein2)};
    inputs.status = game_.iGameStatus;
    inputs.points1 = game_.Up1Points;
    inputs.points2 = game_.Up2Points;
    inputs.won1 = game_.won1;
    inputs.won2 = game_.won2;
    inputs.backgroundImage = state_.backgroundImage;
    inputs.clientWidth = client.Width();
    inputs.clientHeight = client.Height();
    return inputs;
}

namespace {

// The field rows drawn differently in frames of two game states, or nothing when more than the
// field, the pieces and the score differ: the whole frame changes.
std::optional<std::pair<int, int>> ChangedFieldRows(const GameFrameInputs& before,
                                                    const GameFrameInputs& after) {
    if (before.status != after.status || before.backgroundImage != after.backgroundImage ||
        before.clientWidth != after.clientWidth || before.clientHeight != after.clientHeight ||
        before.won1 != after.won1 || before.won2 != after.won2)
        return std::nullopt;
    int first = kFieldRows;
    int last = -1;
    const auto add = [&](int from, int to) {
        first = std::min(first, std::max(from, 0));
        last = std::max(last, to);
    };
    for (int y = 0; y < kFieldRows; ++y) {
        for (std::size_t x = 0; x < before.field.size(); ++x) {
            if (before.field[x][static_cast<std::size_t>(y)] !=
                after.field[x][static_cast<std::size_t>(y)]) {
                add(y, y);
                break;
            }
        }
    }
    for (std::size_t i = 0; i < before.pieces.size(); ++i) {
        if (before.pieces[i] == after.pieces[i]) continue;
        for (const GameFrameInputs::Piece* piece : {&before.pieces[i], &after.pieces[i]})
            add(piece->y, piece->y + 3);  // its four-by-four box
    }
    if (before.points1 != after.points1 || before.points2 != after.points2) add(0, 0);
    if (last < first) return std::nullopt;
    return std::pair{first, last};
}

}  // namespace

// Most input ticks change nothing that is drawn: the piece falls at the gravity tick; the others
// repaint the rows they change. The frame the last repaint request showed is compared: a paint
// that composes another state forgets it (see PaintGame), and the next change repaints all.
void GameShell::RepaintGameIfChanged() {
    GameFrameInputs now = CurrentGameFrameInputs();
    if (requestedGameFrame_ == now) return;
    const std::optional<std::pair<int, int>> rows =
        requestedGameFrame_ ? ChangedFieldRows(*requestedGameFrame_, now) : std::nullopt;
    requestedGameFrame_ = std::move(now);
    if (!rows) {
        platform_.InvalidateAll();
        return;
    }
    const PixelRows pixels = GameFramePixelRows(rows->first, rows->second);
    platform_.InvalidateRows(pixels.top, pixels.bottom);
}

void GameShell::OnTimer(int id) {
    if (state_.shutDown) return;
    switch (id) {
        case kTimerTitlePicture:
            screen_.TitlePictureCycle();
            platform_.InvalidateTop(kTitlePictureBottom);
            break;
        case kTimerTitleStep:
            TitleAnimationTick();
            break;
        case kTimerGravity:
            RunTick(TickRoute::Kind::kGravity);
            break;
        case kTimerInput:
            if (RunTick(TickRoute::Kind::kInput)) RepaintGameIfChanged();
            UpdatePausedMarker();
            break;
        case kTimerMusicPoll:
            MusicPollTick();
            break;
        case kTimerSpeedUp:
            RunTick(TickRoute::Kind::kSpeedUp);
            break;
        case kTimerHiscoreCheck:
            platform_.KillTimer(kTimerHiscoreCheck);
            OfferScoreAndShowTitle();
            break;
        default:
            break;
    }
}

void GameShell::TitleAnimationTick() {
    screen_.TitleAnimationStep(state_.WINBREITE);
    if (state_.ClrScr == 1) {
        // The first step after entering wipes what the last game left below the band.
        state_.ClrScr = 0;
        platform_.InvalidateAll();
    } else {
        platform_.InvalidateTop(kTitleBandBottom);
    }
}

void GameShell::MusicPollTick() {
    // The game ticks stand still while the music is handled; a paused game stays paused.
    if (game_.gamePause == 1) {
        music_.letMusicPlay();
        return;
    }
    game_.STOP = 1;
    music_.letMusicPlay();
    game_.STOP = 0;
}

void GameShell::OnCommand(int id) {
    if (state_.shutDown) return;
    switch (id) {
        case kCmdHiscore:
            hiscores_.ShowScore();
            break;
        case kCmdQuit:
            ShutdownAndQuit();
            break;
        case kCmdMusicPlay:
            SetMusicChecks(true);
            if (music_.Paused()) music_.musicPause();
            break;
        case kCmdMusicStop:
            SetMusicChecks(false);
            if (!music_.Paused()) music_.musicPause();
            break;
        case kCmdQuitGame:
            // The item is grayed outside a game; a stray command must not open a second
            // start dialog.
            if (!IsGameRunning(game_.iGameStatus)) break;
            game_.iGameStatus = kStatusTitlePending;
            // A paused game requests no frames, so ask for the paint that ends it.
            platform_.InvalidateAll();
            break;
        case kCmdSkipMusic:
            SkipMusic();
            break;
        case kCmdPicture:
            SetBackground(1);
            break;
        case kCmdWhite:
            SetBackground(0);
            break;
        case kCmdGameInfo:
            platform_.RunInfoDialog();
            break;
        case kCmdHelpFile:
            OpenHelpFile();
            break;
        case kCmdAbout:
            platform_.RunAboutDialog();
            break;
        default:
            break;
    }
}

void GameShell::SkipMusic() {
    if (music_.Paused()) return;
    game_.STOP = 1;
    music_.skipSong();
    game_.STOP = game_.gamePause;
}

void GameShell::SetMusicChecks(bool playing) {
    platform_.CheckMenuItem(kCmdMusicPlay, playing);
    platform_.CheckMenuItem(kCmdMusicStop, !playing);
}

void GameShell::SetBackground(int image) {
    platform_.CheckMenuItem(kCmdPicture, image == 1);
    platform_.CheckMenuItem(kCmdWhite, image == 0);
    state_.backgroundImage = image;
}

void GameShell::OpenHelpFile() {
    // The help file lies in the working directory, however long its path is.
    platform_.OpenHelp((workingDirectory_ / kHelpFileName).string());
}

void GameShell::OnActivate() {
    if (state_.shutDown || !state_.startDialogOpen) return;
    platform_.FocusStartDialog();
}

void GameShell::OnDeactivate() {
    if (state_.shutDown || !settings_.pauseOnFocusLoss) return;
    if (!IsGameRunning(game_.iGameStatus)) return;
    // A pause of one side alone would part the two games of a network fight; the fight pauses
    // both at one tick, and only if it still runs then.
    if (Routed()) return route_->PauseWhileAway();
    if (game_.gamePause == 1) return;
    game_.gamePause = 1;
    game_.STOP = 1;
    UpdatePausedMarker();
}

void GameShell::ApplySettings(const Settings& settings) {
    settings_ = settings;
    SetComputer(2, settings.computer);
    UpdatePausedMarker();
}

void GameShell::UpdatePausedMarker() {
    const bool shown =
        settings_.showPaused && IsGameRunning(game_.iGameStatus) && game_.gamePause == 1;
    if (shown == pausedMarkerShown_) return;
    pausedMarkerShown_ = shown;
    platform_.ShowPausedMarker(shown);
}

void GameShell::OnDestroy() {
    ShutdownAndQuit();
}

int GameShell::AfterLoop() {
    hiscores_.Save();
    return kExitCode;
}

void GameShell::StartDialogInit() {
    platform_.CheckRadioButton(kDlgOnePlayer, kDlgTwoPlayers,
                               game_.iPlayer == 1 ? kDlgOnePlayer : kDlgTwoPlayers);
    platform_.CheckRadioButton(kDlgCooperative, kDlgFaceToFace,
                               game_.iGameTyp == 1 ? kDlgCooperative : kDlgFaceToFace);
    const Rect dialog = platform_.StartDialogRect();
    state_.WINBREITE = dialog.Width();
    state_.WINHOEHE = dialog.bottom;
    state_.WINCHANGE = 1;
}

void GameShell::StartDialogCommand(int id) {
    // A click that arrives after the dialog is gone must not start a second game.
    if (state_.shutDown || !state_.startDialogOpen) return;
    switch (id) {
        case kDlgOnePlayer:
        case kDlgTwoPlayers:
            platform_.CheckRadioButton(kDlgOnePlayer, kDlgTwoPlayers, id);
            game_.iPlayer = id == kDlgOnePlayer ? 1 : 2;
            break;
        case kDlgCooperative:
        case kDlgFaceToFace:
            platform_.CheckRadioButton(kDlgCooperative, kDlgFaceToFace, id);
            game_.iGameTyp = id == kDlgCooperative ? 1 : 2;
            break;
        case kDlgStart:
            if (game_.iPlayer == 1) {
                game_.iGameStatus = kStatusOnePlayer;
            } else {
                game_.iGameStatus = game_.iGameTyp == 1 ? kStatusCooperative : kStatusFaceToFace;
            }
            game_.noScore = game_.iGameStatus == kStatusFaceToFace ? 1 : 0;
            game_.GameInit = 1;
            CloseStartDialog();
            break;
        case kDlgExit:
            game_.iGameStatus = kStatusExit;
            CloseStartDialog();
            break;
        default:
            break;
    }
}

void GameShell::CloseStartDialog() {
    platform_.DestroyStartDialog();
    state_.startDialogOpen = false;
    // The area the dialog covered is repainted; that paint starts the game or ends the program.
    platform_.InvalidateAll();
}

// A key reading of the rules, by the virtual-key code they use, reads the physical key the player
// bound to that request and the gamepad of that side; the pause key reads both pads.
bool GameShell::ReadSlot(const KeySlot& slot, bool (Platform::*reading)(int)) {
    const bool key = (platform_.*reading)(settings_.keys.At(slot));
    if (slot.pause) {
        const bool first = (platform_.*reading)(PadKey(0, kPadPauseButton));
        const bool second = (platform_.*reading)(PadKey(1, kPadPauseButton));
        return key || first || second;
    }
    const bool pad = (platform_.*reading)(PadKey(PadForSide(settings_, slot.side), slot.action));
    return key || pad;
}

bool GameShell::PressedSinceLastRead(int virtualKey) {
    if (Routed()) return route_->PressedSinceLastRead(virtualKey);
    if (ComputerPlays()) {
        if (const auto reading = computerKeys_.Pressed(game_, virtualKey)) return *reading;
    }
    return PressedIn(virtualKey, game_.iGameStatus);
}

bool GameShell::Held(int virtualKey) {
    if (Routed()) return route_->Held(virtualKey);
    if (ComputerPlays()) {
        if (const auto reading = computerKeys_.Held(game_, virtualKey)) return *reading;
    }
    return HeldIn(virtualKey, game_.iGameStatus, true);
}

std::optional<KeySlot> GameShell::PersonSlot(int virtualKey, int gameStatus) const {
    auto slot = SlotOfVirtualKey(virtualKey, gameStatus);
    if (slot && slot->side == kLeftPlayer && computerSide_ == 2 && ComputerPlays()) {
        slot->side = kOnePlayer;
    }
    return slot;
}

bool GameShell::PressedIn(int virtualKey, int gameStatus) {
    const auto slot = PersonSlot(virtualKey, gameStatus);
    return slot && ReadSlot(*slot, &Platform::PressedSinceLastRead);
}

bool GameShell::HeldIn(int virtualKey, int gameStatus, bool repeat) {
    const auto slot = PersonSlot(virtualKey, gameStatus);
    if (!slot) return false;
    const bool down = ReadSlot(*slot, &Platform::Held);
    if (!repeat || slot->pause || (slot->action != kMoveLeft && slot->action != kMoveRight)) {
        return down;
    }
    KeyRepeat& keyRepeat =
        repeat_[std::size_t(slot->side * 2 + (slot->action == kMoveRight ? 1 : 0))];
    return keyRepeat.Held(down, settings_.repeat, kInputMs);
}

void GameShell::ShowMessage(std::string_view text, std::string_view caption) {
    platform_.ShowMessage(text, caption);
}

void GameShell::RestartGravityTimer(int milliseconds) {
    platform_.SetTimer(kTimerGravity, milliseconds);
}

void GameShell::ShutdownAndQuit() {
    if (state_.shutDown) return;
    state_.shutDown = true;
    StopTimersMusicAndScreen();
    platform_.PostQuit(kExitCode);
}

void GameShell::StopTimersMusicAndScreen() {
    for (int id : {kTimerInput, kTimerGravity, kTimerSpeedUp, kTimerTitleStep, kTimerTitlePicture,
                   kTimerMusicPoll, kTimerHiscoreCheck}) {
        platform_.KillTimer(id);
    }
    music_.musicKill();
    screen_.Release();
}

}  // namespace blok
