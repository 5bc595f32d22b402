// The page's one HTML file: a summary, the data as inline JSON, and the script that renders it.
#include "page/page_html.h"

#include <cstdio>
#include <map>

#include "page/page_assets.h"
#include "text/encode.h"

namespace {

std::string script_json(std::string_view text) { return json_string(text, JsonUse::kScript); }

// `items` as a JSON array, each written by `item`, with `between` between them.
template <typename T, typename Item>
std::string json_array(const std::vector<T>& items, Item item, const char* between = ",") {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i)
    out += (i ? between : "") + item(items[i]);
  return out + "]";
}

std::string size_text(uint64_t bytes) {
  const char* units[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
  double value = static_cast<double>(bytes);
  size_t unit = 0;
  while (value >= 1024 && unit < 4) {
    value /= 1024;
    ++unit;
  }
  char text[64];
  if (unit == 0)
    snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  else
    snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

// Numbers the files that the page names, so each path is written once.
class FileTable {
 public:
  size_t index(const std::string& path) {
    auto [at, added] = indices_.emplace(path, paths_.size());
    if (added)
      paths_.push_back(&at->first);
    return at->second;
  }
  std::string json() const {
    return json_array(paths_, [](const std::string* path) { return script_json(*path); });
  }

 private:
  std::map<std::string, size_t> indices_;
  std::vector<const std::string*> paths_;
};

std::string places_json(const std::vector<PagePlace>& places, bool with_form, FileTable* files) {
  return json_array(places, [&](const PagePlace& place) {
    return "[" + std::to_string(files->index(place.file)) + "," + std::to_string(place.offset) +
           (with_form ? "," + script_json(place.form) : "") + "]";
  });
}

std::string texture_json(const PageTexture& t, FileTable* files) {
  const ThumbnailInfo& p = t.preview;
  return "[" + script_json(t.path) + "," + std::to_string(t.size) + "," + std::to_string(p.width) +
         "," + std::to_string(p.height) + "," + script_json(p.format) + "," +
         std::to_string(static_cast<int>(p.status)) + "," + script_json(p.problem) + "," +
         std::to_string(p.thumb_width) + "," + std::to_string(p.thumb_height) + "," +
         (t.referenced ? "1" : "0") + "," + places_json(t.references, false, files) + "," +
         places_json(t.mentions, true, files) + "," + places_json(t.uses, true, files) + "," +
         json_array(t.companions, [&](const PageCompanion& c) {
           bool kept = !c.kept_by.form.empty();
           return "[" + script_json(c.path) + "," + std::to_string(c.size) + "," +
                  (kept ? std::to_string(files->index(c.kept_by.file)) : "-1") + "," +
                  std::to_string(c.kept_by.offset) + "," + script_json(c.kept_by.form) + "]";
         }) + "," + std::to_string(t.copy_group) + "]";
}

std::string file_json(const PageFile& f, FileTable* files) {
  std::string out = "[" + std::to_string(files->index(f.path)) + "," + std::to_string(f.size) + ",";
  return out + json_array(f.names, [](const PagePlace& name) {
    return "[" + script_json(name.file) + "," + std::to_string(name.offset) + "]";
  }) + "]";
}

std::string data_json(const Page& page) {
  FileTable files;
  std::string textures = json_array(
      page.textures, [&](const PageTexture& t) { return texture_json(t, &files); }, ",\n");
  std::string searched;
  if (page.has_files)
    searched = ",\"s\":" + json_array(page.files, [&](const PageFile& f) {
      return file_json(f, &files);
    }, ",\n");
  return "{\"program\":" + script_json(page.program) + ",\"root\":" + script_json(page.game_root) +
         ",\"choice\":" + (page.choice ? "true" : "false") + ",\"t\":" + textures +
         ",\"f\":" + files.json() + searched + "}";
}

// A row of the summary: what, how many textures, and their bytes.
std::string summary_row(const char* id, const char* what, size_t count, uint64_t bytes) {
  std::string size = size_text(bytes);
  if (bytes >= 1024)
    size += " (" + std::to_string(bytes) + " bytes)";
  return "<tr id=\"" + std::string(id) + "\"><td>" + what + "</td><td class=\"count\">" +
         std::to_string(count) + "</td><td>" + size + "</td></tr>\n";
}

// What the summary counts: a texture, its bytes, in each row that takes it.
enum SummaryRow { kReferenced, kUnreferenced, kMentioned, kDescribed, kSafe, kCopies, kRows };

std::string summary(const Page& page) {
  size_t counts[kRows] = {};
  uint64_t sizes[kRows] = {};
  std::map<uint32_t, bool> groups_met;
  auto count = [&](SummaryRow row, uint64_t bytes) {
    ++counts[row];
    sizes[row] += bytes;
  };
  for (const PageTexture& t : page.textures) {
    count(t.referenced ? kReferenced : kUnreferenced, t.size);
    if (t.copy_group != 0 && !groups_met.emplace(t.copy_group, true).second)
      count(kCopies, t.size);
    if (t.referenced)
      continue;
    if (!t.mentions.empty())
      count(kMentioned, t.size);
    if (!t.uses.empty())
      count(kDescribed, t.size);
    if (!t.mentions.empty() || !t.uses.empty())
      continue;
    uint64_t bytes = t.size;
    for (const PageCompanion& c : t.companions)
      bytes += c.kept_by.form.empty() ? c.size : 0;
    count(kSafe, bytes);
  }
  std::string rows = "<table class=\"summary\">\n";
  if (page.choice) {
    const std::pair<const char*, const char*> shown[kRows] = {
        {"referenced", "Textures referenced"},
        {"unreferenced", "Textures unreferenced"},
        {"mentioned", "Unreferenced, with mentions"},
        {"described", "Unreferenced, used as detail or bump"},
        {"safe", "Safe to move, with their companions"},
        {"copies", "Further copies of identical textures"}};
    for (int row = 0; row < kRows; ++row)
      rows += summary_row(shown[row].first, shown[row].second, counts[row], sizes[row]);
  } else {
    rows += summary_row("textures", "Textures", page.textures.size(),
                        sizes[kReferenced] + sizes[kUnreferenced]);
    uint64_t searched = 0;
    for (const PageFile& f : page.files)
      searched += f.size;
    rows += "<tr id=\"files\"><td>Files searched</td><td class=\"count\">" +
            std::to_string(page.files.size()) + "</td><td>" + size_text(searched) + "</td></tr>\n";
  }
  return rows + "</table>\n";
}

const char kChoice[] =
    "<section id=\"unreferenced-section\"><h2>Unreferenced textures</h2>\n"
    "<p>No searched file refers to these. A mention, in a file the search skips, means: look "
    "before you move it. A texture used as detail or bump of another, in that texture's .thm "
    "or in textures.ltx, is used by the game. Those with mentions or uses start unchecked. "
    "A texture moves with its companions: its .thm and its bump files, save a bump file that "
    "another texture uses.</p>\n"
    "<div class=\"controls\"><input id=\"filter\" type=\"search\" placeholder=\"Filter by path\">"
    "<label>Sort <select id=\"sort\"><option value=\"size-desc\">largest first</option>"
    "<option value=\"size-asc\">smallest first</option><option value=\"path\">by path</option>"
    "</select></label><button id=\"all\">Select all</button><button id=\"none\">Select none"
    "</button><span id=\"shown\"></span> <strong id=\"checked\"></strong></div>\n"
    "<div id=\"grid\"></div>\n"
    "<h2>Move the checked textures</h2>\n"
    "<p>Texsift moves and deletes nothing. These scripts move the checked files out of the game "
    "into a folder beside it, named after it with <code>-texsift-moved</code>, keeping their "
    "folders, so that you can test the game; the undo scripts move them back, save a file "
    "that is back in the game already.</p>\n"
    "<p>Each script is folded: Show unfolds it, Copy copies it, Save saves it as a file.</p>\n"
    "<h3>Paths <button data-copy=\"paths\">Copy</button></h3>"
    "<details><summary>Show</summary><pre id=\"paths\"></pre></details>\n"
    "<h3>Shell script (Linux) <button data-copy=\"sh\">Copy</button>"
    "<button data-save=\"sh\" data-name=\"move.sh\">Save</button></h3>"
    "<details><summary>Show</summary><pre id=\"sh\"></pre></details>\n"
    "<h3>Batch file (Windows) <button data-copy=\"bat\">Copy</button>"
    "<button data-save=\"bat\" data-name=\"move.bat\">Save</button></h3>"
    "<details><summary>Show</summary><pre id=\"bat\"></pre></details>\n"
    "<h3>Undo: shell script <button data-copy=\"undo-sh\">Copy</button>"
    "<button data-save=\"undo-sh\" data-name=\"undo.sh\">Save</button></h3>"
    "<details><summary>Show</summary><pre id=\"undo-sh\"></pre></details>\n"
    "<h3>Undo: batch file <button data-copy=\"undo-bat\">Copy</button>"
    "<button data-save=\"undo-bat\" data-name=\"undo.bat\">Save</button></h3>"
    "<details><summary>Show</summary><pre id=\"undo-bat\"></pre></details>\n"
    "<h3>Move by hand</h3><p>Names that a batch file cannot carry safely.</p>"
    "<details><summary>Show</summary><pre id=\"by-hand\"></pre></details></section>\n";

// `text` with &, <, >, " and ' escaped for HTML.
std::string html_escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string page_html(const Page& page) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src "
      "'sha256-" + sha256_base64(kPageScript) + "'; style-src 'sha256-" + sha256_base64(kPageStyle) +
      "'; img-src 'self'\">\n<meta name=\"viewport\" content=\"width=device-width\">\n<title>" +
      html_escape(page.program) + ": " + html_escape(page.game_root) + "</title>\n<style>" +
      kPageStyle + "</style></head><body>\n<h1>" + html_escape(page.program) +
      "</h1>\n<p>Game root: <code id=\"root\">" + html_escape(page.game_root) +
      "</code><br>Run: <span id=\"time\">" + html_escape(page.time) + "</span></p>\n" +
      summary(page);
  if (page.choice)
    html += kChoice;
  html += page.choice ? "<section><h2>Referenced textures</h2>" : "<section><h2>Textures</h2>";
  html += "<div id=\"referenced-list\"></div></section>\n";
  if (page.has_files)
    html += "<section><h2>Files searched</h2><div id=\"files-list\"></div></section>\n";
  html += "<script type=\"application/json\" id=\"data\">" + data_json(page) + "</script>\n<script>" +
          kPageScript + "</script>\n</body></html>\n";
  return html;
}
