// tovarin-example: writes the bundled example league into a folder.

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "tools/example/example_league.h"

int main(int argc, char** argv) {
  std::string directory;
  std::uint64_t seed = 2026;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::cout << "Usage: tovarin-example DIR [--seed N]\n"
                   "Writes a fictional Grandstand installation with two data disks, 2025.WDD and\n"
                   "2026.WDD, into DIR, for trying Tovarin out. The same seed gives the same files.\n";
      return 0;
    }
    if (arg == "--seed" && i + 1 < argc) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (directory.empty() && arg.rfind("-", 0) != 0) {
      directory = arg;
    } else {
      std::cerr << "tovarin-example: unexpected argument " << arg << "\n";
      return 2;
    }
  }
  if (directory.empty()) {
    std::cerr << "tovarin-example: give the folder to write into (see --help)\n";
    return 2;
  }
  try {
    const auto league = tovarin::example::WriteExampleLeague(directory, seed);
    std::cout << league.baseDirectory << "\n";
  } catch (const std::exception& error) {
    std::cerr << "tovarin-example: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
