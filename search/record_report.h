// Texsift's machine-readable reports: per texture (algorithm #1) and per file (algorithm #2).
#pragma once

#include <string>

#include "common/file_records.h"

struct Catalogue;

// Walks `game_root` once, as search_textures does, and writes the texture
// records of what it finds: a record per texture of `catalogue`, in catalogue
// order, with its path and its names, each with the files that hold it and
// their offsets; then the totals: textures, names, textures referenced (by
// any of their names) and unreferenced, files and bytes searched, seconds.
// CSV writes a header row, a "reference" row per name and file holding it,
// and an "unreferenced" row for a name no file holds.
void record_textures(const std::string& game_root, const Catalogue& catalogue,
                     const RecordReport& report);

// Walks `game_root` once, as search_files does, and writes FileRecords: a
// record per file searched and the totals.
void record_files(const std::string& game_root, const Catalogue& catalogue,
                  const RecordReport& report);
