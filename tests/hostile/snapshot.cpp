// Records of trees: names, kinds, sizes, modification times and content hashes.
#include "hostile/snapshot.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// FNV-1a over the file's bytes; "unreadable" when it cannot be opened.
std::string content_hash(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return "unreadable";
  uint64_t hash = 14695981039346656037ull;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i)
      hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
  }
  return std::to_string(hash);
}

std::string modification_time(const fs::path& path) {
  std::error_code error;
  auto time = fs::last_write_time(path, error);
  return error ? "?" : std::to_string(time.time_since_epoch().count());
}

std::string describe(const fs::directory_entry& entry) {
  std::error_code error;
  fs::file_status status = entry.symlink_status(error);
  if (fs::is_symlink(status))
    return "link to " + fs::read_symlink(entry.path(), error).string();
  if (fs::is_directory(status))
    return "directory, modified " + modification_time(entry.path());
  if (fs::is_regular_file(status))
    return "file of " + std::to_string(entry.file_size(error)) + " bytes, modified " +
           modification_time(entry.path()) + ", hash " + content_hash(entry.path());
  return "other entry";
}

}  // namespace

TreeSnapshot snapshot_tree(const std::string& root_text) {
  // The root in UTF-8, as the programs take it on every platform here.
  const fs::path root(std::u8string(root_text.begin(), root_text.end()));
  TreeSnapshot snapshot;
  snapshot["."] = describe(fs::directory_entry(root));
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(
           root, fs::directory_options::skip_permission_denied, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error))
    snapshot[it->path().lexically_relative(root).generic_string()] = describe(*it);
  if (error)
    snapshot["(error)"] = error.message();
  return snapshot;
}

std::string snapshot_difference(const TreeSnapshot& before, const TreeSnapshot& after) {
  for (const auto& [path, description] : before) {
    auto it = after.find(path);
    if (it == after.end())
      return path + " is gone (was " + description + ")";
    if (it->second != description)
      return path + " changed from " + description + " to " + it->second;
  }
  for (const auto& [path, description] : after)
    if (!before.count(path))
      return path + " is new (" + description + ")";
  return "";
}
