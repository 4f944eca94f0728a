#pragma once

// The first piece of a build target input: how the tree is laid out and how the Build runs.

namespace tovarin::fuzz {

enum BuildFlags : unsigned char {
  kUseFarm = 1,
  kDryRunFirst = 2,      // a dry run first, which must write nothing and count the same
  kBackUp = 4,           // back the rosters up as the form does, then put them back
  kNoFarmFolder = 8,     // the farm organization's folder is missing
  kLowerCaseFiles = 16,  // the simulation's files are named in lower case
};

}  // namespace tovarin::fuzz
