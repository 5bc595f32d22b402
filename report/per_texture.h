// Algorithm #1's console report: per texture name, the files that refer to it.
#pragma once

#include <functional>

#include "report/console_report.h"
#include "search/references.h"

struct Catalogue;

// For each name of `catalogue`, in order, prints its "searching" line, a
// FOUND line for each file that refers to it, "NOT FOUND REFERENCED" when
// there is none, and the time the name took. The report is the one a walk of
// the tree per name would give, but the references come from one call of
// `find`, made inside the first name's timed unit. Returns them.
References print_texture_report(const Catalogue& catalogue, const ConsoleReport& report,
                                const std::function<References()>& find);
