// Tests of when the progress line is drawn, with standard output and standard error on a pseudo-terminal or a file, and of the console facts on POSIX.
#include "platform/console.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// An open descriptor, closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0)
      close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// `fd` in place of descriptor `target` while it lives.
class Redirect {
 public:
  Redirect(int target, int fd) : target_(target), saved_(dup(target)) { dup2(fd, target); }
  ~Redirect() { dup2(saved_.get(), target_); }
  Redirect(const Redirect&) = delete;
  Redirect& operator=(const Redirect&) = delete;

 private:
  int target_;
  Descriptor saved_;
};

// The secondary side of a new pseudo-terminal, open: a terminal to isatty.
struct PseudoTerminal {
  PseudoTerminal() : primary(posix_openpt(O_RDWR | O_NOCTTY)), secondary(open_secondary()) {}
  int open_secondary() const {
    if (primary.get() < 0 || grantpt(primary.get()) != 0 || unlockpt(primary.get()) != 0)
      return -1;
    return open(ptsname(primary.get()), O_RDWR | O_NOCTTY);
  }
  Descriptor primary;
  Descriptor secondary;
};

TEST(ProgressLineWanted, StandardErrorMustBeATerminal) {
  PseudoTerminal terminal;
  if (terminal.secondary.get() < 0)
    GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  TempTree tree;
  tree.write("out", "");
  Descriptor file(open((tree.root() + "out").c_str(), O_WRONLY));
  ASSERT_GE(file.get(), 0);
  struct Row {
    bool out_terminal;  // standard output on the terminal, else on a file
    bool err_terminal;  // likewise standard error
    const char* term;
    bool report_silent;
    bool wanted;
  } rows[] = {
      {false, true, "xterm", false, true},
      {true, true, "xterm", false, false},  // the report's lines would meet it
      {true, true, "xterm", true, true},
      {true, true, nullptr, true, true},
      {true, false, "xterm", true, false},
      {false, false, "xterm", true, false},
      {false, true, "dumb", true, false},
  };
  for (const Row& row : rows) {
    ScopedEnvironment term("TERM", row.term);
    bool wanted;
    {
      Redirect out(STDOUT_FILENO, row.out_terminal ? terminal.secondary.get() : file.get());
      Redirect err(STDERR_FILENO, row.err_terminal ? terminal.secondary.get() : file.get());
      wanted = progress_line_wanted(row.report_silent);
    }
    EXPECT_EQ(wanted, row.wanted) << row.out_terminal << row.err_terminal << row.report_silent
                                  << (row.term ? row.term : "(unset)");
  }
}

TEST(ConsoleFacts, NoConsoleToShare) {
  // A run is never taken for one started from Explorer, whatever the environment says.
  ScopedEnvironment explorer("TEXSIFT_EXPLORER", "1");
  const ConsoleFacts facts = console_facts();
  EXPECT_EQ(facts.processes, 0u);
  EXPECT_FALSE(facts.input_is_console);
  EXPECT_FALSE(facts.output_is_console);
  EXPECT_EQ(documents_folder(), "");
}

}  // namespace
