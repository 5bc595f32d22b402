// Entry point of texsift_bench_tree, the generator of game trees for the benchmark.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "bench/game_tree.h"
#include "text/console.h"

namespace {

// Makes `root` if it does not exist; refuses anything but an empty directory,
// so that a tree is never mixed with other files.
void prepare_output(const std::filesystem::path& root) {
  std::error_code failure;
  if (std::filesystem::exists(root, failure)) {
    if (!std::filesystem::is_directory(root, failure))
      fatal("%s exists and is not a directory", root.string().c_str());
    if (!std::filesystem::is_empty(root, failure))
      fatal("%s is not empty; give a new or empty directory", root.string().c_str());
  }
  std::filesystem::create_directories(root, failure);
  if (failure)
    fatal("cannot make %s: %s", root.string().c_str(), failure.message().c_str());
}

double mib(size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void print_summary(const TreeSize& size, const std::string& root, const TreeStats& stats,
                   double seconds) {
  printf("%.*s tree written to %s in %.1f s\n", static_cast<int>(size.label.size()),
         size.label.data(), root.c_str(), seconds);
  printf("  textures:        %zu (catalogue names %zu, unreferenced %zu, "
         "referenced only at a file's end %zu)\n",
         stats.textures, stats.names, stats.unreferenced, stats.at_end);
  printf("  all files:       %zu, %.1f MiB\n", stats.files, mib(stats.bytes));
  printf("  Texsift reads:   %zu, %.1f MiB\n", stats.searchable_files,
         mib(stats.searchable_bytes));
}

}  // namespace

int main(int argc, char** argv) {
  set_program_name("texsift_bench_tree");
  if (argc != 3)
    fatal("usage: texsift_bench_tree small|medium|large|xl|real OUTPUT_DIR");
  const TreeSize* size = find_tree_size(argv[1]);
  if (size == nullptr)
    fatal("unknown size '%s': give small, medium, large, xl or real", argv[1]);
  std::filesystem::path root(argv[2]);
  prepare_output(root);
  auto start = std::chrono::steady_clock::now();
  TreeStats stats = write_game_tree(*size, root);
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  print_summary(*size, argv[2], stats, elapsed.count());
  return 0;
}
