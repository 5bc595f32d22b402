// The compact build's one search: every catalogue name tried on every searchable file.
#pragma once

#include <string>

#include "search/game_root.h"
#include "search/tree_search.h"

class Console;
struct Catalogue;
struct RecordReport;

// Walks `game_root` (ending in a separator, or empty for the current
// directory) depth-first. For each searchable file that opens, prints
// "searching in '%s'\n" with its bare name and, for each catalogue name found
// in its content, in catalogue order, sets colour 10 and prints
// "FOUND '%s' @ %u\n" with the file's path from the game root and the offset.
// Colour 7 is set at the start of every name tried on a non-empty file.
// `also`, when given, takes each file's result after its lines.
void compact_search_files(const std::string& game_root, const Catalogue& catalogue,
                          const GamePaths& paths, Console& console, const ResultSink& also = {});

// Walks `game_root` as compact_search_files does and writes FileRecords: a
// record per file searched with the catalogue names found in it, then the
// totals.
// `also`, when given, takes each file's result after its record.
void compact_record_files(const std::string& game_root, const Catalogue& catalogue,
                          const RecordReport& report, const ResultSink& also = {});
