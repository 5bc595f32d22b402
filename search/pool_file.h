// One file as the file pool read it: its paths, and how opening and reading it went.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PoolFile {
  std::string path;       // the file's full path, as the walk built it
  std::string open_path;  // the path that opens it (see WalkVisitor::on_file)
  std::string name;       // its bare name
  bool opened = false;    // false when it could not be opened: nothing else is set
  bool searched = false;  // false when it was empty: nothing was read
  uint64_t size = 0;      // the bytes read; the size that could not be held when unheld
  bool unheld = false;    // true when its content could not be held in memory
  int64_t elapsed = 0;    // performance-counter counts the work on its bytes took
  size_t order = 0;       // its place among the files the pool was given, from 0
  size_t slot = 0;        // which of the pool's slots it holds, below pool_slots()
};
