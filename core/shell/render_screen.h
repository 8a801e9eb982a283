#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "pictures.h"
#include "random.h"
#include "services.h"
#include "surface.h"
#include "title.h"

namespace blok {

// The main window's pictures: title and game frames composed on one off-screen surface.
class RenderScreen final : public Screen {
  public:
    explicit RenderScreen(Random& random) : random_(random) {}

    // Where the surface's pixels come from: given a width and height, zeroed memory for them,
    // or null for memory of the surface's own.
    using PixelLender = std::function<std::shared_ptr<std::uint32_t[]>(int width, int height)>;
    void SetPixelLender(PixelLender lender) { lender_ = std::move(lender); }

    void Create(Rect client) override;
    void TitleAnimationStep(int WINBREITE) override;
    void TitlePictureCycle() override;
    const Surface& ComposeTitle(int WINBREITE, Rect client, std::string_view caption) override;
    const Surface& ComposeGame(const Game& game, int backgroundImage, Rect client) override;
    void Release() override;

  private:
    Random& random_;
    PixelLender lender_;
    const Pictures* pictures_ = nullptr;
    std::optional<Surface> hHiddenScreenDC_;
    TitleScreen title_;
    TitleTrace titleTrace_;  // what the surface holds of the last title frame
    Surface none_{0, 0};     // what a released screen shows: nothing
};

}  // namespace blok
