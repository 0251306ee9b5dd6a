#include "runtime/regular_file.hpp"

#include "platform/win32/wide_text.hpp"
#include "platform/win32/windows_api.hpp"

namespace mofu {

FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& contents) {
  contents.clear();
  // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened at all.
  HANDLE file = CreateFileW(win32::Widen(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::kMissing
                                                                          : FileRead::kRefused;
  }
  FileRead result = FileRead::kRefused;
  LARGE_INTEGER size{};
  // Pipes, consoles and devices are not disk files: they may never end.
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
      static_cast<unsigned long long>(size.QuadPart) <= limit) {
    // The file may grow while it is read: reading one byte past the limit
    // tells.
    contents.resize(static_cast<std::size_t>(size.QuadPart) + 1);
    std::size_t got = 0;
    for (;;) {
      if (got == contents.size()) contents.resize(limit + 1);
      DWORD n = 0;
      const DWORD want = static_cast<DWORD>(contents.size() - got);
      if (!ReadFile(file, contents.data() + got, want, &n, nullptr)) break;
      got += n;
      if (got > limit) break;
      if (n == 0) {
        result = FileRead::kRead;
        break;
      }
    }
    contents.resize(result == FileRead::kRead ? got : 0);
  }
  CloseHandle(file);
  return result;
}

}  // namespace mofu
