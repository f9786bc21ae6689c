#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lakedrift::datagen {

// Collects little-endian binary data in memory and writes it out in one go,
// whatever the byte order of the machine that generates it.
class BinaryWriter {
 public:
  // Appends an IEEE-754 single as 4 little-endian bytes.
  void Float32(float value);
  // Appends unsigned integers of 2 and 4 bytes, little-endian.
  void UInt16(std::uint16_t value);
  void UInt32(std::uint32_t value);
  // Appends a signed 16-bit integer, little-endian.
  void Int16(std::int16_t value) { UInt16(static_cast<std::uint16_t>(value)); }
  // Appends raw characters (chunk tags and the like).
  void Text(const std::string& text);
  // Appends a byte.
  void Byte(std::uint8_t value) { bytes_.push_back(value); }

  std::size_t Size() const { return bytes_.size(); }
  // Writes everything to a file; throws std::runtime_error on failure.
  void Save(const std::filesystem::path& path) const;

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace lakedrift::datagen
