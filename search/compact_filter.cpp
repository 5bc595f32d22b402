// The compact build's exclusion table and its entry decision.
#include "search/filter.h"

#include <iterator>

namespace {

// Tested in this order; a hit anywhere in the name excludes the file.
constexpr std::string_view kExclusions[] = {
    ".ai",        ".anm",   ".bak",      ".bat",        ".cform",    ".cmd",
    ".dds",       ".drv",   ".efd",      ".env_mod",    ".game",     ".gct",
    ".geom",      ".graph", ".h",        ".hom",        ".ini",      ".inf",
    ".log",       ".manifest", ".ogg",   ".ogm",        ".omf",      ".ppe",
    ".ps_static", ".snd_env", ".snd_static", ".rar",    ".sfap0",    ".scc",
    ".som",       ".tga",   ".thm",      ".wallmarks",  ".zip",      ".qz",
};
static_assert(std::size(kExclusions) == 36);

}  // namespace

bool compact_is_excluded(std::string_view name) {
  for (std::string_view excluded : kExclusions)
    if (name.find(excluded) != std::string_view::npos)
      return true;
  return false;
}

EntryAction compact_entry_action(const DirEntry& entry) {
  if (entry.is_directory)
    return EntryAction::kDescend;
  return compact_is_excluded(entry.name) ? EntryAction::kSkip : EntryAction::kRead;
}
