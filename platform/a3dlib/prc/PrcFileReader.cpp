#include "a3dlib/prc/PrcFileReader.h"

#include <string.h>

#include <vector>

#include "a3dlib/prc/BitReader.h"
#include "a3dlib/prc/PrcTypes.h"
#include "a3dlib/prc/SectionCompression.h"
#include "a3dlib/prc/SectionReaders.h"

namespace a3d {
namespace prc {

namespace {

// The uncompressed parts: little-endian 32-bit words and byte blocks, bounded by the file.
class ByteCursor {
 public:
  ByteCursor(const uint8_t* data, size_t size, size_t offset) : m_data(data), m_size(size), m_offset(offset) {
    if (offset > size) throw FormatError("offset past the end of the file");
  }
  uint32_t Word() {
    Need(4);
    const uint8_t* p = m_data + m_offset;
    m_offset += 4;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  UniqueId Id() {
    UniqueId id;
    for (uint32_t& word : id.words) word = Word();
    return id;
  }
  void Magic() {
    Need(3);
    if (memcmp(m_data + m_offset, "PRC", 3) != 0) throw FormatError("not a PRC file");
    m_offset += 3;
  }
  // A count of items of at least `itemSize` bytes each, checked against the bytes left.
  uint32_t Count(size_t itemSize) {
    uint32_t count = Word();
    if (count > (m_size - m_offset) / itemSize) throw FormatError("count larger than the file");
    return count;
  }
  // Uncompressed files: a size and that many bytes each.
  void SkipBlocks() {
    uint32_t count = Count(4);
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t size = Word();
      Need(size);
      m_offset += size;
    }
  }

 private:
  void Need(size_t bytes) const {
    if (bytes > m_size - m_offset) throw FormatError("file ends early");
  }
  const uint8_t* m_data;
  size_t m_size;
  size_t m_offset;
};

struct FileStructureLayout {
  UniqueId id;
  std::vector<uint32_t> offsets;  // header, globals, tree, tessellation, geometry, extra geometry
};

// Reads the versions at the start of a header and checks the codec may read the file.
uint32_t ReadVersions(ByteCursor& cursor) {
  cursor.Magic();
  if (cursor.Word() > kMinimalVersionForRead) throw UnsupportedFormat("the file needs a newer reader");
  return cursor.Word();
}

class Section {
 public:
  Section(const uint8_t* data, size_t size, uint32_t offset) {
    if (offset >= size || !InflateSection(data + offset, size - offset, m_bytes)) throw FormatError("damaged section");
  }
  BitReader Reader() const { return BitReader(m_bytes.data(), m_bytes.size()); }

 private:
  SectionBytes m_bytes;
};

}  // namespace

PrcContent ReadPrcContent(const uint8_t* data, size_t size) {
  ByteCursor header(data, size, 0);
  uint32_t fileVersion = ReadVersions(header);
  header.Id();  // the file's id
  header.Id();  // the application's id
  std::vector<FileStructureLayout> layouts(header.Count(24));
  for (FileStructureLayout& layout : layouts) {
    layout.id = header.Id();
    header.Word();  // reserved
    uint32_t sections = header.Count(4);
    if (sections < 4) throw FormatError("file structure without its sections");
    layout.offsets.resize(sections);
    for (uint32_t& offset : layout.offsets) offset = header.Word();
  }
  uint32_t modelFileStart = header.Word();
  uint32_t modelFileEnd = header.Word();
  if (modelFileEnd > size || modelFileStart >= modelFileEnd) throw FormatError("model file outside the file");
  header.SkipBlocks();

  PrcContent content;
  content.fileStructures.resize(layouts.size());
  for (size_t i = 0; i < layouts.size(); ++i) {
    FileStructureContent& structure = content.fileStructures[i];
    structure.id = layouts[i].id;
    ByteCursor structureHeader(data, size, layouts[i].offsets[0]);
    structure.authoringVersion = ReadVersions(structureHeader);
    structureHeader.Id();
    structureHeader.Id();
    structureHeader.SkipBlocks();
    {
      Section globals(data, size, layouts[i].offsets[1]);
      BitReader bits = globals.Reader();
      ReadGlobalsSection(bits, structure.authoringVersion);
    }
    {
      Section tree(data, size, layouts[i].offsets[2]);
      BitReader bits = tree.Reader();
      ReadTreeSection(bits, structure.authoringVersion, structure);
    }
    {
      Section tessellations(data, size, layouts[i].offsets[3]);
      BitReader bits = tessellations.Reader();
      ReadTessellationSection(bits, structure.authoringVersion, structure);
    }
  }
  Section modelFile(data, modelFileEnd, modelFileStart);
  BitReader bits = modelFile.Reader();
  ReadModelFileSection(bits, fileVersion, content.modelFile);
  return content;
}

}  // namespace prc
}  // namespace a3d
