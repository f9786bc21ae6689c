#include "BinaryWriter.h"

#include <bit>
#include <fstream>
#include <stdexcept>

namespace lakedrift::datagen {

void BinaryWriter::Float32(float value) { UInt32(std::bit_cast<std::uint32_t>(value)); }

void BinaryWriter::UInt16(std::uint16_t value) {
  bytes_.push_back(static_cast<std::uint8_t>(value & 0xFFu));
  bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void BinaryWriter::UInt32(std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
  }
}

void BinaryWriter::Text(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }

void BinaryWriter::Save(const std::filesystem::path& path) const {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace lakedrift::datagen
