// zlibwapi.dll loaded from this test's directory and bound by name, as the program binds it, reading
// archives held in memory.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "test_files_win.h"
#include "unz_open_buffer.h"
#include "util/unique_resource.h"

namespace {

// minizip's records as the program declares them: 32-bit uLong on both Windows architectures.
static_assert(sizeof(unz_file_info) == 80);
static_assert(offsetof(unz_file_info, uncompressed_size) == 28);
static_assert(offsetof(unz_file_info, tmu_date) == 56);
static_assert(sizeof(unz_global_info) == 8);

template <typename F>
F Bind(HMODULE module, const char* name) {
  // Through void(*)(): the one function type that converts to any other without a warning.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

struct ZlibWapi {
  UniqueModule module;
  decltype(&::unzOpenBuffer) openBuffer = nullptr;
  decltype(&::unzGetGlobalInfo) getGlobalInfo = nullptr;
  decltype(&::unzGetGlobalComment) getGlobalComment = nullptr;
  decltype(&::unzGetCurrentFileInfo) getCurrentFileInfo = nullptr;
  decltype(&::unzOpenCurrentFile) openCurrentFile = nullptr;
  decltype(&::unzReadCurrentFile) readCurrentFile = nullptr;
  decltype(&::unzCloseCurrentFile) closeCurrentFile = nullptr;
  decltype(&::unzGoToNextFile) goToNextFile = nullptr;
  decltype(&::unzClose) close = nullptr;
};

const ZlibWapi& Dll() {
  static const ZlibWapi dll = [] {
    ZlibWapi d;
    d.module.reset(::LoadLibraryW((ExeDirectory() + L"\\zlibwapi.dll").c_str()));
    HMODULE m = d.module.get();
    if (!m) return d;
    d.openBuffer = Bind<decltype(d.openBuffer)>(m, "unzOpenBuffer");
    d.getGlobalInfo = Bind<decltype(d.getGlobalInfo)>(m, "unzGetGlobalInfo");
    d.getGlobalComment = Bind<decltype(d.getGlobalComment)>(m, "unzGetGlobalComment");
    d.getCurrentFileInfo = Bind<decltype(d.getCurrentFileInfo)>(m, "unzGetCurrentFileInfo");
    d.openCurrentFile = Bind<decltype(d.openCurrentFile)>(m, "unzOpenCurrentFile");
    d.readCurrentFile = Bind<decltype(d.readCurrentFile)>(m, "unzReadCurrentFile");
    d.closeCurrentFile = Bind<decltype(d.closeCurrentFile)>(m, "unzCloseCurrentFile");
    d.goToNextFile = Bind<decltype(d.goToNextFile)>(m, "unzGoToNextFile");
    d.close = Bind<decltype(d.close)>(m, "unzClose");
    return d;
  }();
  return dll;
}

FileBytes Bytes(const std::string& text) { return FileBytes(text.begin(), text.end()); }

FileBytes StoredBytes() {
  FileBytes bytes(1000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
  return bytes;
}

FileBytes DeflatedBytes() {
  std::string text;
  for (int i = 0; i < 12500; ++i) text += "fennlow ";
  return Bytes(text);
}

FileBytes Data(const std::wstring& name) {
  FileBytes bytes = ReadFileBytes(DataPath(name));
  EXPECT_FALSE(bytes.empty()) << "missing test archive";
  return bytes;
}

void FreePages(void* p) noexcept { ::VirtualFree(p, 0, MEM_RELEASE); }
using UniquePages = UniqueResource<void*, FreePages>;

// A copy of an archive that ends right before a no-access page: a read past its end faults.
class GuardedCopy {
 public:
  explicit GuardedCopy(const FileBytes& bytes) {
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    const std::size_t body = (bytes.size() + page - 1) / page * page + page;
    pages_.reset(::VirtualAlloc(nullptr, body + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    auto* base = static_cast<std::uint8_t*>(pages_.get());
    DWORD old = 0;
    ::VirtualProtect(base + body, page, PAGE_NOACCESS, &old);
    data_ = base + body - bytes.size();
    if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
    size_ = bytes.size();
  }
  [[nodiscard]] std::uint8_t* data() const { return data_; }
  [[nodiscard]] uLong size() const { return static_cast<uLong>(size_); }

 private:
  UniquePages pages_;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// Closes a handle from unzOpenBuffer.
class Archive {
 public:
  Archive(const void* data, uLong size) : file_(Dll().openBuffer(data, size)) {}
  explicit Archive(const GuardedCopy& copy) : Archive(copy.data(), copy.size()) {}
  ~Archive() {
    if (file_) Dll().close(file_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;
  [[nodiscard]] unzFile get() const { return file_; }

 private:
  unzFile file_;
};

struct Entry {
  std::string name;
  unz_file_info info{};
};

struct EntryRead {
  bool found = false;
  unz_file_info info{};
  int open = 0, read = 0, close = 0;
  FileBytes bytes;  // the buffer, as long as read asked for (capped)
};

constexpr unsigned kReadCap = 1u << 20;

// The current entry's name and record, through the 255-byte name buffer the program uses.
bool CurrentEntry(unzFile file, Entry& entry) {
  char name[256];
  std::memset(name, ' ', 255);
  name[255] = 0;
  if (Dll().getCurrentFileInfo(file, &entry.info, name, 255, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  entry.name = name;
  return true;
}

// Reads the open current entry with one call, as the program does, capped so absurd sizes stay cheap.
void ReadCurrent(unzFile file, EntryRead& out) {
  out.open = Dll().openCurrentFile(file);
  const unsigned ask =
      out.info.uncompressed_size < kReadCap ? static_cast<unsigned>(out.info.uncompressed_size) : kReadCap;
  out.bytes.assign(ask, 0);
  out.read = Dll().readCurrentFile(file, ask ? out.bytes.data() : nullptr, ask);
  out.close = Dll().closeCurrentFile(file);
}

// The first entry named `name` in directory order, walked the way the program walks.
EntryRead ReadEntry(const void* data, uLong size, const std::string& name) {
  EntryRead out;
  Archive archive(data, size);
  if (!archive.get()) return out;
  unz_global_info global{};
  Dll().getGlobalInfo(archive.get(), &global);
  for (uLong i = 0; i < global.number_entry; ++i) {
    Entry entry;
    if (CurrentEntry(archive.get(), entry) && entry.name == name) {
      out.found = true;
      out.info = entry.info;
      ReadCurrent(archive.get(), out);
      break;
    }
    Dll().closeCurrentFile(archive.get());
    Dll().goToNextFile(archive.get());
  }
  return out;
}

EntryRead ReadEntry(const FileBytes& archive, const std::string& name) {
  return ReadEntry(archive.data(), static_cast<uLong>(archive.size()), name);
}

// Walks every entry and reads each one; for archives that may be damaged anywhere.
void ReadEverything(const GuardedCopy& copy) {
  Archive archive(copy);
  if (!archive.get()) return;
  unz_global_info global{};
  Dll().getGlobalInfo(archive.get(), &global);
  std::vector<char> comment(global.size_comment + 1);
  Dll().getGlobalComment(archive.get(), comment.data(), global.size_comment);
  for (uLong i = 0; i < global.number_entry; ++i) {
    EntryRead entry;
    Entry current;
    if (CurrentEntry(archive.get(), current)) {
      entry.info = current.info;
      ReadCurrent(archive.get(), entry);
    }
    Dll().closeCurrentFile(archive.get());
    Dll().goToNextFile(archive.get());
  }
}

std::vector<std::string> Names(const FileBytes& bytes) {
  std::vector<std::string> names;
  Archive archive(bytes.data(), static_cast<uLong>(bytes.size()));
  if (!archive.get()) return names;
  do {
    Entry entry;
    if (!CurrentEntry(archive.get(), entry)) break;
    names.push_back(entry.name);
  } while (Dll().goToNextFile(archive.get()) == UNZ_OK);
  return names;
}

TEST(Zlibwapi, LoadsFromTheTestDirectoryAndBindsEveryFunctionByName) {
  const ZlibWapi& dll = Dll();
  ASSERT_TRUE(dll.module) << "zlibwapi.dll beside the test";
  EXPECT_TRUE(dll.openBuffer);
  EXPECT_TRUE(dll.getGlobalInfo);
  EXPECT_TRUE(dll.getGlobalComment);
  EXPECT_TRUE(dll.getCurrentFileInfo);
  EXPECT_TRUE(dll.openCurrentFile);
  EXPECT_TRUE(dll.readCurrentFile);
  EXPECT_TRUE(dll.closeCurrentFile);
  EXPECT_TRUE(dll.goToNextFile);
  EXPECT_TRUE(dll.close);
  for (const char* name : {"zlibVersion", "inflate", "inflateInit2_", "crc32", "unzOpen", "unzLocateFile",
                           "unzGoToFirstFile", "unzOpen2_64"}) {
    EXPECT_TRUE(::GetProcAddress(dll.module.get(), name)) << name;
  }
}

// The program relies on `uncompressed_size` and the record's length; check the DLL fills the same layout.
TEST(Zlibwapi, FileInfoRecordIs80BytesAndFilledAsDeclared) {
  const FileBytes zip = Data(L"entries.zip");
  Archive archive(zip.data(), static_cast<uLong>(zip.size()));
  ASSERT_TRUE(archive.get());
  unz_global_info global{};
  ASSERT_EQ(Dll().getGlobalInfo(archive.get(), &global), UNZ_OK);
  EXPECT_EQ(global.number_entry, 6u);
  EXPECT_EQ(global.size_comment, 0u);

  Entry entry;
  ASSERT_TRUE(CurrentEntry(archive.get(), entry));
  EXPECT_EQ(entry.name, "stored.bin");
  EXPECT_EQ(entry.info.compression_method, 0u);
  EXPECT_EQ(entry.info.compressed_size, 1000u);
  EXPECT_EQ(entry.info.uncompressed_size, 1000u);
  EXPECT_EQ(entry.info.size_filename, 10u);
  EXPECT_EQ(entry.info.tmu_date.tm_year, 1980u);  // zipfile's default date, the record's last fields
  EXPECT_EQ(entry.info.tmu_date.tm_mday, 1u);
}

TEST(Zlibwapi, OpenBufferGivesNullForWhatIsNotAReadableArchive) {
  const std::string text = "This is a text file, not a ZIP archive.\r\n";
  FileBytes localHeaderOnly = Bytes("PK\x03\x04");
  localHeaderOnly.resize(200, 0);
  FileBytes noise(64 * 1024);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
  const struct {
    const char* what;
    FileBytes bytes;
  } cases[] = {
      {"text", Bytes(text)},
      {"a local header and nothing else", localHeaderOnly},
      {"noise", noise},
      {"an end record claiming 60000 entries for one", Data(L"count-lie.zip")},
      {"a ZIP64 directory a terabyte away", Data(L"zip64-directory.zip")},
      {"a ZIP64 count of four billion entries", Data(L"zip64-count.zip")},
  };
  for (const auto& c : cases) {
    GuardedCopy copy(c.bytes);
    Archive archive(copy);
    EXPECT_FALSE(archive.get()) << c.what;
  }
  const FileBytes zip = Data(L"entries.zip");
  EXPECT_FALSE(Dll().openBuffer(nullptr, 0));
  EXPECT_FALSE(Dll().openBuffer(nullptr, 100));
  EXPECT_FALSE(Dll().openBuffer(zip.data(), 0));
}

// minizip takes an end record at offset 0 for "none found": an archive without entries gives null.
TEST(Zlibwapi, EmptyArchiveGivesNull) {
  const FileBytes zip = Data(L"empty.zip");
  EXPECT_FALSE(Dll().openBuffer(zip.data(), static_cast<uLong>(zip.size())));
}

TEST(Zlibwapi, ReadsTheIconsOfARealApk) {
  const FileBytes apk = Data(L"icon.apk");
  const struct {
    const char* name;
    const wchar_t* expected;
    uLong method;
  } cases[] = {
      {"res/mipmap-mdpi/ic_launcher.png", L"icon-expected.png", 8},
      {"res/mipmap-mdpi-v4/ic_launcher.png", L"icon-v4-expected.png", 0},
  };
  for (const auto& c : cases) {
    const EntryRead entry = ReadEntry(apk, c.name);
    ASSERT_TRUE(entry.found) << c.name;
    EXPECT_EQ(entry.info.compression_method, c.method) << c.name;
    EXPECT_EQ(entry.open, UNZ_OK) << c.name;
    EXPECT_EQ(entry.read, static_cast<int>(entry.info.uncompressed_size)) << c.name;
    EXPECT_EQ(entry.close, UNZ_OK) << c.name;
    EXPECT_EQ(entry.bytes, Data(c.expected)) << c.name;
  }
  EXPECT_FALSE(ReadEntry(apk, "res/mipmap-mdpi/IC_LAUNCHER.png").found);  // names compare case-sensitively
}

TEST(Zlibwapi, ReadsStoredDeflatedAndEmptyEntries) {
  const FileBytes zip = Data(L"entries.zip");
  const struct {
    const char* name;
    FileBytes expected;
  } cases[] = {
      {"stored.bin", StoredBytes()},
      {"deflated.bin", DeflatedBytes()},
      {"empty.png", {}},
  };
  for (const auto& c : cases) {
    const EntryRead entry = ReadEntry(zip, c.name);
    ASSERT_TRUE(entry.found) << c.name;
    EXPECT_EQ(entry.open, UNZ_OK) << c.name;
    EXPECT_EQ(entry.read, static_cast<int>(c.expected.size())) << c.name;
    EXPECT_EQ(entry.close, UNZ_OK) << c.name;
    EXPECT_EQ(entry.bytes, c.expected) << c.name;
  }
}

TEST(Zlibwapi, DuplicateNamesGiveTheFirstInDirectoryOrder) {
  const FileBytes zip = Data(L"entries.zip");
  EXPECT_EQ(ReadEntry(zip, "dup.png").bytes, Bytes("first copy"));
  const std::vector<std::string> names = Names(zip);
  ASSERT_EQ(names.size(), 6u);
  EXPECT_EQ(names[3], "dup.png");
  EXPECT_EQ(names[4], "dup.png");
}

TEST(Zlibwapi, NamesLongerThanTheBufferAreCutAt255BytesWithoutTerminator) {
  const FileBytes zip = Data(L"entries.zip");
  const std::vector<std::string> names = Names(zip);
  ASSERT_EQ(names.size(), 6u);
  EXPECT_EQ(names[5], std::string(255, 'n'));  // the 256th byte is the program's own zero
  EXPECT_FALSE(ReadEntry(zip, std::string(300, 'n')).found);
}

TEST(Zlibwapi, ReadsTheCallersMemoryInPlace) {
  FileBytes zip = Data(L"entries.zip");
  Archive archive(zip.data(), static_cast<uLong>(zip.size()));
  ASSERT_TRUE(archive.get());
  // stored.bin's data follows its 30-byte local header and 10-byte name at the start of the file.
  zip[40] = 0xEE;
  Entry entry;
  ASSERT_TRUE(CurrentEntry(archive.get(), entry));
  EntryRead read;
  read.info = entry.info;
  ReadCurrent(archive.get(), read);
  ASSERT_EQ(read.read, 1000);
  EXPECT_EQ(read.bytes[0], 0xEE);
  EXPECT_EQ(read.close, UNZ_CRCERROR);  // the change shows up, so nothing was copied
}

TEST(Zlibwapi, ReadsAnArchiveAtTheEndOfAGibibyteMapping) {
  const FileBytes zip = Data(L"icon.apk");
  constexpr std::size_t kSize = std::size_t{1} << 30;
  UniquePages pages(::VirtualAlloc(nullptr, kSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_TRUE(pages);
  auto* base = static_cast<std::uint8_t*>(pages.get());
  std::memcpy(base + kSize - zip.size(), zip.data(), zip.size());  // zeros before it, like a stub
  const EntryRead entry = ReadEntry(base, static_cast<uLong>(kSize), "res/mipmap-mdpi/ic_launcher.png");
  ASSERT_TRUE(entry.found);
  EXPECT_EQ(entry.close, UNZ_OK);
  EXPECT_EQ(entry.bytes, Data(L"icon-expected.png"));
}

// A bad checksum surfaces only when the entry was read to its end: at unzCloseCurrentFile.
TEST(Zlibwapi, CrcMismatchIsReportedByCloseCurrentFile) {
  const FileBytes zip = Data(L"crc.zip");
  const struct {
    const char* name;
    FileBytes expected;
  } cases[] = {{"bad-deflated.png", DeflatedBytes()}, {"bad-stored.bin", StoredBytes()}};
  for (const auto& c : cases) {
    const EntryRead entry = ReadEntry(zip, c.name);
    ASSERT_TRUE(entry.found) << c.name;
    EXPECT_EQ(entry.read, static_cast<int>(c.expected.size())) << c.name;
    EXPECT_EQ(entry.bytes, c.expected) << c.name;
    EXPECT_EQ(entry.close, UNZ_CRCERROR) << c.name;
  }
}

// The read gives what is there; closing tells the entry ended early (or, if its declared size was
// reached first, that the checksum is wrong).
TEST(Zlibwapi, AbsurdDeclaredSizesGiveOnlyTheBytesThatAreThere) {
  const FileBytes zip = Data(L"absurd.zip");
  const struct {
    const char* name;
    uLong declared;
    FileBytes expected;
    int read, close;
  } cases[] = {
      {"big-stored.bin", 0x7FFFFFF0, StoredBytes(), 1000, UNZ_BADZIPFILE},
      {"big-deflated.bin", 0xFFFFFFF0, DeflatedBytes(), 100000, UNZ_BADZIPFILE},
      {"small-deflated.bin", 10, Bytes("fennlow fe"), 10, UNZ_CRCERROR},
  };
  for (const auto& c : cases) {
    const EntryRead entry = ReadEntry(zip, c.name);
    ASSERT_TRUE(entry.found) << c.name;
    EXPECT_EQ(entry.info.uncompressed_size, c.declared) << c.name;
    EXPECT_EQ(entry.read, c.read) << c.name;
    EXPECT_TRUE(std::equal(c.expected.begin(), c.expected.end(), entry.bytes.begin())) << c.name;
    EXPECT_EQ(entry.close, c.close) << c.name;
  }
}

TEST(Zlibwapi, ClosingAfterAPartialReadIsNoError) {
  const FileBytes zip = Data(L"entries.zip");
  Archive archive(zip.data(), static_cast<uLong>(zip.size()));
  ASSERT_TRUE(archive.get());
  for (int i = 0; i < 2; ++i) {  // stored.bin, then deflated.bin
    ASSERT_EQ(Dll().openCurrentFile(archive.get()), UNZ_OK);
    char head[10];
    EXPECT_EQ(Dll().readCurrentFile(archive.get(), head, sizeof head), 10);
    EXPECT_EQ(Dll().closeCurrentFile(archive.get()), UNZ_OK);
    EXPECT_EQ(Dll().closeCurrentFile(archive.get()), UNZ_PARAMERROR);  // nothing open any more
    ASSERT_EQ(Dll().goToNextFile(archive.get()), UNZ_OK);
  }
}

TEST(Zlibwapi, Zip64OffsetBeyondTheBufferFailsThatEntryOnly) {
  const GuardedCopy copy(Data(L"zip64-offset.zip"));
  const EntryRead distant = ReadEntry(copy.data(), copy.size(), "far.bin");
  ASSERT_TRUE(distant.found);
  EXPECT_NE(distant.open, UNZ_OK);
  EXPECT_LT(distant.read, 0);
  const EntryRead sound = ReadEntry(copy.data(), copy.size(), "near.bin");
  EXPECT_EQ(sound.read, 1000);
  EXPECT_EQ(sound.close, UNZ_OK);
  EXPECT_EQ(sound.bytes, StoredBytes());
}

TEST(Zlibwapi, TruncatedArchivesGiveNullOrCleanErrors) {
  const FileBytes zip = Data(L"entries.zip");
  int opened = 0;
  for (std::size_t cut = 0; cut < zip.size(); ++cut) {
    const GuardedCopy tail(FileBytes(zip.begin(), zip.begin() + static_cast<std::ptrdiff_t>(cut)));
    Archive archive(tail);
    if (archive.get()) ++opened;
  }
  EXPECT_EQ(opened, 0);  // the end record goes first
  // Dropping the front keeps the end record but moves every offset.
  for (std::size_t cut : {1u, 30u, 100u, 1000u, 2000u}) {
    ReadEverything(GuardedCopy(FileBytes(zip.begin() + static_cast<std::ptrdiff_t>(cut), zip.end())));
  }
}

TEST(Zlibwapi, DamageAnywhereNeverReadsOutsideTheBuffer) {
  const FileBytes zip = Data(L"names.zip");
  for (std::size_t at = 0; at < zip.size(); ++at) {
    for (std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, static_cast<std::uint8_t>(zip[at] ^ 0x80)}) {
      FileBytes damaged = zip;
      damaged[at] = value;
      ReadEverything(GuardedCopy(damaged));  // a read past the end faults on the guard page
    }
  }
}

}  // namespace
