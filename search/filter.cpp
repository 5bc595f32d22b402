// The searchable-file filter: the program-file rule and the exclusion list.
#include "search/filter.h"

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

}  // namespace

EntryAction is_searchable(const DirEntry& entry) {
  if (is_program_file(entry.name))
    return EntryAction::kSkip;
  if (entry.is_directory)
    return EntryAction::kDescend;
  return is_excluded(entry.name) ? EntryAction::kSkip : EntryAction::kRead;
}
