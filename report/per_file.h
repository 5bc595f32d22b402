// Algorithm #2's console report: per file searched, the texture names in it.
#pragma once

#include "report/console_report.h"
#include "report/file_report.h"

struct Catalogue;

// Prints, for each file that opened, its "searching in" line, then, unless
// it is empty, a FOUND line for each catalogue name it holds, in catalogue
// order, and the time its names took. Each name tried sets the grey colour
// first, so after a file the colour in force is grey, or green when the last
// name was found.
class PerFileLines : public FileReport {
 public:
  PerFileLines(const Catalogue& catalogue, const ConsoleReport& report)
      : catalogue_(catalogue), report_(report) {}
  void on_file(const FileResult& result) override;

 private:
  const Catalogue& catalogue_;
  const ConsoleReport& report_;
};
