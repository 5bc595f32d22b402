// A report written file by file as a search over files goes.
#pragma once

struct FileResult;

// The console lines of one program's search over files, or the per-file
// records: told of the search's start, of each file that opened in walk
// order, and of its end.
class FileReport {
 public:
  virtual ~FileReport() = default;
  virtual void begin() {}
  virtual void on_file(const FileResult& result) = 0;
  virtual void end() {}
};
