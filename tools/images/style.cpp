// style.cpp: opening the faces of the Fonts set at their sizes.
#include "tools/images/style.h"

namespace art::style {
namespace {

// Pixel sizes (pixels per em).
constexpr int kTitleSize = 188;
constexpr int kDisplaySize = 76;
constexpr int kHeadingSize = 54;
constexpr int kHeadlineSize = 42;
constexpr int kSubtitleSize = 36;
constexpr int kBodySize = 33;
constexpr int kPromptSize = 30;
constexpr int kButtonSize = 36;
constexpr int kBannerSize = 24;
constexpr int kLabelSize = 19;
constexpr int kNoteSize = 25;
constexpr int kHintSize = 19;

} // namespace

Fonts::Fonts(const FontLibrary& library)
    : title(library, kSansBold, kTitleSize), display(library, kSansBold, kDisplaySize),
      heading(library, kSansBold, kHeadingSize), headline(library, kSansBold, kHeadlineSize),
      subtitle(library, kSans, kSubtitleSize), body(library, kSans, kBodySize),
      prompt(library, kSansBold, kPromptSize), button(library, kSansBold, kButtonSize),
      banner(library, kSansBold, kBannerSize), label(library, kSansBold, kLabelSize),
      note(library, kSans, kNoteSize), hint(library, kSans, kHintSize) {}

} // namespace art::style
