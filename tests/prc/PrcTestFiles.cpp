#include "PrcTestFiles.h"

#include "a3dlib/prc/SectionCompression.h"

namespace prctest {

namespace {

void Word(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t WordAt(const Bytes& bytes, size_t offset) {
  return uint32_t(bytes[offset]) | (uint32_t(bytes[offset + 1]) << 8) | (uint32_t(bytes[offset + 2]) << 16) |
         (uint32_t(bytes[offset + 3]) << 24);
}

Bytes Deflated(const Bytes& raw) {
  Bytes out;
  if (!a3d::prc::DeflateSection(raw, out)) out.clear();
  return out;
}

Bytes Inflated(const Bytes& file, size_t offset) {
  a3d::prc::SectionBytes section;
  if (offset >= file.size() || !a3d::prc::InflateSection(file.data() + offset, file.size() - offset, section)) return Bytes();
  return Bytes(section.data(), section.data() + section.size());
}

Bytes EmptyGeometry(uint32_t type) {
  return BitsOf([type](BitWriter& out) {
    out.UnsignedInteger(type);
    Base(out, "");
    out.UnsignedInteger(0);
    out.UnsignedInteger(0);
  });
}

}  // namespace

Bytes BitsOf(const std::function<void(BitWriter&)>& write) {
  BitWriter out;
  write(out);
  return out.Finish();
}

Bytes Assemble(const PrcFile& file) {
  const size_t count = file.structures.size();
  std::vector<std::vector<Bytes>> parts(count);
  for (size_t i = 0; i < count; ++i) {
    const FileStructure& s = file.structures[i];
    Bytes header = {'P', 'R', 'C'};
    Word(header, file.minimalVersion);
    Word(header, s.version);
    for (uint32_t word : s.id) Word(header, word);
    for (int k = 0; k < 4; ++k) Word(header, 0);
    Word(header, 0);
    parts[i] = {header, Deflated(s.globals), Deflated(s.tree), Deflated(s.tessellations), Deflated(EmptyGeometry(306)),
                Deflated(EmptyGeometry(307))};
  }
  Bytes model = Deflated(file.modelFile);
  size_t offset = 3 + 8 + 32 + 4 + count * 48 + 12;
  Bytes out = {'P', 'R', 'C'};
  Word(out, file.minimalVersion);
  Word(out, 8137);
  for (uint32_t word : {7u, 7u, 7u, 7u, 0u, 0u, 0u, 0u}) Word(out, word);
  Word(out, static_cast<uint32_t>(count));
  for (size_t i = 0; i < count; ++i) {
    for (uint32_t word : file.structures[i].id) Word(out, word);
    Word(out, 0);
    Word(out, 6);
    for (const Bytes& part : parts[i]) {
      Word(out, static_cast<uint32_t>(offset));
      offset += part.size();
    }
  }
  Word(out, static_cast<uint32_t>(offset));
  Word(out, static_cast<uint32_t>(offset + model.size()));
  Word(out, 0);
  for (const std::vector<Bytes>& structure : parts)
    for (const Bytes& part : structure) out.insert(out.end(), part.begin(), part.end());
  out.insert(out.end(), model.begin(), model.end());
  return out;
}

PrcFile Split(const Bytes& file) {
  PrcFile result;
  if (file.size() < 107 || WordAt(file, 43) != 1) return result;
  result.minimalVersion = WordAt(file, 3);
  FileStructure structure;
  for (int i = 0; i < 4; ++i) structure.id[i] = WordAt(file, 47 + 4 * i);
  structure.version = WordAt(file, 7);
  structure.globals = Inflated(file, WordAt(file, 75));
  structure.tree = Inflated(file, WordAt(file, 79));
  structure.tessellations = Inflated(file, WordAt(file, 83));
  result.structures.push_back(structure);
  result.modelFile = Inflated(file, WordAt(file, 95));
  return result;
}

void EmptyGlobals(BitWriter& out) {
  out.UnsignedInteger(0);  // schema
  out.UnsignedInteger(303);
  Base(out, "");
  out.UnsignedInteger(0);  // referenced file structures
  out.Double(0);
  out.Double(0);
  out.String("");
  for (int i = 0; i < 9; ++i) out.UnsignedInteger(0);
  out.UnsignedInteger(0);  // user data
}

void Base(BitWriter& out, const std::string& name) {
  out.UnsignedInteger(0);
  out.Name(name);
}

void BaseWithGraphics(BitWriter& out, const std::string& name, uint32_t id) {
  Base(out, name);
  out.UnsignedInteger(id);
  out.UnsignedInteger(0);
  out.UnsignedInteger(id);
  out.Bit(true);
}

void ModelFileSection(BitWriter& out, const std::vector<std::pair<const uint32_t*, uint32_t>>& roots,
                      size_t structureCount, double unit) {
  out.UnsignedInteger(0);  // schema
  out.UnsignedInteger(301);
  Base(out, "model");
  out.Bit(true);
  out.Double(unit);
  out.UnsignedInteger(static_cast<uint32_t>(roots.size()));
  for (const auto& root : roots) {
    for (int i = 0; i < 4; ++i) out.UnsignedInteger(root.first[i]);
    out.UnsignedInteger(root.second);
    out.Bit(true);
  }
  for (size_t i = 0; i < structureCount; ++i) out.UnsignedInteger(static_cast<uint32_t>(i));
  out.UnsignedInteger(0);
}

}  // namespace prctest
