// A seeded source of random draws that come out the same with every standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

// std::mt19937_64's sequence is fixed by the standard, but the distributions
// of <random> and std::shuffle are not, so every draw is made here from the
// engine's raw 64-bit words.
class Random {
 public:
  explicit Random(uint64_t seed) : engine_(seed) {}

  // A raw 64-bit word.
  uint64_t next() { return engine_(); }

  // A whole number in [0, n); n must be below 2^32.
  size_t below(size_t n) { return static_cast<size_t>(((next() >> 32) * n) >> 32); }

  // A whole number in [low, high].
  size_t between(size_t low, size_t high) { return low + below(high - low + 1); }

  // True in `percent` cases out of 100.
  bool chance(size_t percent) { return below(100) < percent; }

  // A number in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

  // One of `items`, which must not be empty.
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[below(items.size())];
  }

  // Puts `items` in a random order.
  template <typename T>
  void shuffle(std::vector<T>* items) {
    for (size_t i = items->size(); i > 1; --i)
      std::swap((*items)[i - 1], (*items)[below(i)]);
  }

 private:
  std::mt19937_64 engine_;
};
