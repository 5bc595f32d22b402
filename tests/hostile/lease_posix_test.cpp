// A file that another process holds under a lease, end to end in every mode: waited for, never dropped.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "hostile/hostile_support.h"

namespace {

// Runs `mode` on `root` while this process holds a write lease on the file
// at `path`, as a file server holds one for a client; the lease is given up
// as soon as the program's open of the file breaks it. Sets `broken` to
// whether it was broken at all.
ProgramResult run_with_lease(Mode mode, const std::string& root, const std::string& path,
                             bool* broken) {
  sigset_t lease_signal, old_mask;
  sigemptyset(&lease_signal);
  sigaddset(&lease_signal, SIGIO);
  pthread_sigmask(SIG_BLOCK, &lease_signal, &old_mask);  // the runner inherits it
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_EQ(fcntl(fd, F_SETLEASE, F_WRLCK), 0) << strerror(errno);
  std::atomic<bool> done{false};
  ProgramResult result;
  std::thread runner([&] {
    result = run_mode(mode, root);
    done = true;
  });
  *broken = false;
  const timespec step{0, 20 * 1000 * 1000};
  while (!*broken && !done)
    *broken = sigtimedwait(&lease_signal, nullptr, &step) == SIGIO;
  fcntl(fd, F_SETLEASE, F_UNLCK);
  close(fd);
  runner.join();
  pthread_sigmask(SIG_SETMASK, &old_mask, nullptr);
  return result;
}

TEST(HostileTree, FileUnderALeaseIsWaitedForNotDropped) {
  // A file server's lease (an oplock) makes an open wait until the holder
  // lets go; an open that does not wait fails, and the file would be lost.
  for (Mode mode : kModes) {
    TempTree tree;
    write_two_textures(tree);
    tree.write("gamedata/config/a.ltx", "sky\r\n");
    tree.write("gamedata/config/b.ltx", "act\\act_head\r\n");
    bool broken = false;
    ProgramResult result =
        run_with_lease(mode, tree.root(), tree.root() + "gamedata/config/b.ltx", &broken);
    EXPECT_TRUE(broken) << mode_name(mode) << ": the program never opened the leased file";
    ExpectedTree expected = two_textures({{"gamedata\\config\\a.ltx", {{"sky", 0}}},
                                          {"gamedata\\config\\b.ltx", {{"act\\act_head", 0}}}});
    expect_run(mode, result, expected_report(tree.root(), expected, mode));
  }
}

}  // namespace
