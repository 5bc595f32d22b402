// Entry point of Texsift-compact.
#include "app/programs.h"
#include "app/run.h"

int main(int argc, char** argv) {
  return program_main(argc, argv, "Texsift-compact", run_compact);
}
