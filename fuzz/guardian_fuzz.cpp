// The guardian driven by the fuzzer: each byte of the input makes one choice of the run (which
// command, which answer, which file, whether a file step fails), so that libFuzzer steers the
// sequences toward new paths. A broken invariant prints the steps and aborts.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "guardian/guardian.h"
#include "support/fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tovarin::fixture::TempDir home;
  static const bool kept = (tovarin::fixture::KeepPerUserFoldersIn(home), true);
  (void)kept;
  tovarin::guardian::ByteChoices choices(data, size);
  const std::string broken = tovarin::guardian::Run(choices, 150, false);
  if (!broken.empty()) {
    std::fputs(broken.c_str(), stderr);
    std::abort();
  }
  return 0;
}
