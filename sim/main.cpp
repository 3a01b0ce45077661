// The simulated host as a program: runs one scenario file and writes its trace.
//   hostsim-<build>.exe SCENARIO TRACE
#include <cstdio>

#include "sim/scenario.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SCENARIO TRACE\n", argv[0]);
    return 2;
  }
  return sim::RunScenarioFile(argv[1], argv[2]);
}
