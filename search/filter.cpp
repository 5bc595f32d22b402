// Texsift's filters: the searchable-file filter (the program-file rule and the exclusion list) and the second look's.
#include "search/filter.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "text/ascii.h"

namespace {

// Files whose names hold any of these are never read: images, sounds,
// archives, compiled level data, logs and the like.
constexpr std::string_view kExcluded[] = {
    ".ai",       ".anm",       ".bak",      ".bat",      ".bin",
    ".bpl",      ".cform",     ".cmd",      ".dds",      ".drv",
    ".efd",      ".env_mod",   ".game",     ".gct",      ".geom",
    ".graph",    ".h",         ".hom",      ".ini",      ".inf",
    ".log",      ".manifest",  ".net",      ".ogg",      ".ogm",
    ".omf",      ".ppe",       ".ps_static", ".snd_env", ".snd_static",
    ".rar",      ".sav",       ".script",   ".sfap0",    ".scc",
    ".som",      ".tga",       ".thm",      ".txt",      ".wallmarks",
    ".xml",      ".qz",        ".zip",      "external.ltx", "textures.ltx",
    "~",
};
static_assert(std::size(kExcluded) == 46);

// Program files are skipped unless their names hold "qz".
bool is_program_file(std::string_view name) {
  return (contains(name, ".dll") || contains(name, ".exe")) && !contains(name, "qz");
}

bool is_excluded(std::string_view name) {
  for (std::string_view part : kExcluded)
    if (contains(name, part))
      return true;
  return false;
}

// Files that hold no name as text. Compiled level geometry (vertices, collision, AI nodes, occlusion) is most
// of a level's bytes and holds no names.
constexpr std::string_view kNoTextExtensions[] = {
    ".dds", ".tga", ".png", ".jpg", ".jpeg", ".bmp",           // images
    ".ogg", ".wav", ".mp3",                                    // sounds
    ".ogm", ".avi", ".bik", ".mp4",                            // videos
    ".zip", ".rar", ".7z",  ".db",  ".xdb",  ".gz",            // archives
    ".geom", ".cform", ".ai", ".hom", ".graph", ".som",        // compiled level geometry
};

bool holds_no_text(std::string_view name) {
  std::string lower = lower_ascii(name);
  size_t dot = lower.rfind('.');
  if (dot == std::string::npos)
    return false;
  std::string_view extension = std::string_view(lower).substr(dot);
  return std::find(std::begin(kNoTextExtensions), std::end(kNoTextExtensions), extension) !=
         std::end(kNoTextExtensions);
}

}  // namespace

EntryAction is_searchable(const DirEntry& entry) {
  if (is_program_file(entry.name))
    return EntryAction::kSkip;
  if (entry.is_directory)
    return EntryAction::kDescend;
  return is_excluded(entry.name) ? EntryAction::kSkip : EntryAction::kRead;
}

EntryAction second_look_action(const DirEntry& entry) {
  EntryAction search_action = is_searchable(entry);
  if (entry.is_directory)
    return search_action;
  if (search_action == EntryAction::kRead || holds_no_text(entry.name))
    return EntryAction::kSkip;
  return EntryAction::kRead;
}
