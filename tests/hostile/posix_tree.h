// POSIX-only ways to make hostile entries in a test tree: modes, FIFOs, sockets, links and directory chains deeper than any path.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Files to write: name (within one directory) and content.
using FileList = std::vector<std::pair<std::string, std::string>>;

// Gives every directory under `root` (itself included) mode 0755 and every
// regular file 0644, so that any user may read the tree.
void make_readable_to_all(const std::string& root);

// Takes every permission from `path`, so that no user but root may list or read it.
void make_unreadable(const std::string& path);

// Makes a FIFO at `path`.
void make_fifo(const std::string& path);

// Makes a Unix socket at `path`, left bound and unused.
void make_socket(const std::string& path);

// Makes a symbolic link at `path` to `target`.
void make_link(const std::string& target, const std::string& path);

// Makes `levels` directories named `name`, each in the one before, in the
// directory `parent`, and writes `files` into the deepest. Works one level
// at a time through directory descriptors, so paths may pass PATH_MAX.
void make_chain(const std::string& parent, const std::string& name, int levels,
                const FileList& files);

// Removes what make_chain made, bottom up, through directory descriptors.
void remove_chain(const std::string& parent, const std::string& name, int levels,
                  const FileList& files);

// The command prefix that runs a program as the unprivileged user 65534
// (nobody) when the tests run as root; none when they do not. Sets
// `available` to false when the tests run as root and setpriv is missing.
std::vector<std::string> as_unprivileged_user(bool* available);
