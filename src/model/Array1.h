#pragma once
#include <cassert>
#include <cstddef>
#include <vector>

namespace lakedrift {

// A vector indexed from 1, so that the model's formulas read as written:
// NodeX(n) for n = 1..NodeCount. Resize discards the old contents.
template <typename T>
class Array1 {
 public:
  Array1() = default;
  explicit Array1(int count) { Resize(count); }

  // Makes the array 1..count, every element value-initialised.
  void Resize(int count) { data_.assign(count > 0 ? static_cast<std::size_t>(count) : 0u, T{}); }
  void Clear() { data_.clear(); }

  T& operator()(int i) {
    assert(i >= 1 && static_cast<std::size_t>(i) <= data_.size());
    return data_[static_cast<std::size_t>(i - 1)];
  }
  const T& operator()(int i) const {
    assert(i >= 1 && static_cast<std::size_t>(i) <= data_.size());
    return data_[static_cast<std::size_t>(i - 1)];
  }

  int Count() const { return static_cast<int>(data_.size()); }
  bool Empty() const { return data_.empty(); }
  T* Data() { return data_.data(); }
  const T* Data() const { return data_.data(); }
  const std::vector<T>& Vector() const { return data_; }
  bool operator==(const Array1&) const = default;

 private:
  std::vector<T> data_;
};

// A table indexed (row 1..rows, column 1..columns), stored column by column
// so that the rows of one column lie together: ElemNode(j, e) keeps the
// three vertices of element e side by side.
template <typename T>
class Array2 {
 public:
  // Makes the table (1..rows, 1..columns), every element value-initialised.
  void Resize(int rows, int columns) {
    rows_ = rows > 0 ? rows : 0;
    columns_ = columns > 0 ? columns : 0;
    data_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_), T{});
  }
  void Clear() { Resize(0, 0); }

  T& operator()(int row, int column) { return data_[Offset(row, column)]; }
  const T& operator()(int row, int column) const { return data_[Offset(row, column)]; }

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  bool operator==(const Array2&) const = default;

 private:
  std::size_t Offset(int row, int column) const {
    assert(row >= 1 && row <= rows_ && column >= 1 && column <= columns_);
    return static_cast<std::size_t>(column - 1) * static_cast<std::size_t>(rows_) +
           static_cast<std::size_t>(row - 1);
  }
  int rows_ = 0;
  int columns_ = 0;
  std::vector<T> data_;
};

}  // namespace lakedrift
