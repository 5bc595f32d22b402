// The filters: which entries of the game tree Texsift's search, its second look and Texsift-compact's search descend into or read.
#pragma once

#include <string_view>

#include "platform/fs.h"
#include "search/walk.h"

// What the searches do with `entry`, judged by its bare name alone with
// case-sensitive substring tests, in this order: a name holding ".dll" or
// ".exe" but not "qz" is skipped, directory or not; other directories are
// descended into; a file whose name holds any of the 46 excluded substrings
// (".dds", ".h", "textures.ltx", "~" ...) is skipped; every other file is
// read. ("." and ".." never reach it: the listing gives neither.)
EntryAction is_searchable(const DirEntry& entry);

// What the second look does with a directory entry: it walks the folders the
// search walks, and reads the files the search passes over by name, save
// those that hold no name as text: images (.dds, .tga, .png, .jpg, .jpeg,
// .bmp), sounds (.ogg, .wav, .mp3), videos (.ogm, .avi, .bik, .mp4),
// archives (.zip, .rar, .7z, .db, .xdb, .gz) and compiled level geometry
// (.geom, .cform, .ai, .hom, .graph, .som). Extensions are matched in any
// letter case. The texture descriptions (.thm, textures.ltx) are read: the
// second look tells which of them it reads as descriptions.
EntryAction second_look_action(const DirEntry& entry);

// True when the bare file name `name` holds one of the compact build's 36
// excluded substrings (".ai", ".anm", ... ".zip", ".qz"); case-sensitive
// substring tests, anywhere in the name.
bool compact_is_excluded(std::string_view name);

// What Texsift-compact's search does with `entry`: every directory is descended into
// whatever its name, and a file is read unless its name is excluded.
EntryAction compact_entry_action(const DirEntry& entry);
