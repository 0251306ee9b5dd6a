#include "platform/win32/dpi.hpp"
#include "platform/win32/win32_host.hpp"
#include "platform/win32/windows_api.hpp"
#include "runtime/start_routine.hpp"
#include "start/module1.hpp"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  mofu::win32::BecomeDpiAware();
  mofu::win32::Win32Host host(instance);
  return mofu::RunProgram(host, &mofu::Module1::Main, &mofu::Module1::ReleaseForms);
}
