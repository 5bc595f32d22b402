// The reports written file by file, and the per-file records that Texsift's per-file search and Texsift-compact both write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "search/game_root.h"

class Console;

// What a run writes on standard output.
enum class ReportFormat {
  kConsole,  // the console report, with its banner, progress and colours
  kJson,     // JSON Lines records in its place
  kCsv,      // CSV rows in its place
};

// Where a machine-readable report goes and what it takes from the run. Its
// records write catalogue names and texture paths (in the encoding the file
// functions give names in) as UTF-8 through ansi_to_utf8, and the paths of
// the files searched as the file functions take them (see DirEntry): on
// Windows UTF-8 from the wide name, so a name shown in part is written whole,
// and one with an unpaired surrogate (not well-formed UTF-8) takes the bytes
// form of json_text.
struct RecordReport {
  ReportFormat format;     // kJson or kCsv
  Console& console;        // takes the records' text; no colour is ever set
  GamePaths paths;         // paths are written from the game root on
  int64_t perf_start;      // the performance counter when the run began
  int64_t perf_frequency;  // its counts per second
};

// The seconds since the run began, "%.6f".
std::string elapsed_seconds(const RecordReport& report);

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

// Writes the per-file report: a record for every file searched, in the order
// the files come, and the totals. In JSON Lines a "file" record holds the
// file's path, the bytes searched in it and each catalogue name found in it,
// in catalogue order, with the offset of its first occurrence; in CSV a
// "file" row for the file, with its size, is followed by a "reference" row
// per name found.
class FileRecords : public FileReport {
 public:
  // `names` are the catalogue's names, found names being their indexes;
  // `texture_count` is the number of textures in the catalogue.
  FileRecords(const RecordReport& report, const std::vector<std::string>& names,
              size_t texture_count)
      : report_(report), names_(names), texture_count_(texture_count) {}

  // Writes the CSV header row; nothing for JSON Lines.
  void begin() override;
  // Writes the records of one file that opened.
  void on_file(const FileResult& result) override;
  // Writes the totals: files and bytes searched, textures, names, seconds.
  void end() override;

 private:
  void write_json(const FileResult& result);
  void write_csv(const FileResult& result);

  const RecordReport& report_;
  const std::vector<std::string>& names_;
  size_t texture_count_;
  uint64_t files_searched_ = 0;
  uint64_t bytes_searched_ = 0;
};
