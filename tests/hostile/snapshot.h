// A record of everything a tree holds, to prove that a run wrote nothing.
#pragma once

#include <map>
#include <string>

// Each entry under a root, by its path from the root: its kind and, for a
// directory its modification time, for a regular file its size,
// modification time and a hash of its bytes, for a link its target. Other
// entries (FIFOs, sockets) are recorded by kind and never opened.
using TreeSnapshot = std::map<std::string, std::string>;

// Records the tree under `root`, links not followed.
TreeSnapshot snapshot_tree(const std::string& root);

// The first entry that differs between two records, as a message; empty
// when they are equal.
std::string snapshot_difference(const TreeSnapshot& before, const TreeSnapshot& after);
