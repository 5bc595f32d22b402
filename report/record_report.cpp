// Texsift's per-texture JSON Lines and CSV records, from the references of one walk and the second look.
#include "report/record_report.h"

#include <optional>

#include "catalogue/catalogue.h"
#include "match/mention_search.h"
#include "text/encode.h"
#include "platform/console.h"
#include "platform/fs.h"
#include "search/references.h"

namespace {

const char kCsvHeader[] =
    "type,texture,name,file,offset,textures,names,referenced,unreferenced,files_searched,"
    "bytes_searched,seconds,size,referenced_bytes,unreferenced_bytes,mentioned,mentions,case,"
    "separator\n";

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
  std::vector<std::optional<uint64_t>> sizes;  // per texture: its file's size, if it can be read
};

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
              separator_word(mentioned[i].form.separator) + "\"}";
  return object + "]}";
}

std::string json_texture(const TextureRecords& records, uint32_t index) {
  const CatalogueTexture& texture = records.catalogue.textures[index];
  std::string line = "{\"type\":\"texture\",\"path\":" + json_text(ansi_to_utf8(texture.path)) +
                     ",\"size\":" + json_size(records.sizes[index]) + ",\"mention_count\":" +
                     std::to_string(mention_count(records, texture)) + ",\"names\":[";
  for (uint32_t i = 0; i < texture.name_count; ++i)
    line += std::string(i == 0 ? "" : ",") + json_name(records, texture.first_name + i);
  return line + "]}\n";
}

std::string csv_texture(const TextureRecords& records, uint32_t index) {
  const CatalogueTexture& texture = records.catalogue.textures[index];
  std::string path = csv_field(ansi_to_utf8(texture.path));
  std::string size = csv_size(records.sizes[index]);
  std::string rows;
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count;
       ++name) {
    std::string text = csv_field(ansi_to_utf8(records.catalogue.names[name]));
    for (const Reference& hit : records.references.hits[name])
      rows += csv_row({"reference", path, text,
                       csv_field(records.references.native_paths[hit.file]),
                       std::to_string(hit.offset), "", "", "", "", "", "", "", size, "", "", "",
                       "", "", ""});
    if (!records.references.hits[name].empty())
      continue;
    const std::vector<Mention>& mentioned = records.mentions.hits[name];
    rows += csv_row({"unreferenced", path, text, "", "", "", "", "", "", "", "", "", size, "", "",
                     "", std::to_string(mentioned.size()), "", ""});
    for (const Mention& mention : mentioned)
      rows += csv_row({"mention", path, text, csv_field(records.mentions.paths[mention.file]),
                       std::to_string(mention.offset), "", "", "", "", "", "", "", size, "", "",
                       "", "", case_word(mention.form.letter_case),
                       separator_word(mention.form.separator)});
  }
  return rows;
}

bool is_referenced(const CatalogueTexture& texture, const References& references) {
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
    if (!references.hits[name].empty())
      return true;
  return false;
}

std::string totals(const TextureRecords& records, const RecordReport& report) {
  const Catalogue& catalogue = records.catalogue;
  size_t referenced = 0, mentioned = 0;
  uint64_t referenced_bytes = 0, unreferenced_bytes = 0;
  for (uint32_t i = 0; i < catalogue.textures.size(); ++i) {
    const CatalogueTexture& texture = catalogue.textures[i];
    bool is_used = is_referenced(texture, records.references);
    referenced += is_used ? 1u : 0u;
    mentioned += !is_used && mention_count(records, texture) > 0 ? 1u : 0u;
    (is_used ? referenced_bytes : unreferenced_bytes) += records.sizes[i].value_or(0);
  }
  std::string textures = std::to_string(catalogue.textures.size());
  std::string names = std::to_string(catalogue.names.size());
  std::string unreferenced = std::to_string(catalogue.textures.size() - referenced);
  std::string files = std::to_string(records.references.files_searched);
  std::string bytes = std::to_string(records.references.bytes_searched);
  std::string seconds = elapsed_seconds(report);
  if (report.format == ReportFormat::kCsv)
    return csv_row({"totals", "", "", "", "", textures, names, std::to_string(referenced),
                    unreferenced, files, bytes, seconds, "", std::to_string(referenced_bytes),
                    std::to_string(unreferenced_bytes), std::to_string(mentioned), "", "", ""});
  return "{\"type\":\"totals\",\"textures\":" + textures + ",\"names\":" + names +
         ",\"referenced\":" + std::to_string(referenced) + ",\"unreferenced\":" + unreferenced +
         ",\"files_searched\":" + files + ",\"bytes_searched\":" + bytes +
         ",\"referenced_bytes\":" + std::to_string(referenced_bytes) +
         ",\"unreferenced_bytes\":" + std::to_string(unreferenced_bytes) +
         ",\"mentioned\":" + std::to_string(mentioned) + ",\"seconds\":" + seconds + "}\n";
}

// The sizes of the catalogue's textures, read from the file system.
std::vector<std::optional<uint64_t>> texture_sizes(const Catalogue& catalogue) {
  std::vector<std::optional<uint64_t>> sizes;
  for (const CatalogueTexture& texture : catalogue.textures)
    sizes.push_back(file_size(texture.open_path));
  return sizes;
}

// The names of the textures that no file refers to by any of their names.

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

std::vector<uint32_t> unreferenced_names(const Catalogue& catalogue,
                                         const References& references) {
  std::vector<uint32_t> names;
  for (const CatalogueTexture& texture : catalogue.textures)
    if (!is_referenced(texture, references))
      for (uint32_t i = 0; i < texture.name_count; ++i)
        names.push_back(texture.first_name + i);
  return names;
}

void write_texture_records(const Catalogue& catalogue, const References& references,
                           const Mentions& mentions, const RecordReport& report) {
  print_texture_records({catalogue, references, mentions, texture_sizes(catalogue)}, report);
}
