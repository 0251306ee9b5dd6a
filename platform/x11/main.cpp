#include "platform/start_routine.hpp"
#include "platform/x11/linux_host.hpp"
#include "start/module1.hpp"

int main(int argc, char** argv) {
  mofu::x11::LinuxHost host(argc, argv);
  return mofu::RunProgram(host, &mofu::Module1::Main, &mofu::Module1::ReleaseForms);
}
