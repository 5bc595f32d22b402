// Single-thread timing of both programs' one-pass searches (NameSearch and CompactNameSearch) over the files Texsift reads, with the catalogue's names.
//
// texsift_bench_scan TREE/ --list files --names names   (then, on the same files and names:)
//   xargs -0 cat < files > /dev/null
//   xargs -0 grep -F -f names -b -o -a < files > out
//   xargs -0 rg -j1 --no-config -F -f names -b -o -a < files > out
// --copies 16 adds each name again with the suffixes _v2 to _v16, for the growth with the names.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "text/console.h"
#include "platform/fs.h"
#include "search/walk.h"
#include "search/file_content.h"
#include "search/filter.h"
#include "match/name_search.h"
#include "match/compact_scanner.h"

namespace {

struct Options {
  std::string game_root;
  int copies = 1;            // the names given, then copies with _v2 ... suffixes
  int rounds = 3;            // timed passes; the fastest is reported
  const char* list = nullptr;   // file to write the searchable paths to
  const char* names = nullptr;  // file to write the searched names to
  StartTest start_test = fastest_start_test();  // the prefilter's way of finding starts
};

// Loads every file the searches read, in walk order.
class LoadingWalk : public WalkVisitor {
 public:
  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return is_searchable(entry);
  }

  void on_file(const std::string& path, const std::string& open_path, const DirEntry&) override {
    InputFile file;
    if (!file.open(open_path))
      return;
    int64_t size = file.size();
    if (size <= 0)
      return;
    paths.push_back(native_path(path));
    contents.emplace_back();
    if (!contents.back().read(file, static_cast<uint64_t>(size)))
      fail_to_hold(path, static_cast<uint64_t>(size));
  }

  std::vector<std::string> paths;
  std::vector<FileContent> contents;
};

// Discards the catalogue walk's progress lines.
class SilentConsole : public Console {
 public:
  void write(std::string_view) override {}
  void set_colour(int) override {}
};

[[noreturn]] void usage() {
  fprintf(stderr,
          "usage: texsift_bench_scan GAME_ROOT/ [--copies N] [--rounds N] [--list FILE]\n"
          "                          [--names FILE] [--portable]\n");
  exit(2);
}

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool has_value = i + 1 < argc;
    if (arg == "--copies" && has_value)
      options.copies = atoi(argv[++i]);
    else if (arg == "--rounds" && has_value)
      options.rounds = atoi(argv[++i]);
    else if (arg == "--list" && has_value)
      options.list = argv[++i];
    else if (arg == "--names" && has_value)
      options.names = argv[++i];
    else if (arg == "--portable")
      options.start_test = StartTest::kPortable;
    else if (options.game_root.empty() && arg[0] != '-')
      options.game_root = arg;
    else
      usage();
  }
  if (options.game_root.empty() || options.copies < 1 || options.rounds < 1)
    usage();
  return options;
}

// The catalogue's names, then `copies` - 1 further sets of them with the
// suffixes _v2, _v3 ...: similar names with the same first bytes.
std::vector<std::string> searched_names(const std::string& game_root, int copies) {
  SilentConsole console;
  Catalogue catalogue =
      collect_textures(texture_root_of(game_root), game_paths_of(game_root), console);
  std::vector<std::string> names = catalogue.names;
  const size_t catalogue_count = names.size();
  for (int copy = 2; copy <= copies; ++copy)
    for (size_t i = 0; i < catalogue_count; ++i)
      names.push_back(names[i] + "_v" + std::to_string(copy));
  return names;
}

// Writes `lines`, each followed by `end`, to `path`.
void write_lines(const char* path, const std::vector<std::string>& lines, char end) {
  FILE* out = fopen(path, "wb");
  if (!out)
    fatal("cannot write %s", path);
  for (const std::string& line : lines) {
    fwrite(line.data(), 1, line.size(), out);
    fputc(end, out);
  }
  fclose(out);
}

// Processor time, not wall time: the machine the benchmark runs on is often
// shared, and the scan neither waits for input nor sleeps.
double seconds_since(std::clock_t start) {
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// One pass of find_all over every file, in seconds.
double timed_pass(const NameRule& search, const std::vector<FileContent>& contents) {
  FoundNames found;
  std::clock_t start = std::clock();
  for (const FileContent& content : contents)
    search.find_all(content.bytes(), &found);
  return seconds_since(start);
}

// The names found in all files, summed over the files.
unsigned long long names_found(const NameRule& search, const std::vector<FileContent>& contents) {
  FoundNames found;
  unsigned long long count = 0;
  for (const FileContent& content : contents) {
    search.find_all(content.bytes(), &found);
    count += found.names().size();
  }
  return count;
}

// The shortest of `rounds` timings by `pass`.
template <typename Pass>
double best_of(int rounds, Pass pass) {
  double best = pass();
  for (int round = 1; round < rounds; ++round)
    best = std::min(best, pass());
  return best;
}

// One pass that only reads every file's bytes: the floor under any scan.
double read_pass(const std::vector<FileContent>& contents, uint64_t* sum) {
  uint64_t x = 0;
  std::clock_t start = std::clock();
  for (const FileContent& content : contents) {
    const unsigned char* data = content.bytes().data();
    for (uint64_t i = 0; i + 8 <= content.size(); i += 8) {
      uint64_t word;
      memcpy(&word, data + i, 8);
      x ^= word;
    }
  }
  *sum = x;
  return seconds_since(start);
}

// One pass that reads every file from the file system again, in seconds:
// each whole into one buffer kept from file to file, as both programs read,
// or through a buffer of 128 KiB, as cat reads.
double file_read_pass(const std::vector<std::string>& paths, bool whole, uint64_t* bytes) {
  constexpr size_t kPiece = 128 * 1024;
  std::vector<char> buffer(kPiece);
  uint64_t total = 0;
  std::clock_t start = std::clock();
  for (const std::string& path : paths) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
      continue;
    size_t want = kPiece;
    if (whole && fseek(file, 0, SEEK_END) == 0) {
      long size = ftell(file);
      rewind(file);
      want = size > 0 ? static_cast<size_t>(size) : 1;
      if (want > buffer.size())
        buffer.resize(want);
    }
    for (size_t got; (got = fread(buffer.data(), 1, want, file)) > 0;)
      total += got;
    fclose(file);
  }
  *bytes = total;
  return seconds_since(start);
}

}  // namespace

int main(int argc, char** argv) {
  set_program_name("texsift_bench_scan");
  Options options = parse(argc, argv);
  std::vector<std::string> names = searched_names(options.game_root, options.copies);
  std::clock_t load_start = std::clock();
  LoadingWalk walk;
  walk_tree(options.game_root, walk);
  double load_seconds = seconds_since(load_start);
  if (options.list)
    write_lines(options.list, walk.paths, '\0');
  if (options.names)
    write_lines(options.names, names, '\n');

  std::vector<std::string_view> views(names.begin(), names.end());
  std::clock_t build_start = std::clock();
  NameSearch search(views, options.start_test);
  double build_seconds = seconds_since(build_start);
  CompactNameSearch compact(views, options.start_test);
  uint64_t bytes = 0;
  for (const FileContent& content : walk.contents)
    bytes += content.size();

  const size_t files = walk.contents.size();
  double scan = best_of(options.rounds, [&] { return timed_pass(search, walk.contents); });
  double compact_scan =
      best_of(options.rounds, [&] { return timed_pass(compact, walk.contents); });
  uint64_t sum = 0;
  double read = best_of(options.rounds, [&] { return read_pass(walk.contents, &sum); });
  double mb = static_cast<double>(bytes) / 1e6;
  printf("%zu files, %.1f MB, %zu names, %llu found; load %.3f s, build %.3f s\n", files, mb,
         names.size(), names_found(search, walk.contents), load_seconds, build_seconds);
  printf("find_all:                       %.4f s, %5.0f MB/s (best of %d)\n", scan, mb / scan,
         options.rounds);
  printf("compact find_all:               %.4f s, %5.0f MB/s (%llu found)\n", compact_scan,
         mb / compact_scan, names_found(compact, walk.contents));
  uint64_t read_bytes = 0;
  double whole = best_of(options.rounds,
                         [&] { return file_read_pass(walk.paths, true, &read_bytes); });
  double pieces = best_of(options.rounds,
                          [&] { return file_read_pass(walk.paths, false, &read_bytes); });
  double read_mb = static_cast<double>(read_bytes) / 1e6;
  printf("files read whole:               %.4f s, %5.0f MB/s\n", whole, read_mb / whole);
  printf("files read in 128 KiB pieces:   %.4f s, %5.0f MB/s\n", pieces, read_mb / pieces);
  printf("reading every byte:             %.4f s, %5.0f MB/s (checksum %llx)\n", read, mb / read,
         static_cast<unsigned long long>(sum));
  return 0;
}
