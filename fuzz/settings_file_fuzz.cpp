// Arbitrary bytes as the settings file: reading takes what it can and never fails, adding to the
// recent list never fails, and the rewrite at close is stable: reading the rewritten file and
// closing again gives the same file, so a damaged file settles after one close instead of
// changing at every start.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "files/settings_file.h"

namespace {

struct Reading {
  quillmere::StartWindow window;
  quillmere::RecentFileNames recent;
};

Reading Read(const std::string& text) {
  Reading r;
  std::istringstream forWindow(text);
  quillmere::ReadStartWindow(forWindow, r.window);
  std::istringstream forRecent(text);
  r.recent = quillmere::ReadRecentFiles(forRecent);
  return r;
}

bool Close(const std::string& text, const Reading& r, std::string& rewritten) {
  std::istringstream in(text);
  std::ostringstream out;
  if (!quillmere::RewriteAtCloseText(in, out, "/opt/quillmere/", r.window.width, r.window.height,
                                     r.window.reserved))
    return false;
  rewritten = out.str();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Reading first = Read(text);
  {
    std::istringstream in(text);
    std::ostringstream out;
    quillmere::AddToRecentText(in, out, "/home/user/a.ten");
  }
  std::string once;
  if (!Close(text, first, once)) return 0;
  const Reading second = Read(once);
  std::string twice;
  if (!Close(once, second, twice) || twice != once) __builtin_trap();
  return 0;
}
