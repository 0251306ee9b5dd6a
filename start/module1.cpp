#include "start/module1.hpp"

#include <string>

#include "runtime/runtime_error.hpp"
#include "runtime/services.hpp"
#include "runtime/strings.hpp"
#include "saver/form1.hpp"
#include "settings/form2.hpp"

namespace mofu::Module1 {

void Main() {
  // A second copy does nothing at all, whatever it was asked.
  if (App::PrevInstance()) End();

  const std::string switch_text = UCase(Left(Command(), 2));
  if (switch_text == "/A") {
    MsgBox("パスワードには\r\n対応していません。", vbInformation, "Mofu Saver");
    End();
  } else if (switch_text == "/C") {
    Form2::Load();
  } else if (switch_text == "/P") {
    End();
  } else if (switch_text.empty()) {
    Form2::Load();
  } else {
    Form1::Load();
  }
}

void ReleaseForms() {
  Form1::Release();
  Form2::Release();
}

}  // namespace mofu::Module1
