// Which entries of the game tree the compact build's search descends into, reads or passes over.
#pragma once

#include <string_view>

#include "search/walk.h"

// True when the bare file name `name` holds one of the compact build's 36
// excluded substrings (".ai", ".anm", ... ".zip", ".qz"); case-sensitive
// substring tests, anywhere in the name.
bool compact_is_excluded(std::string_view name);

// What the search walk does with `entry`: every directory is descended into
// whatever its name, and a file is read unless its name is excluded.
EntryAction compact_entry_action(const DirEntry& entry);
