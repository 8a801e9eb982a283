// How the simulator treats the lines of a script it cannot follow.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sim.h"

namespace {

struct ScriptRun {
    int code;
    std::string out;
    std::string err;
};

ScriptRun RunLines(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    const int code = blok::sim::RunScript(in, out, err);
    return {code, out.str(), err.str()};
}

// The bad line comes third, after a start and a dump whose output must survive.
void ExpectRefused(const std::string& badLine) {
    const ScriptRun run = RunLines("start 3\ndump\n" + badLine + "\ndump\n");
    EXPECT_EQ(run.code, 2) << badLine;
    EXPECT_EQ(run.err.rfind("error line 3: ", 0), 0u) << badLine << " gave: " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line of error for " << badLine;
    EXPECT_EQ(run.out.find("end\n"), run.out.rfind("end\n")) << "one dump before " << badLine;
    EXPECT_NE(run.out.find("status 3 "), std::string::npos) << badLine;
}

TEST(SimScript, UnknownCommandsAndKeys) {
    for (const char* line : {"jump", "Dump", "gravity2", "input left1 jump", "input LEFT1"}) {
        ExpectRefused(line);
    }
}

TEST(SimScript, BadNumbers) {
    for (const char* line :
         {"seed abc", "seed 12x", "seed 0x10", "seed +5", "seed 1.5", "start three", "cell 2 x 1",
          "cell 2 3 --1", "seed 99999999999999999999999"}) {
        ExpectRefused(line);
    }
}

TEST(SimScript, NumbersOutOfRange) {
    for (const char* line :
         {"seed -1", "seed 4294967296", "start 2", "start 6", "cell -1 0 1", "cell 50 0 1",
          "cell 0 30 1", "cell 0 -1 1", "cell 2 3 32768", "cell 2 3 -32769"}) {
        ExpectRefused(line);
    }
}

TEST(SimScript, MissingAndStrayArguments) {
    for (const char* line : {"seed", "seed 1 2", "start", "start 3 4", "paint now", "gravity 1",
                             "speedup x", "quit 1", "dump all", "cell 1 2", "cell 1 2 3 4"}) {
        ExpectRefused(line);
    }
}

TEST(SimScript, MalformedPictureCommands) {
    // /dev/null is no directory, so no frame can be written below it.
    for (const char* line :
         {"frame", "frame a b", "frame /dev/null/x.ppm", "background", "background blue"}) {
        ExpectRefused(line);
    }
}

TEST(SimScript, ControlBytesInRefusedLinesAreShownEscaped) {
    const ScriptRun run = RunLines("start 3\ndump\nju\x1b[2Jmp\x7f\ndump\n");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "error line 3: unknown command 'ju\\x1b[2Jmp\\x7f'\n");
    const ScriptRun key = RunLines("start 3\ninput left1 \x07\n");
    EXPECT_EQ(key.err, "error line 2: unknown key '\\x07'\n");
}

TEST(SimScript, AnOverlongLineIsRefusedWithoutReadingItWhole) {
    const std::string longLine(64 * 1024 + 1, 'a');
    const ScriptRun run = RunLines("start 3\ndump\n" + longLine + "\ndump\n");
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "error line 3: line longer than 65536 bytes\n");
    // A line just at the limit is read, and a last line without its end still counts.
    const ScriptRun atLimit = RunLines("start 3\n" + std::string(64 * 1024, ' ') + "\ndump");
    EXPECT_EQ(atLimit.code, 0) << atLimit.err;
    EXPECT_NE(atLimit.out.find("status 3 "), std::string::npos);
}

TEST(SimScript, OutputThatCannotBeWrittenIsAFailure) {
    std::istringstream in("start 3\ndump\n");
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    std::ostringstream err;
    EXPECT_EQ(blok::sim::RunScript(in, out, err), 1);
    EXPECT_NE(err.str().find("cannot be written"), std::string::npos) << err.str();
}

TEST(SimScript, CommentsAndBlankLinesAreSkippedButCounted) {
    const ScriptRun good =
        RunLines("# a comment\n\n   \t\nseed 7 # trailing comment\r\nstart 4\ndump\n");
    EXPECT_EQ(good.code, 0);
    EXPECT_TRUE(good.err.empty()) << good.err;
    EXPECT_NE(good.out.find("status 4 "), std::string::npos);

    const ScriptRun bad = RunLines("# one\n\n#three\nstart 3\n   \nnonsense # six\ndump\n");
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err.rfind("error line 6: ", 0), 0u) << bad.err;
    EXPECT_TRUE(bad.out.empty()) << "nothing after the bad line runs";
}

TEST(SimScript, BoundaryValuesAreAccepted) {
    const ScriptRun run = RunLines(
        "seed 0\nseed 4294967295\nstart 5\ncell 0 0 -32768\n"
        "cell 49 29 32767\ndump\n");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("row 0 -32768 "), std::string::npos);
}

}  // namespace
