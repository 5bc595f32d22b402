// The run of Texsift: the prologue, then the search the algorithm flag selects, and its sinks.
#include "app/programs.h"

#include <climits>

#include "app/run.h"
#include "catalogue/texture_files.h"
#include "match/name_search.h"
#include "page/page_model.h"
#include "report/console_report.h"
#include "report/record_report.h"
#include "search/filter.h"
#include "search/references.h"
#include "search/second_look.h"

namespace {

const Program kTexsift{
    "Texsift",
    "Usage: Texsift.EXE C:\\KORVAN1\\ <flag>\n"
    "\tflag = 0 or 1, type of search algorithm\n",
    true, true, TextureRules{}};

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The algorithm flag given after the game root; 0 when there is none.
uint8_t algorithm_flag_of(const CommandLine& line) {
  return line.operands.size() > 1 ? parse_algorithm_flag(line.operands[1]) : 0;
}

// What the second look and the textures' files tell of the textures that
// nothing refers to: mentions, uses through descriptions, companions, copies.
struct SecondLook {
  std::vector<std::string> bumps;     // the bump names looked for in the descriptions
  Mentions mentions;
  TextureFiles files;
  std::vector<const Mention*> users;  // per companion: the use that keeps it, pointing into `mentions`
};

// The second look for the textures marked `unreferenced`, their companions
// and the copies among all textures, in `files`, the files the search passed
// over.
SecondLook look_again(const Run& run, const std::vector<bool>& unreferenced,
                      const std::vector<PoolFile>& files) {
  const Catalogue& catalogue = run.catalogue;
  std::vector<uint32_t> names;
  for (uint32_t t = 0; t < catalogue.textures.size(); ++t)
    for (uint32_t i = 0; unreferenced[t] && i < catalogue.textures[t].name_count; ++i)
      names.push_back(catalogue.textures[t].first_name + i);
  SecondLook look;
  look.bumps = bump_names(catalogue, unreferenced);
  look.mentions = find_mentions(files, catalogue.name_views(), names, run.paths,
                                std::vector<std::string_view>(look.bumps.begin(), look.bumps.end()));
  // The page groups the copies from its thumbnail pass, which reads every texture.
  look.files = read_texture_files(catalogue, run.records());
  look.users = companion_users(catalogue, look.bumps, look.mentions);
  return look;
}

// Algorithm #1: the references of one walk, printed per texture name or
// written as texture records; then the second look for the records and the
// page.
void search_per_texture(Run& run, Page* page) {
  const Catalogue& catalogue = run.catalogue;
  // The walk lists the files the second look reads, when there is one.
  const bool second_look = run.records() || page;
  PassedOver passed_over{second_look_action, {}};
  const auto find = [&] {
    return find_references(run.game_root, run.catalogue.name_views(), run.paths,
                           second_look ? &passed_over : nullptr);
  };
  const References references =
      run.records() ? find() : print_texture_report(catalogue, run.console_report(), find);
  if (!second_look)
    return;
  const SecondLook look =
      look_again(run, unreferenced_textures(catalogue, references), passed_over.files);
  if (run.records())
    write_texture_records(catalogue, references, look.mentions, look.files, look.users,
                          run.record_report());
  if (page) {
    add_texture_findings(catalogue, references, look.mentions, page);
    add_texture_files(catalogue, look.files, look.users, look.mentions, run.paths, page);
  }
}

// The page of algorithm #2, whose search found the references: the second
// look for the textures it leaves unreferenced, in `files`, the files the
// search passed over.
void add_second_look(const Run& run, const std::vector<PoolFile>& files, Page* page) {
  std::vector<bool> unreferenced;
  for (const PageTexture& texture : page->textures)
    unreferenced.push_back(!texture.referenced);
  const SecondLook look = look_again(run, unreferenced, files);
  add_mentions(run.catalogue, look.mentions, page);
  add_texture_files(run.catalogue, look.files, look.users, look.mentions, run.paths, page);
}

}  // namespace

uint8_t parse_algorithm_flag(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && is_space(text[i]))
    ++i;
  bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+'))
    ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1)
      value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative)
    value = -value;
  if (value > INT_MAX)
    value = INT_MAX;
  return static_cast<uint8_t>(static_cast<unsigned long long>(value) & 0xff);
}

int run_texsift(const std::vector<std::string>& args, Console& console) {
  Run run(console);
  if (std::optional<int> status = start_run(kTexsift, args, &run))
    return *status;
  std::optional<Page> page = start_page(kTexsift, run);
  const bool per_file = algorithm_flag_of(run.line) != 0;
  if (!run.records())
    print(console, "\n--------------\n%s",
          per_file ? "algorithm #2 selected\n" : "algorithm #1 selected (slower)\n");
  if (per_file) {
    const NameSearch rule(run.catalogue.name_views());
    const ConsoleReport report = run.console_report();
    PerFileLines lines(run.catalogue, report);
    PassedOver passed_over{second_look_action, {}};
    search_per_file(run, is_searchable, rule, lines, false, page ? &*page : nullptr,
                    page ? &passed_over : nullptr);
    if (page)
      add_second_look(run, passed_over.files, &*page);
  } else {
    search_per_texture(run, page ? &*page : nullptr);
  }
  return finish_run(run, page ? &*page : nullptr);
}
