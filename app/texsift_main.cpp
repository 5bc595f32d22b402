// Entry point of Texsift.
#include "app/run.h"
#include "app/programs.h"

int main(int argc, char** argv) { return program_main(argc, argv, "Texsift", run_texsift); }
