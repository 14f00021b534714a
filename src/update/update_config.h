// The update server's address: one line "server=HOST[:PORT]" in update.conf, beside the
// settings file in the settings folder. Without that file (the default) no check connects.
// Lines "public-key=KEY" add keys of the publisher to the one built into the program.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "update/update_check.h"
#include "update/update_signature.h"

namespace quillmere {

inline constexpr const char* kUpdateConfigName = "update.conf";

/// What a check for updates says when no server is configured (and so no connection was tried):
/// that none is, and the file in `settingsDirectory` that configures one.
std::string NoUpdateServerMessage(const std::filesystem::path& settingsDirectory);
inline constexpr int kDefaultFtpPort = 21;

/// The server and keys named in `settingsDirectory`/update.conf; an empty address when the file
/// is missing or names none. Blank lines and lines starting with '#' are ignored. Only the first
/// 4096 bytes are read. Throws std::runtime_error when update.conf is no regular file.
UpdateServerConfig ReadUpdateConfig(const std::filesystem::path& settingsDirectory);

/// The publisher's key built into the program (empty when the build names none).
std::string BuiltInUpdatePublicKey();

/// The keys an update must be signed with: the built-in one and those of `config`; lines that
/// are no minisign public key are left out.
std::vector<UpdatePublicKey> PublisherKeys(const UpdateServerConfig& config);

struct ServerAddress {
  std::string host;  ///< an IPv6 address without its brackets
  int port = kDefaultFtpPort;
};

/// "HOST", "HOST:PORT", "[IPV6]" or "[IPV6]:PORT". Throws std::invalid_argument for an empty
/// host, a bad port or characters that do not belong in a host name.
ServerAddress ParseServerAddress(const std::string& address);

/// The settings folder as the desktop program uses it, without creating it:
/// $XDG_CONFIG_HOME/quillmere, else $HOME/.config/quillmere.
std::filesystem::path DefaultSettingsDirectory();

}  // namespace quillmere
