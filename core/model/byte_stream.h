#pragma once
// Little-endian reading and writing of the project file's fields, independent of
// the byte order of the machine.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kolma {

class ByteWriter {
 public:
  void Int32(std::int32_t value);
  void Double(double value);
  void Byte(std::uint8_t value) { bytes_.push_back(value); }
  void Bytes(std::span<const std::uint8_t> values) { bytes_.insert(bytes_.end(), values.begin(), values.end()); }
  void Doubles(const double* values, size_t count);

  std::vector<std::uint8_t>& Result() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Every read fails (returns false, leaves the output alone) instead of passing the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Int32(std::int32_t& value);
  bool Double(double& value);
  bool Byte(std::uint8_t& value);
  bool Bytes(std::span<std::uint8_t> values);
  bool Doubles(double* values, size_t count);

  size_t Remaining() const { return bytes_.size() - position_; }
  size_t Position() const { return position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  size_t position_ = 0;
};

}  // namespace kolma
