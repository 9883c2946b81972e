// quilvaron-cli: runs a construction method on a ".pt" file or a random distribution and
// prints the statistics panel's figures; see --help.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliRun.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return qv::cli::RunCli(args, std::cout, std::cerr);
}
