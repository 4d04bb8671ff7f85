// Arrays with a declared inclusive index range, as the module's work and data-file arrays are.
// An index outside the range throws IndexError and never touches memory outside the array.
#pragma once

#include <string>
#include <vector>

#include "frame/errors.hpp"

namespace veltrum {

template <typename T>
class CheckedArray {
 public:
  CheckedArray() = default;
  CheckedArray(int low, int high) : low_(low), data_(high >= low ? high - low + 1 : 0) {}

  T& operator[](int i) { return data_[offset(i)]; }
  const T& operator[](int i) const { return data_[offset(i)]; }

  int low() const { return low_; }
  int high() const { return low_ + static_cast<int>(data_.size()) - 1; }
  bool contains(int i) const { return i >= low_ && i <= high(); }

  // Discard the contents and re-create the array zero-filled.
  void reset() { data_.assign(data_.size(), T{}); }

 private:
  std::size_t offset(int i) const {
    if (!contains(i))
      throw IndexError("index " + std::to_string(i) + " outside " + std::to_string(low_) + ".." +
                       std::to_string(high()));
    return static_cast<std::size_t>(i - low_);
  }

  int low_ = 0;
  std::vector<T> data_;
};

// Two indices, each with its own inclusive range.
template <typename T>
class CheckedArray2 {
 public:
  CheckedArray2(int low1, int high1, int low2, int high2)
      : rows_(low1, high1),
        cols_(low2, high2),
        data_(static_cast<std::size_t>(high1 - low1 + 1) * static_cast<std::size_t>(high2 - low2 + 1)) {}

  T& operator()(int i, int j) { return data_[offset(i, j)]; }
  const T& operator()(int i, int j) const { return data_[offset(i, j)]; }
  void reset() { data_.assign(data_.size(), T{}); }

 private:
  struct Range {
    Range(int l, int h) : low(l), high(h) {}
    int low, high;
  };
  std::size_t offset(int i, int j) const {
    if (i < rows_.low || i > rows_.high || j < cols_.low || j > cols_.high)
      throw IndexError("index (" + std::to_string(i) + "," + std::to_string(j) + ") outside the array");
    return static_cast<std::size_t>(i - rows_.low) * static_cast<std::size_t>(cols_.high - cols_.low + 1) +
           static_cast<std::size_t>(j - cols_.low);
  }
  Range rows_, cols_;
  std::vector<T> data_;
};

}  // namespace veltrum
