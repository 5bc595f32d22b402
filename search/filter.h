// The searchable-file filter: which entries of the game tree the searches descend into or read.
#pragma once

#include <string>

#include "platform/fs.h"
#include "search/walk.h"

// What the searches do with `entry`, judged by its bare name alone with
// case-sensitive substring tests, in this order: a name holding ".dll" or
// ".exe" but not "qz" is skipped, directory or not; other directories are
// descended into; a file whose name holds any of the 46 excluded substrings
// (".dds", ".h", "textures.ltx", "~" ...) is skipped; every other file is
// read. ("." and ".." never reach it: the listing gives neither.)
EntryAction is_searchable(const DirEntry& entry);
