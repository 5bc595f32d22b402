// The JSON Lines and CSV reports carry what the console report shows, and their strings are written exactly.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "app/programs.h"
#include "text/encode.h"
#include "match/description_uses.h"
#include "catalogue/texture_files.h"
#include "match/mention_search.h"
#include "catalogue/catalogue.h"
#include "report/record_report.h"
#include "search/references.h"
#include "search/second_look.h"
#include "support/generated_tree.h"
#include "support/name_models.h"
#include "support/test_support.h"

namespace {

// Runs Texsift (or Texsift-compact) with `args` after the program name and
// returns what it wrote.
std::string run(bool compact, const std::vector<std::string>& args) {
  std::vector<std::string> line{compact ? "Texsift-compact" : "Texsift"};
  line.insert(line.end(), args.begin(), args.end());
  RecordingConsole console;
  EXPECT_EQ(compact ? run_compact(line, console) : run_texsift(line, console), 0);
  return console.transcript();
}

std::string bare_name(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

std::string found(const std::string& what, const std::string& offset) {
  return "FOUND '" + what + "' @ " + offset + "\n";
}

// The console report's lines after the separator (and the selection line),
// without colours, timing lines, counters and trailing tabs.
std::string console_lines(const std::string& transcript) {
  static const std::regex noise("\\{[0-9]+\\}|\t[^\n]* ms\n| \\([0-9]+ of [0-9]+\\)|\t+(?=\n)");
  std::string text = std::regex_replace(transcript, noise, "");
  text = text.substr(text.find("--------------\n") + 15);
  return text.starts_with("algorithm") ? text.substr(text.find('\n') + 1) : text;
}

std::string unescaped(const std::string& json) {
  static const std::regex escape("\\\\([\"\\\\])");
  return std::regex_replace(json, escape, "$1");
}

// The console lines that the JSON records stand for. `per_file`: the records
// of files; `compact`: their FOUND lines name the file, not the texture.
std::string json_as_console(const std::string& records, bool per_file, bool compact) {
  static const std::regex token(
      "\\{\"type\":\"file\",\"path\":\\{\"text\":\"((?:[^\"\\\\]|\\\\.)*)\"\\}|"
      "\\{\"name\":\\{\"text\":\"((?:[^\"\\\\]|\\\\.)*)\"\\}(?:,\"offset\":([0-9]+))?|"
      "\\{\"path\":\\{\"text\":\"((?:[^\"\\\\]|\\\\.)*)\"\\},\"offset\":([0-9]+)\\}|"
      "\\]\\}(?=[],])");
  std::string text, file;
  bool referenced = true;
  for (std::sregex_iterator it(records.begin(), records.end(), token), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (m[1].matched) {
      file = unescaped(m[1]);
      text += "searching in '" + bare_name(file) + "'\n";
    } else if (m[2].matched && per_file) {
      text += found(compact ? file : unescaped(m[2]), m[3]);
    } else if (m[2].matched) {
      text += "searching '" + unescaped(m[2]) + "'\n";
      referenced = false;
    } else if (m[4].matched) {
      text += found(unescaped(m[4]), m[5]);
      referenced = true;
    } else if (!per_file && !referenced) {  // the end of a name's references
      text += "NOT FOUND REFERENCED\n";
      referenced = true;
    }
  }
  return text;
}

std::vector<std::string> split(const std::string& row) {
  std::vector<std::string> fields;
  std::istringstream in(row);
  for (std::string field; std::getline(in, field, ',');)
    fields.push_back(field);
  return fields;
}

// The console lines that the CSV rows stand for; the generated names hold no
// comma or quote, so no field is quoted.
std::string csv_as_console(const std::string& rows, bool per_file, bool compact) {
  std::istringstream in(rows);
  std::string text, row, name;
  std::getline(in, row);  // the header
  while (std::getline(in, row)) {
    std::vector<std::string> f = split(row);
    if (f[0] == "file")
      text += "searching in '" + bare_name(f[1]) + "'\n";
    else if (f[0] == "reference" && per_file)
      text += found(compact ? f[1] : f[2], f[3]);
    else if (f[0] == "reference" || f[0] == "unreferenced") {
      if (f[1] + f[2] != name)
        text += "searching '" + f[2] + "'\n";
      name = f[1] + f[2];
      text += f[0] == "reference" ? found(f[3], f[4]) : "NOT FOUND REFERENCED\n";
    }
  }
  return text;
}

// The last record, the totals, with its seconds masked.
std::string totals(const std::string& records) {
  return mask_seconds(records.substr(records.rfind('\n', records.size() - 2) + 1));
}

TEST(RecordReport, CarriesTheConsoleReport) {
  TempTree tree;
  TreeGenerator(tree).generate();
  struct Mode {
    bool compact;
    const char* flag;
    bool per_file;
  } modes[] = {{false, "0", false}, {false, "1", true}, {true, nullptr, true}};
  for (const Mode& mode : modes) {
    std::vector<std::string> args{tree.root()};
    if (mode.flag)
      args.emplace_back(mode.flag);
    std::string console = console_lines(run(mode.compact, args));
    args.insert(args.begin(), "--json");
    std::string json = run(mode.compact, args);
    EXPECT_EQ(json_as_console(json, mode.per_file, mode.compact), console) << json;
    args[0] = "--csv";
    std::string csv = run(mode.compact, args);
    EXPECT_EQ(csv_as_console(csv, mode.per_file, mode.compact), console) << csv;
  }
}

// How many lines of `text` begin with `start`.
size_t count_lines(const std::string& text, const std::string& start) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1)
    count += text.compare(at, start.size(), start) == 0 ? 1u : 0u;
  return count;
}

// The bytes searched that the JSON totals give.
std::string bytes_searched(const std::string& records) {
  std::smatch match;
  std::regex_search(records, match, std::regex("\"bytes_searched\":([0-9]+)"));
  return match[1];
}

TEST(RecordReport, TotalsAgreeWithTheConsoleReport) {
  TempTree tree;
  TreeGenerator(tree).generate();
  const std::string root = tree.root();
  // The generated textures give one name each.
  const std::string per_texture = console_lines(run(false, {root}));
  const std::string names = std::to_string(count_lines(per_texture, "searching '"));
  const std::string unreferenced = std::to_string(count_lines(per_texture, "NOT FOUND"));
  const std::string referenced = std::to_string(std::stoul(names) - std::stoul(unreferenced));
  const std::string files =
      std::to_string(count_lines(console_lines(run(false, {root, "1"})), "searching in"));
  const std::string compact_files =
      std::to_string(count_lines(console_lines(run(true, {root})), "searching in"));
  const std::string texsift_json = run(false, {"--json", root});
  const std::string bytes = bytes_searched(texsift_json);
  const std::string compact_json = run(true, {"--json", root});
  // Every generated texture is one byte long.
  const std::regex mentioned_texture("\"mention_count\":[1-9]");
  const std::string mentioned = std::to_string(std::distance(
      std::sregex_iterator(texsift_json.begin(), texsift_json.end(), mentioned_texture),
      std::sregex_iterator()));
  const std::string compact_bytes = bytes_searched(compact_json);
  // The textures are copies of each other: all but the first are further copies.
  const std::string copies = std::to_string(std::stoul(names) - 1);
  struct Row {
    std::string records;
    std::string totals;
  } rows[] = {
      {texsift_json, "{\"type\":\"totals\",\"textures\":" + names + ",\"names\":" + names +
                         ",\"referenced\":" + referenced + ",\"unreferenced\":" + unreferenced +
                         ",\"files_searched\":" + files + ",\"bytes_searched\":" + bytes +
                         ",\"referenced_bytes\":" + referenced + ",\"unreferenced_bytes\":" +
                         unreferenced + ",\"mentioned\":" + mentioned +
                         ",\"seconds\":#,\"described\":0,\"companion_bytes\":0,\"copy_bytes\":" +
                         copies + "}\n"},
      {run(false, {"--json", root, "1"}), "{\"type\":\"totals\",\"files_searched\":" + files +
                                              ",\"bytes_searched\":" + bytes + ",\"textures\":" +
                                              names + ",\"names\":" + names + ",\"seconds\":#}\n"},
      {compact_json, "{\"type\":\"totals\",\"files_searched\":" + compact_files +
                         ",\"bytes_searched\":" + compact_bytes + ",\"textures\":" + names +
                         ",\"names\":" + names + ",\"seconds\":#}\n"},
      {run(false, {"--csv", root}), "totals,,,,," + names + "," + names + "," + referenced + "," +
                                        unreferenced + "," + files + "," + bytes + ",#,," +
                                        referenced + "," + unreferenced + "," + mentioned +
                                        ",,,,,,,,,," + copies + ",0,0\n"},
      {run(false, {"--csv", root, "1"}),
       "totals,,,," + files + "," + bytes + "," + names + "," + names + ",#,\n"},
      {run(true, {"--csv", root}),
       "totals,,,," + compact_files + "," + compact_bytes + "," + names + "," + names + ",#,\n"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(totals(row.records), row.totals);
}

// Where the detail name of thm_file starts: after the headers and data of
// the chunks before it, and its own header.
constexpr int kThmDetail = 10 + 12 + 40 + 12 + 8;

// A texture whose file cannot be read when the records are written (gone
// since the walk): its size is null in JSON and empty in CSV.
TEST(RecordReport, SizeThatCannotBeReadIsNull) {
  TempTree tree;
  Catalogue catalogue;
  catalogue.textures.push_back({"gamedata\\textures\\gone.dds", tree.root() + "gone.dds", 0, 1});
  catalogue.names.push_back("gone");
  References references;
  references.hits.resize(1);
  Mentions mentions;
  mentions.hits.resize(1);
  const std::pair<ReportFormat, std::string> rows[] = {
      {ReportFormat::kJson, "gone.dds\"},\"size\":null,\"mention_count\":0,"},
      {ReportFormat::kCsv, "\nunreferenced,gamedata\\textures\\gone.dds,gone,,,,,,,,,,,,,,0,,"},
  };
  const TextureFiles files = read_texture_files(catalogue, false);
  for (const auto& [format, expected] : rows) {
    RecordingConsole console;
    write_texture_records(catalogue, references, mentions, files, {},
                          {format, console, GamePaths{}, 0, 1});
    EXPECT_NE(console.transcript().find(expected), std::string::npos) << console.transcript();
  }
}

// Each form of a name that the second look takes for a mention, and the
// bytes after a name that make it none; in a texture description (a file
// name from the texture root), the uses it takes and those it does not.
TEST(MentionSearch, Forms) {
  constexpr auto kSame = MentionCase::kSame;
  constexpr auto kLower = MentionCase::kLower;
  constexpr auto kUpper = MentionCase::kUpper;
  constexpr auto kMixedCase = MentionCase::kMixed;
  constexpr auto kNone = MentionSeparator::kNone;
  constexpr auto kBackslash = MentionSeparator::kBackslash;
  constexpr auto kDouble = MentionSeparator::kDoubleBackslash;
  constexpr auto kSlash = MentionSeparator::kSlash;
  constexpr auto kMixed = MentionSeparator::kMixed;
  constexpr int kNoMention = -1;
  struct Row {
    const char* name;
    std::string content;
    int offset;
    MentionCase letter_case;
    MentionSeparator separator;
    const char* description = nullptr;  // the description's name from the texture root
    const char* describes = "";         // the texture its use is of
  } rows[] = {
      {"act\\act_head", "x act\\act_head\n", 2, kSame, kBackslash},
      {"act\\act_head", "<t>ACT\\ACT_HEAD</t>", 3, kUpper, kBackslash},
      {"act\\act_head", "Act\\act_Head\"", 0, kMixedCase, kBackslash},
      {"act\\act_head", "t = \"act\\\\act_head\"", 5, kSame, kDouble},
      {"act\\act_head", "act/act_head)", 0, kSame, kSlash},
      {"act\\act_head", "act/act_head", 0, kSame, kSlash},  // the end of the content
      {"act\\act_head", "ACT\\act_head-", 0, kMixedCase, kBackslash},
      {"act\\act_head", "act\\act_head\xc4", 0, kSame, kBackslash},
      {"Sky\\Day", "sky\\day ", 0, kLower, kBackslash},
      {"sky", "SKY;", 0, kUpper, kNone},
      {"act\\zone", "ACT\\ZONE;", 0, kUpper, kBackslash},
      {"act\\zone", "act\\Zone;", 0, kMixedCase, kBackslash},  // Z is upper case
      {"wpn\\ak\\ak74", "wpn/ak\\\\ak74 ", kNoMention, kSame, kNone},  // one byte, then two
      {"wpn\\ak\\ak74", "wpn//ak//ak74 ", 0, kSame, kMixed},
      {"wpn\\ak\\ak74", "wpn/ak\\ak74 ", 0, kSame, kMixed},
      // A letter, a digit or "_" after the name: no mention.
      {"act\\act_head", "act\\act_head_bump ", kNoMention, kSame, kNone},
      {"act\\act_head", "act\\act_headx ", kNoMention, kSame, kNone},
      {"act\\act_head", "act\\act_headX ", kNoMention, kSame, kNone},
      {"act\\act_head", "act\\act_head7 ", kNoMention, kSame, kNone},
      {"sky", "skyZ sky_x", kNoMention, kSame, kNone},
      {"act\\act_head", "act\\act_head_bump act/act_head.", 18, kSame, kSlash},
      // The first mention in the content, whatever its form.
      {"act\\act_head", "act\\\\act_head act\\act_head ", 0, kSame, kDouble},
      // A .thm: another texture named as detail is a use; its own name, or a
      // name followed by "_bump", is none.
      {"detail\\detail_metall_01", thm_file("detail\\detail_metall_01", "door\\door_bunker_1_bump"),
       kThmDetail, kSame, kBackslash, "door\\door_bunker_1.thm", "door\\door_bunker_1"},
      {"door\\door_bunker_1", thm_file("door\\door_bunker_1", ""), kNoMention, kSame, kNone,
       "door\\door_bunker_1.thm"},
      {"door\\door_bunker_1", thm_file("", "door\\door_bunker_1_bump"), kNoMention, kSame, kNone,
       "mtl\\mtl_m6_y.thm"},
      {"act\\act_glass_bump", thm_file("", "act\\act_glass_bump"), kThmDetail + 5 + 16 + 16, kSame,
       kBackslash, "act\\act_antigas.THM", "act\\act_antigas"},
      // textures.ltx: a name as the key is none, on the value side a use.
      {"act\\act_krovosos_1", "[association]\r\nact\\act_krovosos_1  = detail\\detail_skin_1,8.0\r\n",
       kNoMention, kSame, kNone, "textures.ltx"},
      {"detail\\detail_skin_1", "[association]\r\nact\\act_krovosos_1  = detail\\detail_skin_1,8.0\r\n",
       37, kSame, kBackslash, "textures.ltx", "act\\act_krovosos_1"},
      {"1\\1_123_bump", "1\\1_456 = bump_mode[use:1\\1_123_bump],material[0.50]\r\n",
       24, kSame, kBackslash, "Textures.ltx", "1\\1_456"},
      {"1\\1_123", "1\\1_123 = bump_mode[use:1\\1_123_bump],material[0.50]\r\n",
       kNoMention, kSame, kNone, "textures.ltx"},
      // Only the texture root's textures.ltx describes: elsewhere, no use.
      {"detail\\detail_skin_1", "a = detail\\detail_skin_1\r\n", kNoMention, kSame, kNone,
       "config\\textures.ltx"},
  };
  for (const Row& row : rows) {
    MentionSearch search({row.name});
    const auto* bytes = reinterpret_cast<const unsigned char*>(row.content.data());
    FoundNames mentions;
    if (row.description) {
      std::vector<DescriptionUse> uses =
          description_uses(row.description, Bytes(bytes, row.content.size()), search);
      mentions.reset(1);
      if (!uses.empty())
        mentions.record(0, uses[0].offset, uses[0].form);
      EXPECT_EQ(uses.empty() ? "" : uses[0].describes, row.describes) << row.content;
    } else {
      // In pieces of 1 to 5 bytes, each mention and its form straddle the
      // pieces' ends, and the answer is the same; the pieces go first, so
      // that nothing of the whole content's search is left to them.
      FoundNames whole;
      for (size_t piece = 5; piece >= 1; --piece) {
        FoundNames in_pieces;
        ASSERT_TRUE(search.window_overlap());
        find_in_pieces_of(search, Bytes(bytes, row.content.size()), piece, &in_pieces);
        search.find_all(Bytes(bytes, row.content.size()), &whole);
        ASSERT_EQ(in_pieces.names(), whole.names()) << row.content << " in pieces of " << piece;
        for (uint32_t name : whole.names()) {
          EXPECT_EQ(in_pieces.offset(name), whole.offset(name)) << row.content;
          EXPECT_EQ(in_pieces.form(name).letter_case, whole.form(name).letter_case);
          EXPECT_EQ(in_pieces.form(name).separator, whole.form(name).separator);
        }
      }
      search.find_all(Bytes(bytes, row.content.size()), &mentions);
    }
    if (row.offset == kNoMention) {
      EXPECT_TRUE(mentions.names().empty()) << row.content;
      continue;
    }
    ASSERT_EQ(mentions.names(), std::vector<uint32_t>{0}) << row.content;
    EXPECT_EQ(*mentions.offset(0), static_cast<uint64_t>(row.offset)) << row.content;
    EXPECT_EQ(mentions.form(0).letter_case, row.letter_case) << row.content;
    EXPECT_EQ(mentions.form(0).separator, row.separator) << row.content;
  }
}

TEST(ContentHash, PiecesGiveTheWholeContentsHash) {
  std::string content;
  for (size_t i = 0; i < 300; ++i)
    content += static_cast<char>(i * 7919 >> 3);
  // Lengths about the 32-byte rounds, in pieces of 32 and 64 bytes.
  for (size_t length : {0u, 1u, 31u, 32u, 33u, 64u, 95u, 96u, 97u, 300u})
    for (size_t piece : {32u, 64u}) {
      ContentHash hash;
      for (size_t at = 0; at < length; at += piece)
        hash.add(std::string_view(content).substr(at, std::min(piece, length - at)));
      EXPECT_EQ(hash.value(), content_hash(std::string_view(content).substr(0, length)))
          << length << " in pieces of " << piece;
    }
  EXPECT_NE(content_hash("ab"), content_hash("ba"));
  EXPECT_NE(content_hash(std::string(32, 'a')), content_hash(std::string(33, 'a')));
}

TEST(RecordText, JsonAndCsv) {
  struct Row {
    std::string bytes;
    std::string json;
    std::string csv;
  } rows[] = {
      {"act\\act_head", "{\"text\":\"act\\\\act_head\"}", "act\\act_head"},
      {"say \"hi\"", "{\"text\":\"say \\\"hi\\\"\"}", "\"say \"\"hi\"\"\""},
      {"a,b", "{\"text\":\"a,b\"}", "\"a,b\""},
      {"cr\rlf\n", "{\"text\":\"cr\\u000dlf\\u000a\"}", "\"cr\rlf\n\""},
      {"cr\r", "{\"text\":\"cr\\u000d\"}", "\"cr\r\""},
      {"lf\n", "{\"text\":\"lf\\u000a\"}", "\"lf\n\""},
      {std::string("\0\x1f\x7f", 3), "{\"text\":\"\\u0000\\u001f\x7f\"}",
       std::string("\0\x1f\x7f", 3)},
      {"", "{\"text\":\"\"}", ""},
      {"\xd0\xbd\xd0\xb5\xd0\xb1\xd0\xbe", "{\"text\":\"\xd0\xbd\xd0\xb5\xd0\xb1\xd0\xbe\"}",
       "\xd0\xbd\xd0\xb5\xd0\xb1\xd0\xbe"},
      {"\xf0\x9f\x98\x80", "{\"text\":\"\xf0\x9f\x98\x80\"}", "\xf0\x9f\x98\x80"},
      // Not UTF-8: a lone byte, a cut sequence, an overlong form, a surrogate,
      // past U+10FFFF; base64 with each count of padding.
      {"sky\xff", "{\"bytes\":\"c2t5/w==\"}", "sky\xff"},
      {"\xd0", "{\"bytes\":\"0A==\"}", "\xd0"},
      {"\xc0\xaf", "{\"bytes\":\"wK8=\"}", "\xc0\xaf"},
      {"\xed\xa0\x80", "{\"bytes\":\"7aCA\"}", "\xed\xa0\x80"},
      {"\xf4\x90\x80\x80", "{\"bytes\":\"9JCAgA==\"}", "\xf4\x90\x80\x80"},
      {"\xf0\x80\x80\x80", "{\"bytes\":\"8ICAgA==\"}", "\xf0\x80\x80\x80"},  // overlong
      // A third byte that continues nothing, in three and four bytes.
      {"\xe2\x82" "A", "{\"bytes\":\"4oJB\"}", "\xe2\x82" "A"},
      {"\xf0\x90" "A\x80", "{\"bytes\":\"8JBBgA==\"}", "\xf0\x90" "A\x80"},
      {"a,\"\xe9", "{\"bytes\":\"YSwi6Q==\"}", "\"a,\"\"\xe9\""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(json_text(row.bytes), row.json) << row.bytes;
    EXPECT_EQ(csv_field(row.bytes), row.csv) << row.bytes;
  }
}

}  // namespace
