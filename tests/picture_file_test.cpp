#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/headless/headless_host.hpp"
#include "runtime/picture.hpp"
#include "runtime/regular_file.hpp"
#include "runtime/runtime_error.hpp"
#include "tests/gif_writer.hpp"

namespace mofu::test {
namespace {

namespace fs = std::filesystem;

fs::path Scratch(const char* name) {
  const fs::path folder = fs::path(MOFU_TEST_DATA) / "hostile-files" / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void PutBytes(const fs::path& file, std::size_t count, char byte = 'x') {
  std::ofstream(file, std::ios::binary) << std::string(count, byte);
}

TEST(RegularFile, ReadsOnlyWholeRegularFilesWithinTheLimit) {
  const fs::path dir = Scratch("read");
  PutBytes(dir / "at-limit", 100);
  PutBytes(dir / "over-limit", 101);
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_directory(dir / "folder");
  fs::create_symlink("/dev/zero", dir / "zero");
  fs::create_symlink(dir / "at-limit", dir / "link-to-file");
  fs::create_symlink(dir / "nowhere", dir / "dangling");
  struct Case {
    const char* name;
    FileRead result;
    std::size_t size;
  };
  const Case cases[] = {
      {"at-limit", FileRead::kRead, 100},
      {"link-to-file", FileRead::kRead, 100},
      {"over-limit", FileRead::kRefused, 0},
      {"fifo", FileRead::kRefused, 0},  // opened without waiting for a writer
      {"folder", FileRead::kRefused, 0},
      {"zero", FileRead::kRefused, 0},
      {"dangling", FileRead::kMissing, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string contents = "stale";
    EXPECT_EQ(ReadRegularFile((dir / c.name).string(), 100, contents), c.result);
    EXPECT_EQ(contents.size(), c.size);
  }
}

// Every way a picture can be wrong is a run-time error the saver recovers
// from, never another exception and never a huge allocation.
TEST(PictureFile, RefusesWhatIsNotASmallPictureBeforeDecodingIt) {
  headless::HeadlessHost system;  // pictures are read through the host
  SetHost(&system);
  const fs::path dir = Scratch("pictures");
  WriteTinyGif((dir / "cat.gif").string(), 20, 10, 200, 100, 50);
  WriteTinyGif((dir / "widest.gif").string(), kPictureSideLimit, 1, 1, 2, 3);
  WriteTinyGif((dir / "too-wide.gif").string(), kPictureSideLimit + 1, 1, 1, 2, 3);
  WriteTinyGif((dir / "largest.gif").string(), 1024, kPicturePixelLimit / 1024, 1, 2, 3);
  WriteTinyGif((dir / "too-large.gif").string(), 1024, kPicturePixelLimit / 1024 + 1, 1, 2, 3);
  PutBytes(dir / "garbage.gif", 300, 'G');
  PutBytes(dir / "huge.gif", kPictureFileLimit + 1);
  // A GIF header and one image descriptor of 16000 x 16000, then a few
  // bytes of picture data: a decoder that trusted it would allocate 1 GB.
  const std::uint8_t declared[] = {
      'G', 'I',  'F', '8', '9', 'a', 0x80, 0x3E, 0x80, 0x3E, 0x80, 0, 0, 0,    0,    0, 255, 255,
      255, 0x2C, 0,   0,   0,   0,   0x80, 0x3E, 0x80, 0x3E, 0,    2, 2, 0x44, 0x01, 0, 0x3B};
  std::ofstream(dir / "declared.gif", std::ios::binary)
      .write(reinterpret_cast<const char*>(declared), sizeof declared);
  struct Case {
    const char* name;
    std::optional<ErrorNumber> error;  // none: it loads
    int width;
  };
  const Case cases[] = {
      {"cat.gif", std::nullopt, 20},
      {"widest.gif", std::nullopt, kPictureSideLimit},
      {"too-wide.gif", ErrorNumber::kInvalidPicture, 0},
      {"largest.gif", std::nullopt, 1024},
      {"too-large.gif", ErrorNumber::kInvalidPicture, 0},
      {"garbage.gif", ErrorNumber::kInvalidPicture, 0},
      {"huge.gif", ErrorNumber::kPathFileAccess, 0},
      {"declared.gif", ErrorNumber::kInvalidPicture, 0},
      {"missing.gif", ErrorNumber::kFileNotFound, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      const Picture picture = LoadPicture((dir / c.name).string());
      EXPECT_FALSE(c.error.has_value());
      EXPECT_EQ(picture.width, c.width);
    } catch (const RuntimeError& error) {
      EXPECT_EQ(std::optional(error.Number()), c.error) << error.what();
    }
  }
  SetHost(nullptr);
}

}  // namespace
}  // namespace mofu::test
