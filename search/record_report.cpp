// Texsift's JSON Lines and CSV records, from the references of one walk or from each file's result.
#include "search/record_report.h"

#include "common/texture_walk.h"
#include "platform/console.h"
#include "search/file_search.h"
#include "search/name_search.h"
#include "search/references.h"

namespace {

const char kCsvHeader[] =
    "type,texture,name,file,offset,textures,names,referenced,unreferenced,files_searched,"
    "bytes_searched,seconds\n";

// The JSON object of a name: the name and the files that hold it.
std::string json_name(const RecordReport& report, const std::string& name,
                      const References& references, const std::vector<Reference>& hits) {
  std::string object = "{\"name\":" + record_string(report, name) + ",\"references\":[";
  for (size_t i = 0; i < hits.size(); ++i)
    object += std::string(i == 0 ? "" : ",") +
              "{\"path\":" + record_string(report, references.paths[hits[i].file]) +
              ",\"offset\":" + std::to_string(hits[i].offset) + "}";
  return object + "]}";
}

std::string json_texture(const RecordReport& report, const Catalogue& catalogue,
                         const CatalogueTexture& texture, const References& references) {
  std::string line =
      "{\"type\":\"texture\",\"path\":" + record_string(report, texture.path) + ",\"names\":[";
  for (uint32_t i = 0; i < texture.name_count; ++i) {
    uint32_t name = texture.first_name + i;
    line += std::string(i == 0 ? "" : ",") +
            json_name(report, catalogue.names[name], references, references.hits[name]);
  }
  return line + "]}\n";
}

std::string csv_texture(const RecordReport& report, const Catalogue& catalogue,
                        const CatalogueTexture& texture, const References& references) {
  std::string path = record_string(report, texture.path);
  std::string rows;
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count;
       ++name) {
    std::string text = record_string(report, catalogue.names[name]);
    for (const Reference& hit : references.hits[name])
      rows += csv_row({"reference", path, text, record_string(report, references.paths[hit.file]),
                       std::to_string(hit.offset), "", "", "", "", "", "", ""});
    if (references.hits[name].empty())
      rows += csv_row({"unreferenced", path, text, "", "", "", "", "", "", "", "", ""});
  }
  return rows;
}

bool is_referenced(const CatalogueTexture& texture, const References& references) {
  for (uint32_t name = texture.first_name; name < texture.first_name + texture.name_count; ++name)
    if (!references.hits[name].empty())
      return true;
  return false;
}

std::string totals(const RecordReport& report, const Catalogue& catalogue,
                   const References& references) {
  size_t referenced = 0;
  for (const CatalogueTexture& texture : catalogue.textures)
    referenced += is_referenced(texture, references) ? 1u : 0u;
  std::string textures = std::to_string(catalogue.textures.size());
  std::string names = std::to_string(catalogue.names.size());
  std::string unreferenced = std::to_string(catalogue.textures.size() - referenced);
  std::string files = std::to_string(references.files_searched);
  std::string bytes = std::to_string(references.bytes_searched);
  std::string seconds = elapsed_seconds(report);
  if (report.format == ReportFormat::kCsv)
    return csv_row({"totals", "", "", "", "", textures, names, std::to_string(referenced),
                    unreferenced, files, bytes, seconds});
  return "{\"type\":\"totals\",\"textures\":" + textures + ",\"names\":" + names +
         ",\"referenced\":" + std::to_string(referenced) + ",\"unreferenced\":" + unreferenced +
         ",\"files_searched\":" + files + ",\"bytes_searched\":" + bytes +
         ",\"seconds\":" + seconds + "}\n";
}

}  // namespace

References record_textures(const std::string& game_root, const Catalogue& catalogue,
                           const RecordReport& report) {
  References references = find_references(game_root, catalogue.name_views(), report.paths);
  print_texture_records(catalogue, references, report);
  return references;
}

void print_texture_records(const Catalogue& catalogue, const References& references,
                           const RecordReport& report) {
  if (report.format == ReportFormat::kCsv)
    report.console.write(kCsvHeader);
  for (const CatalogueTexture& texture : catalogue.textures)
    report.console.write(report.format == ReportFormat::kJson
                             ? json_texture(report, catalogue, texture, references)
                             : csv_texture(report, catalogue, texture, references));
  report.console.write(totals(report, catalogue, references));
}

void record_files(const std::string& game_root, const Catalogue& catalogue,
                  const RecordReport& report, const ResultSink& also) {
  NameSearch search(catalogue.name_views());
  FileRecords records(report, catalogue);
  records.begin();
  search_tree(game_root, search, [&records, &also](const FileResult& result) {
    records.on_file(result);
    if (also)
      also(result);
  });
  records.end();
}
