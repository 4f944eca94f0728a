#pragma once

// The guardian: a random sequence of everything a user can do (through the form's commands as
// the windows give them, and through the command line's commands), with file operations failing
// at random, checked after every step against what Tovarin may write.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace tovarin::guardian {

// Where the run's choices come from: a seeded generator, or a fuzzer's bytes.
class Choices {
 public:
  virtual ~Choices() = default;
  // A number below `n` (n > 0).
  virtual unsigned Below(unsigned n) = 0;
  // Whether the run should go on: a fuzzer's bytes run out.
  virtual bool More() const { return true; }
};

class SeededChoices : public Choices {
 public:
  explicit SeededChoices(std::uint64_t seed) : random_(seed) {}
  unsigned Below(unsigned n) override {
    return static_cast<unsigned>(std::uniform_int_distribution<unsigned>(0, n - 1)(random_));
  }

 private:
  std::mt19937_64 random_;
};

class ByteChoices : public Choices {
 public:
  ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned Below(unsigned n) override {
    const unsigned byte = at_ < size_ ? data_[at_] : 0;
    ++at_;
    return byte % n;
  }
  bool More() const override { return at_ < size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Runs up to `steps` steps in a world of its own, in a new temporary folder. Empty when every
// invariant held; else the steps taken, the broken invariant and the file that broke it. With
// `trace`, each step is printed to standard output as it starts.
std::string Run(Choices& choices, int steps, bool trace);

}  // namespace tovarin::guardian
