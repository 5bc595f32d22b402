// The console report: its context, the FOUND and timing lines, and the lines of algorithms #1 and #2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "report/file_records.h"
#include "search/game_root.h"
#include "search/references.h"

class Console;
struct Catalogue;

// Where a Texsift report goes and how it shows times and paths. Fixed for a
// run once the game root is known.
struct ConsoleReport {
  Console& console;
  int64_t perf_frequency;  // performance-counter counts per second
  GamePaths paths;         // paths are shown from the game root on
};

// The timing line for `elapsed` counts at `perf_frequency` counts per second:
// "\t%2.4f sec " with the seconds in double precision, then "%6.4f ms\n" with
// the milliseconds rounded to single precision.
std::string format_elapsed(int64_t elapsed, int64_t perf_frequency);

// Reads the performance counter and prints the timing line of the time since
// `perf_start`.
void print_elapsed(const ConsoleReport& report, int64_t perf_start);

// Sets the colour for a reference found and prints "FOUND '<what>' @ <offset>"
// with the offset in decimal.
void print_found(const ConsoleReport& report, std::string_view what, uint64_t offset);

// Prints the FOUND lines of one file with `print_line` (which sets green
// itself), one for each name in `found` (ascending), with the colours that
// trying `name_count` names in turn sets: grey before each name tried. A
// change to the colour already in force is left out, as a console shows none:
// grey once before the first name, and again after each FOUND line unless its
// name was the last, so the work follows the names found, not those sought.
void print_found_in_turn(Console& console, size_t name_count, const std::vector<uint32_t>& found,
                         const std::function<void(uint32_t name)>& print_line);

// Algorithm #2's lines: prints, for each file that opened, its "searching in" line, then, unless
// it is empty, a FOUND line for each catalogue name it holds, in catalogue
// order, and the time its names took. Each name tried sets the grey colour
// first, so after a file the colour in force is grey, or green when the last
// name was found.
class PerFileLines : public FileReport {
 public:
  PerFileLines(const Catalogue& catalogue, const ConsoleReport& report)
      : catalogue_(catalogue), report_(report) {}
  void on_file(const FileResult& result) override;

 private:
  const Catalogue& catalogue_;
  const ConsoleReport& report_;
};

// Algorithm #1's lines: for each name of `catalogue`, in order, prints its "searching" line, a
// FOUND line for each file that refers to it, "NOT FOUND REFERENCED" when
// there is none, and the time the name took. The report is the one a walk of
// the tree per name would give, but the references come from one call of
// `find`, made inside the first name's timed unit. Returns them.
References print_texture_report(const Catalogue& catalogue, const ConsoleReport& report,
                                const std::function<References()>& find);
