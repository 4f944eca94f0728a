// tovarin-example: writes the bundled example league into a folder.

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/native_path.h"
#include "tools/example/example_league.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = tovarin::platform::ProgramArguments(argc, argv);
  std::string directory;
  std::uint64_t seed = 2026;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help") {
      std::cout << "Usage: tovarin-example DIR [--seed N]\n"
                   "Writes a fictional Grandstand installation with two data disks, 2025.WDD and\n"
                   "2026.WDD, into DIR, for trying Tovarin out. The same seed gives the same files.\n";
      return 0;
    }
    if (arg == "--seed" && i + 1 < args.size()) {
      seed = std::strtoull(args[++i].c_str(), nullptr, 10);
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
