#pragma once

// Menu commands of the "&Options" popup (the game's own commands are 200..217).
namespace blok {

inline constexpr int kCmdZoom1 = 300;  // 300..303: zoom 1x..4x
inline constexpr int kCmdZoom4 = 303;
inline constexpr int kCmdFullScreen = 304;
inline constexpr int kCmdControls = 305;
inline constexpr int kCmdVolume = 306;
inline constexpr int kCmdPauseOnFocusLoss = 307;
inline constexpr int kCmdShowPaused = 308;
inline constexpr int kFirstOptionCommand = 300;
inline constexpr int kLastOptionCommand = 319;

}  // namespace blok
