#include "update/update_config.h"

#include <charconv>
#include <cstdlib>
#include <stdexcept>

#include "core/regular_file.h"

#ifndef QUILLMERE_UPDATE_PUBLIC_KEY
#define QUILLMERE_UPDATE_PUBLIC_KEY ""
#endif

namespace quillmere {

namespace {

std::string Trimmed(const std::string& s) {
  const std::size_t begin = s.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return {};
  const std::size_t end = s.find_last_not_of(" \t\r");
  return s.substr(begin, end - begin + 1);
}

bool HostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_' || c == ':';
}

}  // namespace

UpdateServerConfig ReadUpdateConfig(const std::filesystem::path& settingsDirectory) {
  UpdateServerConfig config;
  std::string text;
  try {
    text = ReadRegularFilePrefix(settingsDirectory / kUpdateConfigName, 4096);
  } catch (const FileNotOpened&) {
    return config;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = Trimmed(line.substr(0, eq));
    if (key == "server") config.address = Trimmed(line.substr(eq + 1));
    if (key == "public-key") config.publicKeys.push_back(Trimmed(line.substr(eq + 1)));
  }
  return config;
}

std::string BuiltInUpdatePublicKey() {
  return QUILLMERE_UPDATE_PUBLIC_KEY;
}

std::vector<UpdatePublicKey> PublisherKeys(const UpdateServerConfig& config) {
  std::vector<std::string> lines = config.publicKeys;
  lines.insert(lines.begin(), BuiltInUpdatePublicKey());
  std::vector<UpdatePublicKey> keys;
  for (const std::string& line : lines) {
    try {
      if (!line.empty()) keys.push_back(ParseUpdatePublicKey(line));
    } catch (const std::invalid_argument&) {
      // A key that cannot be read verifies nothing; the others still count.
    }
  }
  return keys;
}

ServerAddress ParseServerAddress(const std::string& address) {
  ServerAddress result;
  std::string portText;
  if (!address.empty() && address[0] == '[') {
    const std::size_t close = address.find(']');
    if (close == std::string::npos) throw std::invalid_argument("Invalid server address");
    result.host = address.substr(1, close - 1);
    const std::string rest = address.substr(close + 1);
    if (!rest.empty()) {
      if (rest[0] != ':') throw std::invalid_argument("Invalid server address");
      portText = rest.substr(1);
    }
  } else {
    const std::size_t colon = address.find(':');
    result.host = address.substr(0, colon);
    if (colon != std::string::npos) portText = address.substr(colon + 1);
    if (result.host.find(':') != std::string::npos)
      throw std::invalid_argument("Invalid server address");
  }
  if (result.host.empty()) throw std::invalid_argument("Invalid server address");
  for (char c : result.host)
    if (!HostCharacter(c)) throw std::invalid_argument("Invalid server address");
  if (!portText.empty() || address.back() == ':') {
    int port = 0;
    const auto [end, ec] =
        std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (ec != std::errc() || end != portText.data() + portText.size() || port < 1 || port > 65535)
      throw std::invalid_argument("Invalid server address");
    result.port = port;
  }
  return result;
}

std::filesystem::path DefaultSettingsDirectory() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return std::filesystem::path(config) / "quillmere";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".config" / "quillmere";
}

std::string NoUpdateServerMessage(const std::filesystem::path& settingsDirectory) {
  const std::filesystem::path file = settingsDirectory.empty()
                                         ? std::filesystem::path(kUpdateConfigName)
                                         : settingsDirectory / kUpdateConfigName;
  return "No update server is configured, so no connection was tried. To check for updates, put "
         "a line server=HOST[:PORT] into " +
         file.string();
}

}  // namespace quillmere
