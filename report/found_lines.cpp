// The FOUND lines of one file with the colours of trying every name in turn, apart so that each program links only the lines it prints.
#include "report/console_report.h"

#include "text/console.h"

void print_found_in_turn(Console& console, size_t name_count, const std::vector<uint32_t>& found,
                         const std::function<void(uint32_t name)>& print_line) {
  if (name_count == 0)
    return;
  console.set_colour(kColourGrey);
  for (size_t k = 0; k < found.size(); ++k) {
    if (k > 0)
      console.set_colour(kColourGrey);
    print_line(found[k]);
  }
  if (!found.empty() && found.back() + 1 != name_count)
    console.set_colour(kColourGrey);
}
