// Texsift's per-texture JSON Lines and CSV records, from the references of one walk and the second look.
#include "report/record_report.h"

#include <optional>

#include "catalogue/catalogue.h"
#include "catalogue/texture_files.h"
#include "match/mention_search.h"
#include "text/encode.h"
#include "platform/console.h"
#include "platform/fs.h"
#include "search/references.h"

namespace {

const char kCsvHeader[] =
    "type,texture,name,file,offset,textures,names,referenced,unreferenced,files_searched,"
    "bytes_searched,seconds,size,referenced_bytes,unreferenced_bytes,mentioned,mentions,case,"
    "separator,kind,describes,companion,companion_size,used_by,copy_group,copy_bytes,described,"
    "companion_bytes\n";

// A size as a JSON value: null when it could not be read.
std::string json_size(const std::optional<uint64_t>& size) {
  return size ? std::to_string(*size) : "null";
}

std::string csv_size(const std::optional<uint64_t>& size) {
  return size ? std::to_string(*size) : "";
}

// What the texture records are written from.
struct TextureRecords {
  const Catalogue& catalogue;
  const References& references;
  const Mentions& mentions;
  const TextureFiles& files;
  const std::vector<const Mention*>& users;  // per companion: the use that keeps it, if any
  const std::vector<std::optional<uint64_t>>& sizes = files.sizes;
};

// The bytes the copies of texture `index`'s group take after the first.
uint64_t copy_bytes(const TextureRecords& records, uint32_t index) {
  uint32_t group = records.files.copy_group[index];
  return group == 0 ? 0 : records.files.copy_bytes[group - 1];
}

const char* kind_word(const Mention& mention) { return mention.describes ? "description" : "file"; }

// The last columns of a texture's rows: its copy group and the bytes of its copies.
std::vector<std::string> copy_columns(const TextureRecords& records, uint32_t index) {
  uint32_t group = records.files.copy_group[index];
  return {group == 0 ? "" : std::to_string(group), std::to_string(copy_bytes(records, index)), "",
          ""};
}

// The CSV row of `first`, then `then`.
std::string joined(std::initializer_list<std::string> first, const std::vector<std::string>& then) {
  std::string row = csv_row(first);
  row.pop_back();
  for (const std::string& field : then)
    row += "," + field;
  return row + "\n";
}

size_t mention_count(const TextureRecords& records, const CatalogueTexture& texture) {
  size_t count = 0;
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
    count += records.mentions.hits[name].size();
  return count;
}

// The JSON object of a name: the name, the files that hold it and those that mention it.
std::string json_name(const TextureRecords& records, uint32_t name) {
  const std::vector<Reference>& hits = records.references.hits[name];
  const std::vector<Mention>& mentioned = records.mentions.hits[name];
  std::string object =
      "{\"name\":" + json_text(ansi_to_utf8(records.catalogue.names[name])) + ",\"references\":[";
  for (size_t i = 0; i < hits.size(); ++i)
    object += std::string(i == 0 ? "" : ",") +
              "{\"path\":" + json_text(records.references.native_paths[hits[i].file]) +
              ",\"offset\":" + std::to_string(hits[i].offset) + "}";
  object += "],\"mentions\":[";
  for (size_t i = 0; i < mentioned.size(); ++i)
    object += std::string(i == 0 ? "" : ",") +
              "{\"path\":" + json_text(records.mentions.paths[mentioned[i].file]) +
              ",\"offset\":" + std::to_string(mentioned[i].offset) + ",\"case\":\"" +
              case_word(mentioned[i].form.letter_case) + "\",\"separator\":\"" +
              separator_word(mentioned[i].form.separator) + "\",\"kind\":\"" +
              kind_word(mentioned[i]) + "\",\"describes\":" +
              (mentioned[i].describes ? json_text(ansi_to_utf8(*mentioned[i].describes)) : "null") +
              "}";
  return object + "]}";
}

std::string json_texture(const TextureRecords& records, uint32_t index) {
  const CatalogueTexture& texture = records.catalogue.textures[index];
  std::string line = "{\"type\":\"texture\",\"path\":" + json_text(ansi_to_utf8(texture.path)) +
                     ",\"size\":" + json_size(records.sizes[index]) + ",\"mention_count\":" +
                     std::to_string(mention_count(records, texture)) + ",\"names\":[";
  for (uint32_t i = 0; i < texture.name_count; ++i)
    line += std::string(i == 0 ? "" : ",") + json_name(records, texture.first_name + i);
  line += "],\"companions\":[";
  const std::vector<Companion>& companions = records.catalogue.companions;
  bool first = true;
  for (auto [c, end] = companions_of(records.catalogue, index); c < end; ++c) {
    line += std::string(first ? "" : ",") + "{\"path\":" +
            json_text(ansi_to_utf8(companions[c].path)) +
            ",\"size\":" + json_size(records.files.companion_sizes[c]) + ",\"used_by\":" +
            (records.users[c] ? json_text(ansi_to_utf8(*records.users[c]->describes)) : "null") + "}";
    first = false;
  }
  uint32_t group = records.files.copy_group[index];
  return line + "],\"copy_group\":" + (group == 0 ? "null" : std::to_string(group)) +
         ",\"copy_bytes\":" + std::to_string(copy_bytes(records, index)) + "}\n";
}

std::string csv_texture(const TextureRecords& records, uint32_t index) {
  const CatalogueTexture& texture = records.catalogue.textures[index];
  std::string path = csv_field(ansi_to_utf8(texture.path));
  std::string size = csv_size(records.sizes[index]);
  const std::vector<std::string> copies = copy_columns(records, index);
  std::string rows;
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count;
       ++name) {
    std::string text = csv_field(ansi_to_utf8(records.catalogue.names[name]));
    for (const Reference& hit : records.references.hits[name])
      rows += (joined({"reference", path, text,
                              csv_field(records.references.native_paths[hit.file]),
                              std::to_string(hit.offset), "", "", "", "", "", "", "", size, "",
                              "", "", "", "", "", "", "", "", "", ""},
                             copies));
    if (!records.references.hits[name].empty())
      continue;
    const std::vector<Mention>& mentioned = records.mentions.hits[name];
    rows += (joined({"unreferenced", path, text, "", "", "", "", "", "", "", "", "", size,
                            "", "", "", std::to_string(mentioned.size()), "", "", "", "", "", "",
                            ""},
                           copies));
    for (const Mention& mention : mentioned)
      rows += (joined(
          {"mention", path, text, csv_field(records.mentions.paths[mention.file]),
           std::to_string(mention.offset), "", "", "", "", "", "", "", size, "", "", "", "",
           case_word(mention.form.letter_case), separator_word(mention.form.separator),
           kind_word(mention),
           mention.describes ? csv_field(ansi_to_utf8(*mention.describes)) : "", "", "", ""},
          copies));
  }
  const std::vector<Companion>& companions = records.catalogue.companions;
  for (auto [c, end] = companions_of(records.catalogue, index); c < end; ++c)
      rows += (joined({"companion", path, "", "", "", "", "", "", "", "", "", "", size, "",
                              "", "", "", "", "", "", "",
                              csv_field(ansi_to_utf8(companions[c].path)),
                              csv_size(records.files.companion_sizes[c]),
                              records.users[c] ? csv_field(ansi_to_utf8(*records.users[c]->describes)) : ""},
                             copies));
  return rows;
}

// True when a name of `texture` is used through a texture description.
bool is_described(const TextureRecords& records, const CatalogueTexture& texture) {
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
    for (const Mention& mention : records.mentions.hits[name])
      if (mention.describes)
        return true;
  return false;
}

bool is_referenced(const CatalogueTexture& texture, const References& references) {
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
    if (!references.hits[name].empty())
      return true;
  return false;
}

std::string totals(const TextureRecords& records, const RecordReport& report) {
  const Catalogue& catalogue = records.catalogue;
  size_t referenced = 0, mentioned = 0, described = 0;
  uint64_t referenced_bytes = 0, unreferenced_bytes = 0, companion_bytes = 0, copies = 0;
  for (uint32_t i = 0; i < catalogue.textures.size(); ++i) {
    const CatalogueTexture& texture = catalogue.textures[i];
    bool is_used = is_referenced(texture, records.references);
    referenced += is_used ? 1u : 0u;
    mentioned += !is_used && mention_count(records, texture) > 0 ? 1u : 0u;
    described += !is_used && is_described(records, texture) ? 1u : 0u;
    (is_used ? referenced_bytes : unreferenced_bytes) += records.sizes[i].value_or(0);
    for (auto [c, end] = companions_of(catalogue, i); c < end && !is_used; ++c)
      companion_bytes += records.files.companion_sizes[c].value_or(0);
  }
  for (uint64_t bytes : records.files.copy_bytes)
    copies += bytes;
  std::string textures = std::to_string(catalogue.textures.size());
  std::string names = std::to_string(catalogue.names.size());
  std::string unreferenced = std::to_string(catalogue.textures.size() - referenced);
  std::string files = std::to_string(records.references.files_searched);
  std::string bytes = std::to_string(records.references.bytes_searched);
  std::string seconds = elapsed_seconds(report);
  if (report.format == ReportFormat::kCsv)
    return csv_row({"totals", "", "", "", "", textures, names, std::to_string(referenced),
                    unreferenced, files, bytes, seconds, "", std::to_string(referenced_bytes),
                    std::to_string(unreferenced_bytes), std::to_string(mentioned), "", "", "",
                    "", "", "", "", "", "", std::to_string(copies), std::to_string(described),
                    std::to_string(companion_bytes)});
  return "{\"type\":\"totals\",\"textures\":" + textures + ",\"names\":" + names +
         ",\"referenced\":" + std::to_string(referenced) + ",\"unreferenced\":" + unreferenced +
         ",\"files_searched\":" + files + ",\"bytes_searched\":" + bytes +
         ",\"referenced_bytes\":" + std::to_string(referenced_bytes) +
         ",\"unreferenced_bytes\":" + std::to_string(unreferenced_bytes) +
         ",\"mentioned\":" + std::to_string(mentioned) + ",\"seconds\":" + seconds +
         ",\"described\":" + std::to_string(described) +
         ",\"companion_bytes\":" + std::to_string(companion_bytes) +
         ",\"copy_bytes\":" + std::to_string(copies) + "}\n";
}

// Writes the texture records that record_textures describes.
void print_texture_records(const TextureRecords& records, const RecordReport& report) {
  if (report.format == ReportFormat::kCsv)
    report.console.write(kCsvHeader);
  for (uint32_t i = 0; i < records.catalogue.textures.size(); ++i)
    report.console.write(report.format == ReportFormat::kJson ? json_texture(records, i)
                                                              : csv_texture(records, i));
  report.console.write(totals(records, report));
}

}  // namespace

std::vector<bool> unreferenced_textures(const Catalogue& catalogue, const References& references) {
  std::vector<bool> unreferenced;
  for (const CatalogueTexture& texture : catalogue.textures)
    unreferenced.push_back(!is_referenced(texture, references));
  return unreferenced;
}

void write_texture_records(const Catalogue& catalogue, const References& references,
                           const Mentions& mentions, const TextureFiles& files,
                           const std::vector<const Mention*>& users, const RecordReport& report) {
  print_texture_records({catalogue, references, mentions, files, users}, report);
}
