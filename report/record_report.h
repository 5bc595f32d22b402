// Algorithm #1's machine-readable report: a record per texture, with its references and mentions.
#pragma once

#include <cstdint>
#include <vector>

#include "report/file_records.h"
#include "search/references.h"
#include "search/second_look.h"

struct Catalogue;

// The names of the textures of `catalogue` that `references` leave
// unreferenced: those the second look looks for.
std::vector<uint32_t> unreferenced_names(const Catalogue& catalogue, const References& references);

// Writes the texture records of what algorithm #1 found: a record per
// texture of `catalogue`, in catalogue order, with its path, its size, the
// number of its mentions, and its names, each with the files that hold it
// and their offsets, and its mentions; then the totals: textures, names,
// textures referenced (by any of their names) and unreferenced, files and
// bytes searched, the bytes of the referenced and of the unreferenced
// textures, the unreferenced textures mentioned, seconds. CSV writes a header
// row, a "reference" row per name and file holding it, an "unreferenced" row
// for a name no file holds followed by a "mention" row per mention of it, and
// the totals row.
void write_texture_records(const Catalogue& catalogue, const References& references,
                           const Mentions& mentions, const RecordReport& report);
