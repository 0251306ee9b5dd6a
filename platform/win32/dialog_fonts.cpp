#include "platform/win32/dialog_fonts.hpp"

#include <array>
#include <cmath>
#include <string>

#include "platform/win32/wide_text.hpp"

namespace mofu::win32 {
namespace {

struct FontChoice {
  const char* design_name;
  BYTE charset;
  std::array<const wchar_t*, 4> faces;  // first available wins
};

// Where the designer's fonts are missing (Impact is not on every system, the
// Japanese faces are not on Wine), a face of the same character takes over.
// The empty name is the dialog's own font.
constexpr std::array<FontChoice, 3> kChoices = {{
    {"", SHIFTJIS_CHARSET, {L"MS UI Gothic", L"Meiryo UI", L"IPAPGothic", L"IPAGothic"}},
    {"ＭＳ Ｐゴシック",
     SHIFTJIS_CHARSET,
     {L"ＭＳ Ｐゴシック", L"MS PGothic", L"IPAPGothic", L"IPAGothic"}},
    {"Impact", DEFAULT_CHARSET, {L"Impact", L"Arial Narrow", L"DejaVu Sans Condensed", nullptr}},
}};

constexpr double kDefaultPoints = 9;

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// A face this system has for the design's name; unknown names are asked for
// as they are and left to Windows' own font mapping.
std::pair<std::wstring, BYTE> ResolveFace(const std::string& design_name) {
  for (const FontChoice& choice : kChoices) {
    if (design_name != choice.design_name) continue;
    for (const wchar_t* face : choice.faces) {
      if (face != nullptr && FaceInstalled(face)) return {face, choice.charset};
    }
    return {choice.faces[0], choice.charset};
  }
  return {Widen(design_name), DEFAULT_CHARSET};
}

}  // namespace

HFONT CreateDesignFont(const std::optional<FontDesign>& design, UINT dpi) {
  const auto [face, charset] = ResolveFace(design ? design->name : "");
  const double points = design ? design->points : kDefaultPoints;
  const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
  return CreateFontW(height, 0, 0, 0, design && design->bold ? FW_BOLD : FW_NORMAL, FALSE,
                     design && design->underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     face.c_str());
}

}  // namespace mofu::win32
