// The --html page: what it shows (filled by the program that runs), and its one HTML file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "page/thumbnail.h"

// One place a file names a texture: a reference found by the search, or a
// mention found by the second look at the files the search skips.
struct PagePlace {
  std::string file;     // from the game root, '\' between parts
  uint64_t offset = 0;  // of the name in the file
  std::string form;     // mentions only: how the name was written, e.g. "lower, double_backslash"
};

// What the page shows of a texture's thumbnail; the pixels go to a PNG file.
struct PagePreview {
  ThumbnailStatus status = ThumbnailStatus::kBroken;
  std::string format;    // see Thumbnail::format
  std::string problem;   // see Thumbnail::problem
  uint32_t width = 0;    // of the texture, when known
  uint32_t height = 0;
  uint32_t thumb_width = 0;   // of its PNG, when kDecoded
  uint32_t thumb_height = 0;
};

// One texture of the catalogue, as the page shows it.
struct PageTexture {
  std::string path;                    // from the game root, '\' between parts
  uint64_t size = 0;                   // the file's bytes
  bool referenced = false;             // some searched file refers to it
  std::vector<PagePlace> references;   // the files that refer to it
  std::vector<PagePlace> mentions;     // the second look's mentions, for an unreferenced texture
  PagePreview preview;                 // its thumbnail is thumbs/<index>.png when kDecoded
};

// One file that Texsift-compact searched, and the names it found in it.
struct PageFile {
  std::string path;                 // from the game root
  uint64_t size = 0;                // the bytes searched
  std::vector<PagePlace> names;     // `file` holds the name found, `offset` where
};

// Everything the page shows. The program fills it as the run goes on.
struct Page {
  std::string program;               // "Texsift" or "Texsift-compact"
  std::string game_root;             // as given, ending in a separator
  std::string time;                  // of the run, as shown
  bool choice = true;                // the unreferenced grid, the checkboxes and the move scripts
  std::vector<PageTexture> textures;  // in catalogue order; index i has thumbs/<i>.png
  bool has_files = false;            // shows `files` (Texsift-compact)
  std::vector<PageFile> files;       // in walk order
};

// The page's index.html: self-contained, with a Content-Security-Policy that
// allows only its own inline script and style and its own images. Names are
// HTML-escaped; the data is inline JSON with '<', '>' and '&' escaped, and a
// byte of a name that is not UTF-8 is carried as U+DC80 + (byte - 0x80).
std::string page_html(const Page& page);

// `text` as a JSON string literal, quotes included, safe inside a <script>
// element (see page_html).
std::string json_string(const std::string& text);

// `text` with &, <, >, " and ' escaped for HTML.
std::string html_escape(const std::string& text);

// The time now, as the page shows it: "2026-12-07 17:53:41 UTC".
std::string page_time_now();
