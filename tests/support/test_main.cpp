// The main() of every test program: the per-user folders point into a temporary directory, so
// no test ever reads or writes the real user's settings or backups.

#include <gtest/gtest.h>

#include "support/fixture.h"

int main(int argc, char** argv) {
  static tovarin::fixture::TempDir home;
  tovarin::fixture::KeepPerUserFoldersIn(home);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
