// The simulator's picture commands, as the screenshot scripts use them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <unistd.h>

#include "sim.h"

namespace blok {
namespace {

const std::string kHeader = "P6\n409 428\n255\n";

struct SimResult {
    int status;
    std::string err;
};

SimResult RunSim(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    const int status = sim::RunScript(in, out, err);
    return {status, err.str()};
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Pixel (x, y) of a written frame as 0xRRGGBB.
unsigned PixelOf(const std::string& ppm, int x, int y) {
    const std::size_t at = kHeader.size() + static_cast<std::size_t>((y * 409 + x) * 3);
    return static_cast<unsigned>(static_cast<unsigned char>(ppm[at])) << 16 |
           static_cast<unsigned>(static_cast<unsigned char>(ppm[at + 1])) << 8 |
           static_cast<unsigned>(static_cast<unsigned char>(ppm[at + 2]));
}

class SimFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        // Unique per process: other build trees may run this test at the same time.
        dir = std::filesystem::temp_directory_path() /
              ("blok-sim-frame-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string File(const char* name) const { return (dir / name).string(); }

    std::filesystem::path dir;
};

TEST_F(SimFrame, WritesTheVisibleFrameAndShowsABlastOnlyOnce) {
    const SimResult run =
        RunSim("seed 8\nframe " + File("before.ppm") + "\nstart 3\ncell 5 10 10\n" + "frame " +
               File("a.ppm") + "\nframe " + File("b.ppm") + "\nbackground white\nframe " +
               File("c.ppm") + "\nquit\nframe " + File("d.ppm") + "\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string before = Slurp(dir / "before.ppm");
    const std::string a = Slurp(dir / "a.ppm");
    const std::string b = Slurp(dir / "b.ppm");
    const std::string c = Slurp(dir / "c.ppm");
    ASSERT_EQ(a.size(), kHeader.size() + 409 * 428 * 3);
    EXPECT_EQ(a.substr(0, kHeader.size()), kHeader);

    EXPECT_EQ(PixelOf(before, 200, 200), 0u);               // nothing composed yet: black
    EXPECT_NE(PixelOf(a, 170, 190), PixelOf(b, 170, 190));  // the flame, then the background
    EXPECT_EQ(PixelOf(a, 10, 300), PixelOf(b, 10, 300));
    EXPECT_EQ(PixelOf(c, 10, 300), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(c, 103, 300), 0x808080u);
    EXPECT_EQ(Slurp(dir / "d.ppm"), c);  // outside a game: the last frame composed
}

}  // namespace
}  // namespace blok
