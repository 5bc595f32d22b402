// Algorithm #1's machine-readable report: a record per texture, with its references and mentions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/file_records.h"
#include "search/references.h"
#include "search/second_look.h"

struct Catalogue;
struct TextureFiles;

// Per texture of `catalogue`: true when `references` leave it unreferenced,
// none of its names being referred to.
std::vector<bool> unreferenced_textures(const Catalogue& catalogue, const References& references);

// Writes the texture records of what algorithm #1 found: a record per
// texture of `catalogue`, in catalogue order, with its path, its size (from
// `files`), the number of its mentions, and its names, each with the files
// that hold it and their offsets, and its mentions, each of its kind ("file",
// or "description" with the texture it describes); then its companions with
// their sizes and the texture whose description keeps each (`users`, per
// companion, see companion_users), its copy group and the bytes of its group's further copies;
// then the totals: textures, names, textures referenced (by any of their
// names) and unreferenced, files and bytes searched, the bytes of the
// referenced and of the unreferenced textures, the unreferenced textures
// mentioned, seconds, the unreferenced textures used through a description,
// the bytes of their companions, the bytes of all further copies. CSV writes
// a header row, a "reference" row per name and file holding it, an
// "unreferenced" row for a name no file holds followed by a "mention" row
// per mention of it, a "companion" row per companion, and the totals row.
// The columns from "kind" on are the last, so the others keep their places.
void write_texture_records(const Catalogue& catalogue, const References& references,
                           const Mentions& mentions, const TextureFiles& files,
                           const std::vector<const Mention*>& users, const RecordReport& report);
