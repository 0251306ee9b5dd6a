#include "art_rules.h"

#include "message.h"

namespace mofu_art {
namespace {

bool SamePicture(const PixelMap& a, const PixelMap& b) {
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.ColourAt(x, y) != b.ColourAt(x, y)) return false;
    }
  }
  return true;
}

}  // namespace

void CheckCatPose(const PixelMap& pose) {
  if (pose.height < kCatMinHeight || pose.height > kCatMaxHeight) {
    throw ArtError(Message("the cat is ", pose.height, " pixels tall; it must be ", kCatMinHeight,
                           " to ", kCatMaxHeight));
  }
  if (pose.width > kCatMaxWidth) {
    throw ArtError(
        Message("the cat is ", pose.width, " pixels wide; it must be at most ", kCatMaxWidth));
  }
}

void CheckWalkCycle(const PixelMap& first, const PixelMap& second) {
  if (first.width != second.width || first.height != second.height) {
    throw ArtError(Message("the two poses differ in size: ", first.width, "x", first.height,
                           " and ", second.width, "x", second.height));
  }
  if (SamePicture(first, second)) {
    throw ArtError("the two poses are identical, so the cat would not seem to walk");
  }
}

void CheckIcon(const PixelMap& icon) {
  if (icon.width != kIconSize || icon.height != kIconSize) {
    throw ArtError(Message("the icon is ", icon.width, "x", icon.height, "; it must be ", kIconSize,
                           "x", kIconSize));
  }
}

}  // namespace mofu_art
