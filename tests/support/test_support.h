// Helpers for the tests: temporary game trees, a recording console, program runs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/console.h"

// The banner both programs print first.
inline constexpr char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
// What each program prints after it for usage.
inline constexpr char kTexsiftUsage[] =
    "Usage: Texsift.EXE C:\\KORVAN1\\ <flag>\n\tflag = 0 or 1, type of search algorithm\n";
inline constexpr char kCompactUsage[] = "Usage: Texsift.EXE C:\\KORVAN1\\\n";
// The list of options that --help prints after the usage text, in both programs.
inline constexpr char kHelpList[] =
    "\n"
    "  --help, -h, /?     print this help and exit\n"
    "  --version          print the program's version and exit\n"
    "  --json             write JSON Lines records instead of the console report\n"
    "  --csv              write CSV rows instead of the console report\n"
    "  --html DIR         also write a page with thumbnails to DIR (outside the game tree)\n"
    "  TEXSIFT_THREADS=N  search files on N threads, 1 to 1024 (default: one per core)\n";

// What both programs print before their search on the game root `root`, as
// shown: the banner and "Scanning path"; then, unless `upto` stops there, a
// "collecting" line for the texture root and for each of `texture_dirs`
// (below it, in walk order, each ending in a backslash), with `clear` (a
// terminal's clear to the end of the line) before each line's tabs, and the
// separator.
enum class OpeningEnd { kScanningPath, kSeparator };
std::string report_opening(const std::string& root,
                           const std::vector<std::string>& texture_dirs = {},
                           OpeningEnd upto = OpeningEnd::kSeparator, const char* clear = "");

// A console that records text and colour changes as one transcript, each
// change written as "{N}" where it happened.
class RecordingConsole : public Console {
 public:
  void write(std::string_view text) override { transcript_ += text; }
  void set_colour(int attribute) override {
    transcript_ += "{" + std::to_string(attribute) + "}";
  }
  const std::string& transcript() const { return transcript_; }

 private:
  std::string transcript_;
};

// A directory made for one test under the system's temporary directory,
// removed with everything in it when the object goes.
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The directory's path, ending in a separator.
  const std::string& root() const { return root_; }
  // Writes `content` to the file at `relative` (slashes between levels),
  // making the directories it needs.
  void write(const std::string& relative, std::string_view content) const;
  // Makes the directory at `relative` and those above it.
  void make_directory(const std::string& relative) const;

 private:
  std::string root_;
};

// The whole content of the file at `path`; empty when it cannot be read.
std::string read_whole_file(const std::string& path);

// `text` with each timing figure ("\t1.2345 sec 1234.5678 ms") replaced by
// "\t# sec # ms", so that runs can be compared.
std::string mask_timings(const std::string& text);

// `text` with the seconds of each machine-readable report's totals ("%.6f"
// before "}", "," or a line end) replaced by "#".
std::string mask_seconds(const std::string& text);

// `text` with each run of one colour change repeated ("{7}{7}{7}") written
// once: what a console shows, which a search that sets the colour once per
// name tried gives only once per run.
std::string without_repeated_colours(const std::string& text);

// `text` with every CR LF turned into LF where standard output is in text
// mode and writes a line feed as CR LF (Windows); elsewhere `text` itself.
std::string without_crlf(const std::string& text);

// What a program run gave.
struct ProgramResult {
  int status = -1;
  std::string out;  // standard output, CR LF turned into LF
  std::string err;  // standard error
};

// Runs the program named `program` in the current directory with `args`.
ProgramResult run_built_program(const std::string& program,
                                const std::vector<std::string>& args);

// Sets the environment variable `name` to `value` (removes it for null) for
// the programs run while it lives, and puts back what was there before.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_value_;
};

// A .thm as the real files lay it out: chunks of a u32 id, a u32 size and
// the data, the detail texture (0x815) and the bump (0x817) as
// zero-terminated names among binary fields.
std::string thm_file(const std::string& detail, const std::string& bump);
