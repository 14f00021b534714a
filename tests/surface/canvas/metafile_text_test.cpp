#include "surface/qt/metafile_text.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

TEST(MetafileText, Windows1252KeepsUnitSignsAndReplacesWhatItLacks) {
  EXPECT_EQ(Utf8ToWindows1252("m²/°C µ"),
            "m\xb2/\xb0"
            "C \xb5");
  EXPECT_EQ(Utf8ToWindows1252("€ – ‰"), "\x80 \x96 \x89");
  EXPECT_EQ(Utf8ToWindows1252("Ω"), "?");
  // Malformed UTF-8: a lone continuation byte, a cut sequence, an overlong slash.
  EXPECT_EQ(Utf8ToWindows1252("a\x80z"), "a?z");
  EXPECT_EQ(Utf8ToWindows1252("a\xe2\x82"), "a??");
  EXPECT_EQ(Utf8ToWindows1252("\xc0\xaf"), "??");
}

TEST(MetafileText, Utf16WithSurrogatePairs) {
  EXPECT_EQ(Utf8ToUtf16("m²"), u"m²");
  EXPECT_EQ(Utf8ToUtf16("\xf0\x9d\x90\x80"), std::u16string({0xd835, 0xdc00}));
  EXPECT_EQ(Utf8ToUtf16("\xed\xa0\x80"), u"???");  // an encoded surrogate is not a character
}

}  // namespace
}  // namespace quillmere
