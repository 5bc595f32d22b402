// Tests of what a terminal is sent (ANSI sequences, their reset) and of the progress line's text.
#include <gtest/gtest.h>

#include "app/programs.h"
#include "search/file_pool.h"
#include "text/console.h"
#include "support/test_support.h"

namespace {

TEST(AnsiConsole, SequencesOnlyWhereTheTerminalTakesThem) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/config/a.ltx", "act\\act_head");
  // The run's text, with `clear` where a line is cleared and `grey`, `green`
  // and `white` where those colours are set.
  auto report = [&tree](const char* clear, const char* grey, const char* green,
                        const char* white) {
    return report_opening(tree.root(), {"act\\"}, OpeningEnd::kSeparator, clear) +
           "algorithm #1 selected (slower)\n" + grey +
           "searching 'act\\act_head' (1 of 1)\n" + green +
           "FOUND 'gamedata\\config\\a.ltx' @ 0\n" + white + "\t# sec # ms\n";
  };
  const std::string plain = report("", "", "", "");
  const std::string cleared = report("\x1b[K", "", "", "");
  // The reset that ends the run comes last.
  const std::string coloured =
      report("\x1b[K", "\x1b[0;37m", "\x1b[0;92m", "\x1b[0;97m") + "\x1b[0m";
  struct Row {
    bool is_terminal;
    const char* no_color;
    const char* term;
    const std::string& transcript;
  } rows[] = {
      {true, nullptr, "xterm-256color", coloured},
      {true, nullptr, nullptr, coloured},
      {true, "", "xterm", cleared},
      {true, "1", "xterm", cleared},
      {true, nullptr, "dumb", plain},
      {false, nullptr, "xterm", plain},
  };
  for (const Row& row : rows) {
    RecordingConsole recording;
    AnsiConsole console(recording, terminal_settings(row.is_terminal, row.no_color, row.term));
    EXPECT_EQ(run_texsift({"Texsift", tree.root()}, console), 0);
    console.reset_colour();
    EXPECT_EQ(mask_timings(recording.transcript()), row.transcript)
        << row.is_terminal << " NO_COLOR=" << (row.no_color ? row.no_color : "(unset)")
        << " TERM=" << (row.term ? row.term : "(unset)");
  }
}

TEST(ProgressText, CountsSizesAndRates) {
  constexpr uint64_t kMb = 1024 * 1024;
  struct Row {
    uint64_t files;
    uint64_t bytes;
    double seconds;
    const char* text;
  } rows[] = {
      {0, 0, 0.0, "searched 0 files, 0.0 MB, 0.0 MB/s"},
      {1, kMb, 0.0, "searched 1 file, 1.0 MB, 0.0 MB/s"},
      {2, kMb / 2, 0.25, "searched 2 files, 0.5 MB, 2.0 MB/s"},
      {1234, 59454259, 0.5, "searched 1,234 files, 56.7 MB, 113.4 MB/s"},
      {999, kMb * 999, 1.0, "searched 999 files, 999.0 MB, 999.0 MB/s"},
      {1000, kMb / 10, 3.0, "searched 1,000 files, 0.1 MB, 0.0 MB/s"},
      {1234567, kMb * 20480, 100.0, "searched 1,234,567 files, 20,480.0 MB, 204.8 MB/s"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(progress_text(row.files, row.bytes, row.seconds), row.text) << row.text;
}

}  // namespace
