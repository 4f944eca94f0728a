// The main() of every test program: the per-user folders point into a temporary directory, so
// no test ever reads or writes the real user's settings or backups.

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/fixture.h"

int main(int argc, char** argv) {
  static tovarin::fixture::TempDir home;
  const std::string config = home.MakeDir("config");
  const std::string data = home.MakeDir("data");
#ifdef _WIN32
  _putenv_s("LOCALAPPDATA", data.c_str());
#else
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
