#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace mofu {

class RandomSource;
class SkySurface;
class DialogSurface;
class DialogInput;
struct FormDesign;

// The per-user settings store: text values by application, section and key.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Read(std::string_view app, std::string_view section,
                                          std::string_view key) = 0;
  // Raises a run-time error when the store cannot be written.
  virtual void Write(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
};

// Everything the program asks of the system, one implementation per target.
class Host {
 public:
  virtual ~Host() = default;

  virtual bool PrevInstance() = 0;
  virtual std::string CommandText() = 0;
  virtual int MsgBox(std::string_view prompt, int style, std::string_view title) = 0;
  virtual SettingsStore& Settings() = 0;
  virtual RandomSource& Random() = 0;
  // The screen's size in pixels; Screen reports it in twips.
  virtual int ScreenPixelWidth() = 0;
  virtual int ScreenPixelHeight() = 0;
  // Where the pose picture with this file name lives on this system.
  virtual std::string PicturePath(std::string_view file_name) = 0;

  virtual std::unique_ptr<SkySurface> CreateSkySurface() = 0;
  virtual std::unique_ptr<DialogSurface> CreateDialogSurface(const FormDesign& design,
                                                             DialogInput& input) = 0;
  // Runs the event dispatch after the start procedure has returned, for as
  // long as a window is loaded.
  virtual void RunEventLoop() = 0;

  // The system's own blanker (its screen saver), held off while the saver
  // runs and let go when it ends; and whether it is held off now.
  virtual void SuspendSystemBlanker(bool suspend) = 0;
  virtual bool SystemBlankerSuspended() = 0;

  // A run-time error that no recovery caught.
  virtual void ReportUnhandledError(std::string_view description) = 0;
};

Host& host();
void SetHost(Host* host);

}  // namespace mofu
