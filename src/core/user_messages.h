// How the core reports notices and asks questions without knowing about windows. The desktop
// program answers with message boxes, the command-line tool prints, and tests record.
#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace quillmere {

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  /// An information box with one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  /// A confirmation box with Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
};

/// Records every message; answers questions from a script (No when the script is empty).
class RecordingMessages : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    asked.push_back(text);
    if (answers.empty()) return false;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::vector<std::string> shown;
  std::vector<std::string> asked;
  std::deque<bool> answers;
};

/// What core routines need from their surroundings: where the program's data files lie, whom to
/// tell, and the decimal separator of the numbers the user sees and types.
struct CoreServices {
  std::filesystem::path programDirectory;  ///< holds tensor.tab
  UserMessages* messages = nullptr;        ///< never null when a routine uses it
  char decimalSeparator = '.';

  std::filesystem::path SymmetryTablePath() const { return programDirectory / "tensor.tab"; }
  void Tell(const std::string& text) const {
    if (messages) messages->ShowMessage(text);
  }
};

}  // namespace quillmere
