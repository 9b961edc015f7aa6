#include "byte_builders.h"

#include <zlib.h>

#include <stdexcept>

namespace apktest {

void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Put64(Bytes& b, std::uint64_t v) {
  Put32(b, static_cast<std::uint32_t>(v));
  Put32(b, static_cast<std::uint32_t>(v >> 32));
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

Bytes Chunk(std::uint16_t type, const Bytes& headerFields, const Bytes& body) {
  Bytes out;
  Put16(out, type);
  Put16(out, static_cast<std::uint32_t>(8 + headerFields.size()));
  Put32(out, static_cast<std::uint32_t>(8 + headerFields.size() + body.size()));
  out.insert(out.end(), headerFields.begin(), headerFields.end());
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes StringPoolChunk(const std::vector<std::string>& strings, bool utf8) {
  Bytes offsets;
  Bytes data;
  for (const std::string& s : strings) {
    Put32(offsets, static_cast<std::uint32_t>(data.size()));
    if (utf8) {
      // ASCII only in these fixtures: UTF-16 length equals the byte length.
      data.push_back(static_cast<std::uint8_t>(s.size()));
      data.push_back(static_cast<std::uint8_t>(s.size()));
      data.insert(data.end(), s.begin(), s.end());
      data.push_back(0);
    } else {
      Put16(data, static_cast<std::uint32_t>(s.size()));
      for (const char c : s) Put16(data, static_cast<std::uint8_t>(c));
      Put16(data, 0);
    }
  }
  while (data.size() % 4) data.push_back(0);
  Bytes header;
  Put32(header, static_cast<std::uint32_t>(strings.size()));
  Put32(header, 0);
  Put32(header, utf8 ? 0x100 : 0);
  Put32(header, static_cast<std::uint32_t>(28 + offsets.size()));
  Put32(header, 0);
  Bytes body = offsets;
  body.insert(body.end(), data.begin(), data.end());
  return Chunk(0x0001, header, body);
}

namespace {

Bytes RawDeflate(const Bytes& in) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflate");
  Bytes out(deflateBound(&z, static_cast<uLong>(in.size())) + 16);
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

}  // namespace

Bytes BuildZip(const std::vector<ZipFileSpec>& files, const ZipOptions& options) {
  Bytes out;
  Bytes cd;
  for (const ZipFileSpec& f : files) {
    const Bytes stored = f.deflate ? RawDeflate(f.data) : f.data;
    const auto crc = static_cast<std::uint32_t>(crc32(0, f.data.data(), static_cast<uInt>(f.data.size())));
    const auto offset = static_cast<std::uint32_t>(out.size());
    const std::uint16_t method = f.deflate ? 8 : 0;
    Put32(out, 0x04034b50);
    Put16(out, 20);
    Put16(out, 0);
    Put16(out, method);
    Put32(out, 0);
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(stored.size()));
    Put32(out, static_cast<std::uint32_t>(f.data.size()));
    Put16(out, static_cast<std::uint32_t>(f.name.size()));
    Put16(out, 0);
    out.insert(out.end(), f.name.begin(), f.name.end());
    out.insert(out.end(), stored.begin(), stored.end());

    Bytes extra;
    if (options.zip64) {
      Put16(extra, 0x0001);
      Put16(extra, 24);
      Put64(extra, f.data.size());
      Put64(extra, stored.size());
      Put64(extra, offset);
    }
    Put32(cd, 0x02014b50);
    Put16(cd, 45);
    Put16(cd, 45);
    Put16(cd, 0);
    Put16(cd, method);
    Put32(cd, 0);
    Put32(cd, crc);
    Put32(cd, options.zip64 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(stored.size()));
    Put32(cd, options.zip64 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(f.data.size()));
    Put16(cd, static_cast<std::uint32_t>(f.name.size()));
    Put16(cd, static_cast<std::uint32_t>(extra.size()));
    Put16(cd, 0);
    Put16(cd, 0);
    Put16(cd, 0);
    Put32(cd, 0);
    Put32(cd, options.zip64 ? 0xFFFFFFFFu : offset);
    cd.insert(cd.end(), f.name.begin(), f.name.end());
    cd.insert(cd.end(), extra.begin(), extra.end());
  }
  const auto cdOffset = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), cd.begin(), cd.end());
  if (options.zip64) {
    const auto end64 = static_cast<std::uint64_t>(out.size());
    Put32(out, 0x06064b50);
    Put64(out, 44);
    Put16(out, 45);
    Put16(out, 45);
    Put32(out, 0);
    Put32(out, 0);
    Put64(out, files.size());
    Put64(out, files.size());
    Put64(out, cd.size());
    Put64(out, cdOffset);
    Put32(out, 0x07064b50);
    Put32(out, 0);
    Put64(out, end64);
    Put32(out, 1);
  }
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, options.zip64 ? 0xFFFF : static_cast<std::uint32_t>(files.size()));
  Put16(out, options.zip64 ? 0xFFFF : static_cast<std::uint32_t>(files.size()));
  Put32(out, options.zip64 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(cd.size()));
  Put32(out, options.zip64 ? 0xFFFFFFFFu : cdOffset);
  Put16(out, static_cast<std::uint32_t>(options.comment.size()));
  out.insert(out.end(), options.comment.begin(), options.comment.end());
  return out;
}

namespace {

void WriteElement(Bytes& body, const XmlElement& e) {
  Bytes header;
  Put32(header, 1);           // line
  Put32(header, 0xFFFFFFFF);  // comment
  Bytes ext;
  Put32(ext, 0xFFFFFFFF);
  Put32(ext, e.name);
  Put16(ext, 20);
  Put16(ext, 20);
  Put16(ext, static_cast<std::uint32_t>(e.attrs.size()));
  Put16(ext, 0);
  Put16(ext, 0);
  Put16(ext, 0);
  for (const XmlAttr& a : e.attrs) {
    Put32(ext, a.ns);
    Put32(ext, a.name);
    Put32(ext, a.raw);
    Put16(ext, 8);
    ext.push_back(0);
    ext.push_back(a.type);
    Put32(ext, a.data);
  }
  const Bytes start = Chunk(0x0102, header, ext);
  body.insert(body.end(), start.begin(), start.end());
  for (const XmlElement& child : e.children) WriteElement(body, child);
  Bytes endExt;
  Put32(endExt, 0xFFFFFFFF);
  Put32(endExt, e.name);
  const Bytes end = Chunk(0x0103, header, endExt);
  body.insert(body.end(), end.begin(), end.end());
}

}  // namespace

Bytes BuildXml(const std::vector<std::string>& strings, bool utf8, const std::vector<std::uint32_t>& resourceIds,
               const XmlElement& root) {
  Bytes body = StringPoolChunk(strings, utf8);
  Bytes ids;
  for (const std::uint32_t id : resourceIds) Put32(ids, id);
  const Bytes map = Chunk(0x0180, {}, ids);
  body.insert(body.end(), map.begin(), map.end());
  WriteElement(body, root);
  return Chunk(0x0003, {}, body);
}

namespace {

Bytes Config(const TableType& t) {
  Bytes c(64, 0);
  Set32(c, 0, 64);
  if (!t.locale.empty()) {
    c[8] = static_cast<std::uint8_t>(t.locale[0]);
    c[9] = static_cast<std::uint8_t>(t.locale[1]);
    if (t.locale.size() >= 5) {
      c[10] = static_cast<std::uint8_t>(t.locale[3]);
      c[11] = static_cast<std::uint8_t>(t.locale[4]);
    }
  }
  c[14] = static_cast<std::uint8_t>(t.density);
  c[15] = static_cast<std::uint8_t>(t.density >> 8);
  return c;
}

}  // namespace

Bytes BuildTable(const std::vector<std::string>& values, const std::vector<std::uint32_t>& entryCounts,
                 const std::vector<TableType>& types) {
  std::vector<std::string> typeNames;
  std::vector<std::string> keyNames;
  for (std::size_t i = 0; i < entryCounts.size(); ++i) {
    std::string name(1, 't');
    name += std::to_string(i + 1);
    typeNames.push_back(name);
  }
  for (int i = 0; i < 8; ++i) {
    std::string name(1, 'k');
    name += std::to_string(i);
    keyNames.push_back(name);
  }
  Bytes pkgBody;
  const Bytes typePool = StringPoolChunk(typeNames, true);
  const Bytes keyPool = StringPoolChunk(keyNames, true);
  pkgBody.insert(pkgBody.end(), typePool.begin(), typePool.end());
  pkgBody.insert(pkgBody.end(), keyPool.begin(), keyPool.end());
  for (std::size_t i = 0; i < entryCounts.size(); ++i) {
    Bytes h;
    h.push_back(static_cast<std::uint8_t>(i + 1));
    h.push_back(0);
    Put16(h, 0);
    Put32(h, entryCounts[i]);
    Bytes flags;
    for (std::uint32_t e = 0; e < entryCounts[i]; ++e) Put32(flags, 0);
    const Bytes typeSpec = Chunk(0x0202, h, flags);
    pkgBody.insert(pkgBody.end(), typeSpec.begin(), typeSpec.end());
  }
  for (const TableType& t : types) {
    const std::uint32_t count = entryCounts.at(t.id - 1u);
    Bytes entries;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> at;  // index, offset
    for (const TableEntry& e : t.entries) {
      at.emplace_back(e.index, static_cast<std::uint32_t>(entries.size()));
      if (t.encoding == Encoding::kCompact && e.type != 0xFF) {
        Put16(entries, 0);
        Put16(entries, 0x0008u | (static_cast<std::uint32_t>(e.type) << 8));
        Put32(entries, e.data);
      } else if (e.type == 0xFF) {
        Put16(entries, 16);
        Put16(entries, 0x0001);
        Put32(entries, 0);
        Put32(entries, 0);  // parent
        Put32(entries, 0);  // count
      } else {
        Put16(entries, 8);
        Put16(entries, 0);
        Put32(entries, 0);
        Put16(entries, 8);
        entries.push_back(0);
        entries.push_back(e.type);
        Put32(entries, e.data);
      }
    }
    Bytes index;
    std::uint32_t indexCount = count;
    std::uint8_t flags = 0;
    if (t.encoding == Encoding::kSparse) {
      flags = 0x01;
      indexCount = static_cast<std::uint32_t>(at.size());
      for (const auto& [i, off] : at) {
        Put16(index, i);
        Put16(index, off / 4);
      }
    } else if (t.encoding == Encoding::kOffset16) {
      flags = 0x02;
      for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t v = 0xFFFF;
        for (const auto& [j, off] : at) {
          if (j == i) v = off / 4;
        }
        Put16(index, v);
      }
      while (index.size() % 4) index.push_back(0xFF);
    } else {
      for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t v = 0xFFFFFFFF;
        for (const auto& [j, off] : at) {
          if (j == i) v = off;
        }
        Put32(index, v);
      }
    }
    Bytes h;
    h.push_back(t.id);
    h.push_back(flags);
    Put16(h, 0);
    Put32(h, indexCount);
    Put32(h, static_cast<std::uint32_t>(8 + 12 + 64 + index.size()));
    const Bytes config = Config(t);
    h.insert(h.end(), config.begin(), config.end());
    Bytes body = index;
    body.insert(body.end(), entries.begin(), entries.end());
    const Bytes type = Chunk(0x0201, h, body);
    pkgBody.insert(pkgBody.end(), type.begin(), type.end());
  }
  Bytes pkgHeader;
  Put32(pkgHeader, 0x7f);
  for (int i = 0; i < 128; ++i) Put16(pkgHeader, 0);
  Put32(pkgHeader, 288);                                              // type strings
  Put32(pkgHeader, 0);
  Put32(pkgHeader, static_cast<std::uint32_t>(288 + typePool.size()));  // key strings
  Put32(pkgHeader, 0);
  Put32(pkgHeader, 0);
  const Bytes package = Chunk(0x0200, pkgHeader, pkgBody);
  Bytes tableHeader;
  Put32(tableHeader, 1);
  Bytes body = StringPoolChunk(values, true);
  body.insert(body.end(), package.begin(), package.end());
  return Chunk(0x0002, tableHeader, body);
}

}  // namespace apktest
