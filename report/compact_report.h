// Texsift-compact's console report: per file searched, where each texture name is in it.
#pragma once

#include <cstddef>

#include "report/file_records.h"
#include "search/game_root.h"

class Console;

// Prints, for each file that opened, "searching in '%s'\n" with its bare
// name and, for each catalogue name found in its content, in catalogue
// order, sets colour 10 and prints "FOUND '%s' @ %u\n" with the file's path
// from the game root and the offset. Colour 7 is set at the start of every
// name tried on a non-empty file.
class CompactLines : public FileReport {
 public:
  CompactLines(size_t name_count, const GamePaths& paths, Console& console)
      : name_count_(name_count), paths_(paths), console_(console) {}
  void on_file(const FileResult& result) override;

 private:
  size_t name_count_;
  const GamePaths& paths_;
  Console& console_;
};
