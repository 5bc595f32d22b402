// JSON Lines and CSV records of the files searched, one after another as the search hands them on.
#include "report/file_records.h"

#include <cstdio>

#include "text/encode.h"
#include "search/file_search.h"
#include "platform/console.h"
#include "platform/process.h"

namespace {

const char kCsvHeader[] =
    "type,file,name,offset,files_searched,bytes_searched,textures,names,seconds,size\n";

// The names found in `result`, ascending: none unless its content was read and searched.
const std::vector<uint32_t>& found_names(const FileResult& result) {
  static const std::vector<uint32_t> kNone;
  return result.file.searched && result.file.size > 0 ? result.found.names() : kNone;
}

// The bytes of `result` searched: none unless its content was read.
std::string searched_size(const FileResult& result) {
  return std::to_string(result.file.searched ? result.file.size : 0);
}

}  // namespace

std::string elapsed_seconds(const RecordReport& report) {
  double seconds = static_cast<double>(perf_counter() - report.perf_start) /
                   static_cast<double>(report.perf_frequency);
  char text[64];
  snprintf(text, sizeof text, "%.6f", seconds);
  return text;
}

void FileRecords::begin() {
  if (report_.format == ReportFormat::kCsv)
    report_.console.write(kCsvHeader);
}

void FileRecords::on_file(const FileResult& result) {
  ++files_searched_;
  if (result.file.searched)
    bytes_searched_ += result.file.size;
  if (report_.format == ReportFormat::kJson)
    write_json(result);
  else
    write_csv(result);
}

void FileRecords::write_json(const FileResult& result) {
  std::string line = "{\"type\":\"file\",\"path\":" +
                     json_text(report_.paths.native_from_game_root(result.file.open_path)) +
                     ",\"size\":" + searched_size(result) + ",\"names\":[";
  bool first = true;
  for (uint32_t i : found_names(result)) {
    line += first ? "" : ",";
    line += "{\"name\":" + json_text(ansi_to_utf8(names_[i])) +
            ",\"offset\":" + std::to_string(*result.found.offset(i)) + "}";
    first = false;
  }
  report_.console.write(line + "]}\n");
}

void FileRecords::write_csv(const FileResult& result) {
  std::string path = csv_field(report_.paths.native_from_game_root(result.file.open_path));
  std::string rows = csv_row({"file", path, "", "", "", "", "", "", "", searched_size(result)});
  for (uint32_t i : found_names(result))
    rows += csv_row({"reference", path, csv_field(ansi_to_utf8(names_[i])),
                     std::to_string(*result.found.offset(i)), "", "", "", "", "", ""});
  report_.console.write(rows);
}

void FileRecords::end() {
  std::string files = std::to_string(files_searched_);
  std::string bytes = std::to_string(bytes_searched_);
  std::string textures = std::to_string(texture_count_);
  std::string names = std::to_string(names_.size());
  std::string seconds = elapsed_seconds(report_);
  if (report_.format == ReportFormat::kCsv) {
    report_.console.write(
        csv_row({"totals", "", "", "", files, bytes, textures, names, seconds, ""}));
    return;
  }
  report_.console.write("{\"type\":\"totals\",\"files_searched\":" + files +
                        ",\"bytes_searched\":" + bytes + ",\"textures\":" + textures +
                        ",\"names\":" + names + ",\"seconds\":" + seconds + "}\n");
}
