// The user manual in docs/manual: every link between its pages resolves (file and anchor), every
// picture it shows exists as a PNG, every page is reachable from the contents page, and the
// pages are self-contained (nothing outside the folder).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quillmere {
namespace {

namespace fs = std::filesystem;

fs::path ManualDirectory() {
  return test::SourceDirectory() / "docs" / "manual";
}

struct Reference {
  std::string attribute;  // "href" or "src"
  std::string target;
};

std::vector<Reference> References(const std::string& html) {
  static const std::regex kAttribute(R"re(\b(href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
  std::vector<Reference> found;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), kAttribute);
       it != std::sregex_iterator(); ++it)
    found.push_back({(*it)[1].str(), (*it)[2].str()});
  return found;
}

std::set<std::string> Anchors(const std::string& html) {
  static const std::regex kAnchor(R"re(\b(id|name)\s*=\s*"([^"]*)")re", std::regex::icase);
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), kAnchor);
       it != std::sregex_iterator(); ++it)
    found.insert((*it)[2].str());
  return found;
}

bool IsExternal(const std::string& target) {
  return target.rfind("http://", 0) == 0 || target.rfind("https://", 0) == 0 ||
         target.rfind("mailto:", 0) == 0;
}

std::map<std::string, std::string> Pages() {
  std::map<std::string, std::string> pages;
  for (const auto& entry : fs::directory_iterator(ManualDirectory()))
    if (entry.path().extension() == ".html")
      pages[entry.path().filename().string()] = test::ReadFile(entry.path());
  return pages;
}

TEST(Manual, EveryLinkAndPictureResolvesInsideTheFolder) {
  const auto pages = Pages();
  ASSERT_TRUE(pages.count("Quillmerehelp.html")) << "the contents page is missing";
  int pictures = 0;
  for (const auto& [name, html] : pages) {
    for (const Reference& ref : References(html)) {
      if (IsExternal(ref.target)) continue;
      const std::string where = name + ": " + ref.attribute + "=\"" + ref.target + "\"";
      ASSERT_FALSE(ref.target.empty()) << where;
      EXPECT_EQ(ref.target.find(".."), std::string::npos) << where << " leaves the manual";
      EXPECT_NE(ref.target.front(), '/') << where << " is an absolute path";
      const std::size_t hash = ref.target.find('#');
      const std::string file = ref.target.substr(0, hash);
      const std::string anchor = hash == std::string::npos ? "" : ref.target.substr(hash + 1);
      const std::string page = file.empty() ? name : file;
      const fs::path path = ManualDirectory() / page;
      if (!fs::is_regular_file(path)) {
        ADD_FAILURE() << where << ": no file " << path;
        continue;
      }
      if (ref.attribute == "src" || ref.attribute == "SRC") {
        ++pictures;
        const std::string bytes = test::ReadFile(path);
        EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << where;
      }
      if (!anchor.empty() && path.extension() == ".html") {
        const std::string target = pages.count(page) ? pages.at(page) : test::ReadFile(path);
        EXPECT_TRUE(Anchors(target).count(anchor)) << where << ": no anchor #" << anchor;
      }
    }
  }
  EXPECT_GE(pictures, 3) << "the manual shows the program's pictures";
}

TEST(Manual, EveryPageIsReachableFromTheContentsAndEveryPictureIsUsed) {
  const auto pages = Pages();
  std::set<std::string> reached{"Quillmerehelp.html"};
  std::set<std::string> pictures;
  std::vector<std::string> queue{"Quillmerehelp.html"};
  while (!queue.empty()) {
    const std::string page = queue.back();
    queue.pop_back();
    if (!pages.count(page)) continue;
    for (const Reference& ref : References(pages.at(page))) {
      if (IsExternal(ref.target)) continue;
      const std::string file = ref.target.substr(0, ref.target.find('#'));
      if (file.empty()) continue;
      if (ref.attribute == "src") pictures.insert(file);
      if (fs::path(file).extension() == ".html" && reached.insert(file).second)
        queue.push_back(file);
    }
  }
  for (const auto& [name, html] : pages)
    EXPECT_TRUE(reached.count(name)) << name << " cannot be reached from Quillmerehelp.html";
  for (const auto& entry : fs::directory_iterator(ManualDirectory() / "pictures"))
    EXPECT_TRUE(pictures.count("pictures/" + entry.path().filename().string()))
        << entry.path().filename() << " is shown by no page";
}

}  // namespace
}  // namespace quillmere
