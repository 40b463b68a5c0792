#pragma once
// Little-endian reading and writing of binary files, independent of the byte order of
// the machine.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

namespace kolma {

// A growing little-endian byte buffer: the project file, the workbook, its compound
// document and the metafile are all little-endian, whatever the byte order of the machine.
class TByteWriter {
 public:
  void U8(std::uint8_t value) { bytes_.push_back(value); }
  void U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value & 0xFFu));
    U8(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value & 0xFFFFu));
    U16(static_cast<std::uint16_t>(value >> 16));
  }
  void U64(std::uint64_t value) {
    U32(static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
    U32(static_cast<std::uint32_t>(value >> 32));
  }
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  void F64(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    U64(bits);
  }
  void F64s(const double* values, std::size_t count) {
    bytes_.reserve(bytes_.size() + 8 * count);
    for (std::size_t i = 0; i < count; ++i) F64(values[i]);
  }
  void Bytes(std::span<const std::uint8_t> values) { bytes_.insert(bytes_.end(), values.begin(), values.end()); }
  void Zeros(std::size_t count) { bytes_.resize(bytes_.size() + count, 0); }

  void PatchU16(std::size_t at, std::uint16_t value) {
    bytes_[at] = static_cast<std::uint8_t>(value & 0xFFu);
    bytes_[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  void PatchU32(std::size_t at, std::uint32_t value) {
    PatchU16(at, static_cast<std::uint16_t>(value & 0xFFFFu));
    PatchU16(at + 2, static_cast<std::uint16_t>(value >> 16));
  }

  std::size_t Size() const { return bytes_.size(); }
  void Reserve(std::size_t size) { bytes_.reserve(size); }
  const std::vector<std::uint8_t>& Data() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::exchange(bytes_, {}); }

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
