#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "runtime/picture.hpp"
#include "runtime/regular_file.hpp"
#include "tests/gif_writer.hpp"
#include "tests/harness.hpp"

namespace mofu::test {
namespace {

namespace fs = std::filesystem;

// Every way a picture file can be wrong is a run-time error the saver
// recovers from, never another exception, a wait or a huge allocation.
using PictureFile = HostTest;  // pictures are read through the host

TEST_F(PictureFile, RefusesWhatIsNotASmallPictureBeforeDecodingIt) {
  const fs::path dir = fs::path(MOFU_TEST_DATA) / "hostile-files";
  fs::remove_all(dir);
  fs::create_directories(dir);
  WriteTinyGif((dir / "cat.gif").string(), 20, 10, 200, 100, 50);
  WriteTinyGif((dir / "widest.gif").string(), kPictureSideLimit, 1, 1, 2, 3);
  WriteTinyGif((dir / "too-wide.gif").string(), kPictureSideLimit + 1, 1, 1, 2, 3);
  WriteTinyGif((dir / "largest.gif").string(), 1024, kPicturePixelLimit / 1024, 1, 2, 3);
  WriteTinyGif((dir / "too-large.gif").string(), 1024, kPicturePixelLimit / 1024 + 1, 1, 2, 3);
  std::ofstream(dir / "garbage.gif") << std::string(300, 'G');
  std::ofstream(dir / "huge.gif") << std::string(kPictureFileLimit + 1, 'x');
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);  // or a device; opened without waiting
  fs::create_symlink(dir / "cat.gif", dir / "link.gif");
  fs::create_symlink(dir / "nowhere", dir / "dangling");
  // A GIF header and one image descriptor of 16000 x 16000, then a few
  // bytes of picture data: a decoder that trusted it would allocate 1 GB.
  std::ofstream(dir / "declared.gif", std::ios::binary) << std::string_view(
      "GIF89a\x80\x3E\x80\x3E\x80\0\0\0\0\0\xFF\xFF\xFF\x2C\0\0\0\0\x80\x3E"
      "\x80\x3E\0\2\2\x44\x01\0\x3B",
      35);
  const std::pair<const char*, std::optional<ErrorNumber>> cases[] = {
      {"widest.gif", {}},
      {"largest.gif", {}},
      {"link.gif", {}},
      {"too-wide.gif", ErrorNumber::kInvalidPicture},
      {"too-large.gif", ErrorNumber::kInvalidPicture},
      {"garbage.gif", ErrorNumber::kInvalidPicture},
      {"declared.gif", ErrorNumber::kInvalidPicture},
      {"huge.gif", ErrorNumber::kPathFileAccess},
      {"fifo", ErrorNumber::kPathFileAccess},
      {"dangling", ErrorNumber::kFileNotFound},  // or missing
  };
  for (const auto& [name, error] : cases) {
    try {
      EXPECT_GT(LoadPicture((dir / name).string()).width, 0);
      EXPECT_FALSE(error.has_value()) << name;
    } catch (const RuntimeError& caught) {
      EXPECT_EQ(std::optional(caught.Number()), error) << name << ": " << caught.what();
    }
  }
  // The limit itself is allowed; a refusal leaves nothing half read.
  std::string contents = "stale", cat = (dir / "cat.gif").string();
  EXPECT_EQ(ReadRegularFile(cat, fs::file_size(cat), contents), FileRead::kRead);
  EXPECT_EQ(ReadRegularFile(cat, contents.size() - 1, contents), FileRead::kRefused);
  EXPECT_EQ(contents, "");
}

}  // namespace
}  // namespace mofu::test
