// Temporary trees, output masking and program runs for the tests.
#include "support/test_support.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "support/process.h"

namespace fs = std::filesystem;

namespace {

std::string unique_name() {
  static std::atomic<unsigned> counter{0};
  auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return "texsift_test_" + std::to_string(now) + "_" + std::to_string(counter++);
}

}  // namespace

TempTree::TempTree() {
  fs::path path = fs::temp_directory_path() / unique_name();
  fs::create_directories(path);
  root_ = path.string();
  root_ += static_cast<char>(fs::path::preferred_separator);
}

TempTree::~TempTree() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void TempTree::write(const std::string& relative, std::string_view content) const {
  fs::path path = fs::path(root_) / fs::path(relative).make_preferred();
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

void TempTree::make_directory(const std::string& relative) const {
  fs::create_directories(fs::path(root_) / fs::path(relative).make_preferred());
}

std::string report_opening(const std::string& root, const std::vector<std::string>& texture_dirs,
                           OpeningEnd upto, const char* clear) {
  std::string text = std::string(kBanner) + "Scanning path: '" + root + "'\n";
  if (upto == OpeningEnd::kScanningPath)
    return text;
  text += "collecting = 'gamedata\\textures\\*.*'" + std::string(clear) + "\t\t\r";
  for (const std::string& directory : texture_dirs)
    text += "collecting = 'gamedata\\textures\\" + directory + "*.*'" + clear + "\t\t\r";
  return text + "\n--------------\n";
}

std::string read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string mask_timings(const std::string& text) {
  static const std::regex timing("\t *[0-9]+\\.[0-9]{4} sec *[0-9]+\\.[0-9]{4} ms");
  return std::regex_replace(text, timing, "\t# sec # ms");
}

std::string mask_seconds(const std::string& text) {
  static const std::regex seconds("[0-9]+\\.[0-9]{6}(?=[},\n])");
  return std::regex_replace(text, seconds, "#");
}

std::string without_repeated_colours(const std::string& text) {
  static const std::regex repeated("(\\{[0-9]+\\})\\1+");
  return std::regex_replace(text, repeated, "$1");
}

std::string without_crlf(const std::string& text) {
  if (std::string_view(program_line_end()) == "\n")
    return text;
  std::string result;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
      result += text[i];
  return result;
}

ProgramResult run_built_program(const std::string& program,
                                const std::vector<std::string>& args) {
  TempTree outputs;
  std::vector<std::string> command{(fs::current_path() / program).string()};
  command.insert(command.end(), args.begin(), args.end());
  ProgramResult result;
  result.status = run_program(command, outputs.root() + "out", outputs.root() + "err");
  result.out = without_crlf(read_whole_file(outputs.root() + "out"));
  result.err = without_crlf(read_whole_file(outputs.root() + "err"));
  return result;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  if (const char* old_value = getenv(name))
    old_value_ = old_value;
  set_environment(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  set_environment(name_, old_value_ ? old_value_->c_str() : nullptr);
}

// A .thm as the real files lay it out: chunks of a u32 id, a u32 size and
// the data, the detail texture (0x815) and the bump (0x817) as
// zero-terminated names among binary fields.
std::string thm_file(const std::string& detail, const std::string& bump) {
  auto chunk = [](uint32_t id, const std::string& data) {
    std::string out;
    for (uint32_t value : {id, static_cast<uint32_t>(data.size())})
      for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
    return out + data;
  };
  return chunk(0x810, std::string("\x12\0", 2)) + chunk(0x813, std::string(4, '\1')) +
         chunk(0x812, std::string(32, '\xfe')) + chunk(0x814, std::string(4, '\0')) +
         chunk(0x815, detail + std::string("\0\0\0\xc0\x40", 5)) +
         chunk(0x816, std::string(8, '\x3f')) +
         chunk(0x817, std::string("\xcd\xcc\x4c\x3d\x02\0\0\0", 8) + bump + std::string(1, '\0')) +
         chunk(0x818, std::string(1, '\0')) + chunk(0x819, std::string(1, '\1'));
}
