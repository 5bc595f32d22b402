// Texsift's machine-readable reports: per texture (algorithm #1) and per file (algorithm #2).
#pragma once

#include <string>

#include "common/file_pool.h"
#include "common/file_records.h"
#include "search/references.h"

struct Catalogue;
struct References;

// Walks `game_root` once, as search_textures does, and writes the texture
// records of what it finds: print_texture_records. Returns the references found.
References record_textures(const std::string& game_root, const Catalogue& catalogue,
                     const RecordReport& report);

// Writes a record per texture of `catalogue`, in catalogue order, with its
// path and its names, each with the files of `references` that hold it and
// their offsets; then the totals: textures, names, textures referenced (by
// any of their names) and unreferenced, files and bytes searched, seconds.
// CSV writes a header row, a "reference" row per name and file holding it,
// and an "unreferenced" row for a name no file holds.
void print_texture_records(const Catalogue& catalogue, const References& references,
                           const RecordReport& report);

// Walks `game_root` once, as search_files does, and writes FileRecords: a
// record per file searched and the totals.
// `also`, when given, takes each file's result after its record.
void record_files(const std::string& game_root, const Catalogue& catalogue,
                  const RecordReport& report, const ResultSink& also = {});
