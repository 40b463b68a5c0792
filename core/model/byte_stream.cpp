#include "core/model/byte_stream.h"

#include <algorithm>
#include <bit>

namespace kolma {

namespace {

std::uint64_t GetLittleEndian(const std::uint8_t* in, int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  return value;
}

}  // namespace

bool ByteReader::Int32(std::int32_t& value) {
  if (Remaining() < 4) return false;
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLittleEndian(bytes_.data() + position_, 4)));
  position_ += 4;
  return true;
}

bool ByteReader::Double(double& value) {
  if (Remaining() < 8) return false;
  value = std::bit_cast<double>(GetLittleEndian(bytes_.data() + position_, 8));
  position_ += 8;
  return true;
}

bool ByteReader::Byte(std::uint8_t& value) {
  if (Remaining() < 1) return false;
  value = bytes_[position_++];
  return true;
}

bool ByteReader::Bytes(std::span<std::uint8_t> values) {
  if (Remaining() < values.size()) return false;
  std::copy_n(bytes_.data() + position_, values.size(), values.begin());
  position_ += values.size();
  return true;
}

bool ByteReader::Doubles(double* values, size_t count) {
  if (Remaining() / 8 < count) return false;
  for (size_t i = 0; i < count; ++i) {
    values[i] = std::bit_cast<double>(GetLittleEndian(bytes_.data() + position_, 8));
    position_ += 8;
  }
  return true;
}

}  // namespace kolma
