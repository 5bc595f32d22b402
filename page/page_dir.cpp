// The page folder's rules: never in the game tree or where its walk reaches, never a stranger's files, never through a link.
#include "page/page_dir.h"

#include <algorithm>
#include <set>

#include "search/game_root.h"
#include "platform/fs.h"

namespace {

constexpr size_t kMaxListBytes = 64u << 20;

// The identities of the folder `real` (an absolute path) and every folder above it.
std::set<std::pair<uint64_t, uint64_t>> identities_up_from(std::string real) {
  std::set<std::pair<uint64_t, uint64_t>> ids;
  while (!real.empty()) {
    DirectoryId id;
    if (directory_identity(real, &id))
      ids.emplace(id.device, id.index);
    std::string parent = parent_path(real);
    if (parent == real || parent.empty())
      break;
    real = parent;
  }
  return ids;
}

// True when a walk of `root` (ending in a separator), following links as the
// search's walk does, meets a folder whose identity is one of `ids`.
bool walk_meets(const std::string& root, const std::set<std::pair<uint64_t, uint64_t>>& ids) {
  std::set<std::pair<uint64_t, uint64_t>> seen;
  std::vector<std::string> pending{root};
  while (!pending.empty()) {
    std::string directory = pending.back();
    pending.pop_back();
    DirectoryId id;
    if (!directory_identity(directory.empty() ? "." : directory, &id))
      continue;
    if (ids.count({id.device, id.index}))
      return true;
    if (!seen.emplace(id.device, id.index).second)
      continue;
    DirectoryListing listing(directory + "*.*");
    DirEntry entry;
    while (listing.ok() && listing.next(&entry))
      if (entry.is_directory)
        pending.push_back(directory + entry.native_name + '\\');
  }
  return false;
}

// The nearest folder at or above `dir` that exists; "." for a relative path none of whose parts do.
std::string existing_folder(std::string dir) {
  while (!dir.empty() && entry_kind(dir) == EntryKind::kMissing)
    dir = parent_path(dir);
  return dir.empty() ? "." : dir;
}

std::string where_problem(const std::string& dir, const std::string& game_root) {
  std::string real = real_path(existing_folder(dir));
  std::string real_root = real_path(game_root.empty() ? "." : game_root);
  if (real.empty() || real_root.empty())
    return "cannot be resolved";
  // Compared with one separator, '/', since real paths use the platform's own.
  auto comparable = [](std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path.ends_with('/') ? path : path + '/';
  };
  if (comparable(real).starts_with(comparable(real_root)))
    return "lies inside the game tree";
  if (walk_meets(game_root, identities_up_from(real)))
    return "is reached by the walk of the game tree through a link";
  return "";
}

// The files an earlier page's list names; false when the list cannot be read.
bool read_page_list(const std::string& path, std::vector<std::string>* files) {
  InputFile file;
  int64_t size = file.open(path) ? file.size() : -1;
  if (size < 0 || static_cast<uint64_t>(size) > kMaxListBytes)
    return false;
  std::string text(static_cast<size_t>(size), '\0');
  text.resize(file.read_from_start(text.data(), text.size()));
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line[0] != '#')
      files->push_back(line);
    start = end + 1;
  }
  return true;
}

std::string native_relative(const std::string& relative) {
  std::string path = relative;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Why the entries of an existing page folder forbid a page there, or empty.
std::string contents_problem(PageDir* page_dir) {
  std::vector<std::string> names;
  if (!list_entry_names(page_dir->path, &names))
    return "cannot be listed";
  if (names.empty())
    return "";
  bool listed = std::find(names.begin(), names.end(), kPageListName) != names.end();
  if (!listed || !read_page_list(page_dir->path + kPageListName, &page_dir->old_files))
    return "holds files that no page of Texsift wrote";
  std::set<std::string> known(page_dir->old_files.begin(), page_dir->old_files.end());
  known.insert(kPageListName);
  for (const std::string& name : names) {
    EntryKind kind = entry_kind(page_dir->path + name);
    if (name == "thumbs" && kind == EntryKind::kDirectory) {
      std::vector<std::string> thumbs;
      if (!list_entry_names(page_dir->path + "thumbs\\", &thumbs))
        return "holds a thumbs folder that cannot be listed";
      for (const std::string& thumb : thumbs)
        if (!known.count("thumbs/" + thumb) ||
            entry_kind(page_dir->path + "thumbs\\" + thumb) != EntryKind::kFile)
          return "holds 'thumbs/" + thumb + "', which no page of Texsift wrote";
    } else if (!known.count(name) || kind != EntryKind::kFile) {
      return "holds '" + name + "', which no page of Texsift wrote";
    }
  }
  return "";
}

}  // namespace

std::string check_page_dir(const std::string& dir, const std::string& game_root,
                           PageDir* page_dir) {
  page_dir->path = with_trailing_separator(dir);
  page_dir->old_files.clear();
  std::string bare = dir;
  while (bare.size() > 1 && is_separator(bare.back()))
    bare.pop_back();
  EntryKind kind = entry_kind(bare);
  if (kind == EntryKind::kLink)
    return "is a link, and a page is never written through one";
  if (kind != EntryKind::kMissing && kind != EntryKind::kDirectory)
    return "is not a folder";
  page_dir->exists = kind == EntryKind::kDirectory;
  if (std::string problem = where_problem(page_dir->path, game_root); !problem.empty())
    return problem;
  if (page_dir->exists && entry_kind(page_dir->path + "thumbs") == EntryKind::kLink)
    return "holds 'thumbs', a link";
  return page_dir->exists ? contents_problem(page_dir) : "";
}

std::string prepare_page_dir(const PageDir& page_dir, const std::vector<std::string>& files) {
  // Every missing folder from the nearest existing one down.
  std::vector<std::string> missing;
  for (std::string path = page_dir.path; !path.empty() && entry_kind(path) == EntryKind::kMissing;
       path = parent_path(path))
    missing.push_back(path);
  for (auto at = missing.rbegin(); at != missing.rend(); ++at)
    if (!make_directory(*at))
      return "cannot be created";
  for (const std::string& old : page_dir.old_files)
    remove_file(page_dir.path + native_relative(old));
  std::string thumbs = page_dir.path + "thumbs";
  if (entry_kind(thumbs) == EntryKind::kMissing && !make_directory(thumbs))
    return "cannot hold a thumbs folder";
  if (entry_kind(thumbs) != EntryKind::kDirectory)
    return "holds a 'thumbs' that is not a folder";
  std::string list = "# What a page of Texsift wrote here; a later page replaces these files.\n";
  for (const std::string& file : files)
    list += file + '\n';
  if (!write_file(page_dir.path + kPageListName, list))
    return "cannot be written to";
  return "";
}

bool write_page_file(const PageDir& page_dir, const std::string& relative, std::string_view bytes) {
  return write_file(page_dir.path + native_relative(relative), bytes);
}
