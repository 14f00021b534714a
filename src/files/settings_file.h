// The settings file halvik.ini: the program's release, its directory, the size of the main
// window and the five most recently used tensor files.
//
//   [Release]
//   1.1.3
//
//   [Directories]
//   Workdir=<program directory, with trailing separator>
//
//   [Startwindow]
//   525 409  0.00000000000000E+0000      width, height (pixels) and a reserved real
//
//   [RecentFiles]
//   1 /home/ann/quartz.ten                newest first; a number alone is an empty entry
//   2
//   ...
//
// Lines end in CR LF (LF alone is read too). Sections are found by searching each line for the
// header text as a substring; the recent-file section is the last one. Numbers are read token by
// token as text files read them: blanks and line ends before a number are skipped, and a number
// asked for at the end of the file reads as 0.
//
// Error policy: all work on the settings file is guarded. Nothing here throws or shows a message;
// a missing, unreadable or malformed file leaves the values read so far, and a rewrite that
// cannot be completed leaves the settings file exactly as it was. Every rewrite holds an
// advisory lock (flock on halvik.lock beside it), is written in full to a scratch file of a
// unique name beside it, which then replaces halvik.ini by one rename.
#pragma once

#include <array>
#include <filesystem>
#include <istream>
#include <ostream>
#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

inline constexpr const char* kSettingsFileName = "halvik.ini";
/// The fixed scratch name of earlier versions; a leftover is removed at the next rewrite.
inline constexpr const char* kSettingsScratchName = "halvik1.ini";
inline constexpr const char* kSettingsLockName = "halvik.lock";
/// A settings file holds a few short lines; more than this is not one.
inline constexpr std::size_t kSettingsFileLimit = 1 << 20;
constexpr int kRecentFileCount = 5;

/// The main window's size from the window line; 524 x 409 and 0 until the file is read.
struct StartWindow {
  int width = 524;    ///< pixels
  int height = 409;   ///< pixels
  Real reserved = 0;  ///< third item of the window line, written back unchanged
};

/// Entries 1..5 of the recent list (index 0 is entry 1, the newest); empty for an empty entry.
using RecentFileNames = std::array<std::string, kRecentFileCount>;

/// Where the settings live. `programDirectory` is the running program's folder as text with a
/// trailing separator, exactly as the "Workdir=" line writes it.
struct SettingsLocation {
  std::string programDirectory;
  std::filesystem::path settingsDirectory;

  std::filesystem::path SettingsFile() const { return settingsDirectory / kSettingsFileName; }
  std::filesystem::path ScratchFile() const { return settingsDirectory / kSettingsScratchName; }
  std::filesystem::path FileBesideProgram() const {
    return std::filesystem::path(programDirectory) / kSettingsFileName;
  }
};

// ---- Texts and streams ------------------------------------------------------------------------

/// The contents written when the file is missing (fifteen CR LF lines).
std::string DefaultSettingsText(const std::string& programDirectory);

/// The window line: width, one blank, height, one blank and the reserved real in the
/// 23-character form of tensor files ("525 409  0.00000000000000E+0000").
std::string WindowLine(int width, int height, Real reserved);

/// Reads the numbers after the first line containing "[Startwindow]" into `window`: the first
/// such line after the directories section's "Workdir=" line, where the close writes the size
/// (in a file without "[Directories]", the first anywhere). A file without that line leaves
/// `window` unchanged; a bad number, or one beyond the range of `Real`, stops with the values
/// read before it; a number asked for at the end of the file reads as 0.
void ReadStartWindow(std::istream& in, StartWindow& window);

/// Writes the settings text with `path` put at entry 1 of the recent list and the others moved
/// down by one (the fifth is dropped). Returns false, having written an incomplete text that
/// must not be used, when the file has no "[RecentFiles]" line or an entry line does not begin
/// with a number. The list is not searched: a path already in it is added again.
bool AddToRecentText(std::istream& in, std::ostream& out, const std::string& path);

/// The recent list as the "&Reopen" submenu shows it. Entries whose number lies outside 1..5
/// are ignored; reading stops at the entry numbered 5, at the end of the file or at a line that
/// does not begin with a number (keeping the entries read so far).
RecentFileNames ReadRecentFiles(std::istream& in);

/// Writes the settings text as closing the program leaves it: a first line without "[Release]"
/// is replaced by "[Release]", "1.1" and a line of one blank; the line after "[Directories]"
/// becomes "Workdir=" and `programDirectory`; the line after "[Startwindow]" becomes the window
/// line; every other line is copied. Returns false (text unusable) when "[Directories]" is
/// missing.
bool RewriteAtCloseText(std::istream& in, std::ostream& out, const std::string& programDirectory,
                        int width, int height, Real reserved);

// ---- The file -----------------------------------------------------------------------------------

/// At start-up: copies a settings file lying beside the program when the settings folder has
/// none, creates the file with the default contents when it is still missing, and returns the
/// window size read from it (524 x 409 and 0 where nothing could be read).
StartWindow PrepareSettingsFile(const SettingsLocation& where);

/// Puts `path` at the top of the file's recent list. A path containing a line break is not
/// recorded (it would break the file's lines).
void AddToRecent(const SettingsLocation& where, const std::string& path);

/// The file's recent list (all empty when it cannot be read).
RecentFileNames ReadRecentFiles(const SettingsLocation& where);

/// At a confirmed close: rewrites the "Workdir=" line and the window line (see
/// RewriteAtCloseText).
void SaveSettingsAtClose(const SettingsLocation& where, int width, int height, Real reserved);

/// The size to give the main window from the file's values: a width or height that is not
/// positive (a file without a usable window line) gives the start-up size 524 x 409.
StartWindow UsableWindowSize(const StartWindow& fromFile);
/// As above, and no larger than the screen's available area (pixels; a bound that is not
/// positive does not limit), so a size stored by mistake or by hand cannot open a window larger
/// than the screen and be written back at every close.
StartWindow UsableWindowSize(const StartWindow& fromFile, int availableWidth, int availableHeight);

}  // namespace quillmere
