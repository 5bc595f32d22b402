// Texsift's machine-readable reports: per texture (algorithm #1) and per file (algorithm #2).
#pragma once

#include <string>

#include "search/tree_search.h"
#include "report/file_records.h"
#include "search/references.h"
#include "search/second_look.h"

struct Catalogue;

// What algorithm #1's records are made of: the references, and the second
// look's mentions of the unreferenced textures' names.
struct TextureFindings {
  References references;
  Mentions mentions;
};

// The second look (find_mentions) at the files below `game_root` for the
// names of the textures of `catalogue` that `references` leave unreferenced.
Mentions look_again(const std::string& game_root, const Catalogue& catalogue,
                    const References& references, const GamePaths& paths);

// Walks `game_root` once, as search_textures does, then once more for the
// second look when some texture is unreferenced, and writes the texture
// records of what it finds: a record per texture of `catalogue`, in catalogue
// order, with its path, its size, the number of its mentions, and its names,
// each with the files that hold it and their offsets, and its mentions; then
// the totals: textures, names, textures referenced (by any of their names)
// and unreferenced, files and bytes searched, the bytes of the referenced and
// of the unreferenced textures, the unreferenced textures mentioned, seconds.
// CSV writes a header row, a "reference" row per name and file holding it, an
// "unreferenced" row for a name no file holds followed by a "mention" row per
// mention of it, and the totals row. Returns what it found.
TextureFindings record_textures(const std::string& game_root, const Catalogue& catalogue,
                                const RecordReport& report);

// Walks `game_root` once, as search_files does, and writes FileRecords: a
// record per file searched and the totals.
// `also`, when given, takes each file's result after its record.
void record_files(const std::string& game_root, const Catalogue& catalogue,
                  const RecordReport& report, const ResultSink& also = {});
