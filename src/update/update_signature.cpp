#include "update/update_signature.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <stdexcept>

#include "core/regular_file.h"

namespace quillmere {

namespace {

constexpr std::size_t kSignatureLimit = 4096;

void InitialiseSodium() {
  static const int rc = sodium_init();
  if (rc < 0) throw std::runtime_error("The signature library cannot start");
}

std::string_view Trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<std::vector<unsigned char>> Base64(std::string_view text) {
  std::vector<unsigned char> bytes(text.size() * 3 / 4 + 3);
  std::size_t length = 0;
  const char* end = nullptr;
  if (sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), nullptr, &length,
                        &end, sodium_base64_VARIANT_ORIGINAL) != 0 ||
      end != text.data() + text.size())
    return std::nullopt;
  bytes.resize(length);
  return bytes;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(Trimmed(text.substr(0, end)));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

/// The parts of a signature file; empty when it is malformed.
struct Signature {
  bool prehashed = false;
  std::array<unsigned char, 8> keyId{};
  std::array<unsigned char, 64> signature{};
  std::string trustedComment;
  std::array<unsigned char, 64> globalSignature{};
};

std::optional<Signature> ParseSignature(std::string_view text) {
  if (text.size() > kSignatureLimit) return std::nullopt;
  const std::vector<std::string_view> lines = Lines(text);
  constexpr std::string_view kUntrusted = "untrusted comment:";
  constexpr std::string_view kTrusted = "trusted comment: ";
  if (lines.size() < 4 || !lines[0].starts_with(kUntrusted) || !lines[2].starts_with(kTrusted))
    return std::nullopt;
  const auto first = Base64(lines[1]);
  const auto global = Base64(lines[3]);
  if (!first || first->size() != 74 || !global || global->size() != 64) return std::nullopt;
  Signature s;
  const std::string_view algorithm(reinterpret_cast<const char*>(first->data()), 2);
  if (algorithm == "ED")
    s.prehashed = true;
  else if (algorithm != "Ed")
    return std::nullopt;
  std::copy(first->begin() + 2, first->begin() + 10, s.keyId.begin());
  std::copy(first->begin() + 10, first->end(), s.signature.begin());
  s.trustedComment = std::string(lines[2].substr(kTrusted.size()));
  std::copy(global->begin(), global->end(), s.globalSignature.begin());
  return s;
}

const UpdatePublicKey* KeyFor(const std::vector<UpdatePublicKey>& keys,
                              const std::array<unsigned char, 8>& id) {
  for (const UpdatePublicKey& k : keys)
    if (k.id == id) return &k;
  return nullptr;
}

bool Verify(const std::array<unsigned char, 64>& signature, const unsigned char* message,
            std::size_t size, const UpdatePublicKey& key) {
  return crypto_sign_verify_detached(signature.data(), message, size, key.key.data()) == 0;
}

bool GlobalSignatureHolds(const Signature& s, const UpdatePublicKey& key) {
  std::string signed_(reinterpret_cast<const char*>(s.signature.data()), s.signature.size());
  signed_ += s.trustedComment;
  return Verify(s.globalSignature, reinterpret_cast<const unsigned char*>(signed_.data()),
                signed_.size(), key);
}

}  // namespace

UpdatePublicKey ParseUpdatePublicKey(std::string_view line) {
  InitialiseSodium();
  const auto bytes = Base64(Trimmed(line));
  if (!bytes || bytes->size() != 42 || (*bytes)[0] != 'E' || (*bytes)[1] != 'd')
    throw std::invalid_argument("Not a minisign public key: '" + QuoteForMessage(line) + "'");
  UpdatePublicKey key;
  std::copy(bytes->begin() + 2, bytes->begin() + 10, key.id.begin());
  std::copy(bytes->begin() + 10, bytes->end(), key.key.begin());
  return key;
}

std::vector<UpdatePublicKey> ParseUpdatePublicKeys(std::string_view text) {
  std::vector<UpdatePublicKey> keys;
  for (std::string_view line : Lines(text)) {
    if (line.empty() || line.starts_with("untrusted comment:")) continue;
    keys.push_back(ParseUpdatePublicKey(line));
  }
  return keys;
}

bool SignedByPublisher(const std::vector<UpdatePublicKey>& keys, std::string_view signature,
                       std::string_view data) {
  InitialiseSodium();
  const std::optional<Signature> s = ParseSignature(signature);
  if (!s) return false;
  const UpdatePublicKey* key = KeyFor(keys, s->keyId);
  if (!key || !GlobalSignatureHolds(*s, *key)) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  if (!s->prehashed) return Verify(s->signature, bytes, data.size(), *key);
  unsigned char hash[crypto_generichash_BYTES_MAX];
  crypto_generichash(hash, sizeof hash, bytes, data.size(), nullptr, 0);
  return Verify(s->signature, hash, sizeof hash, *key);
}

bool FileSignedByPublisher(const std::vector<UpdatePublicKey>& keys, std::string_view signature,
                           const std::filesystem::path& file) {
  InitialiseSodium();
  const std::optional<Signature> s = ParseSignature(signature);
  if (!s) return false;
  const UpdatePublicKey* key = KeyFor(keys, s->keyId);
  if (!key || !GlobalSignatureHolds(*s, *key)) return false;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  // The prehashed form is hashed as it is read; the plain form needs the whole file at once.
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, crypto_generichash_BYTES_MAX);
  std::string whole;
  std::array<unsigned char, 65536> buffer;
  while (ok) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) ok = false;
    if (n <= 0) break;
    if (s->prehashed)
      crypto_generichash_update(&state, buffer.data(), static_cast<std::size_t>(n));
    else
      whole.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (!ok) return false;
  if (!s->prehashed)
    return Verify(s->signature, reinterpret_cast<const unsigned char*>(whole.data()), whole.size(),
                  *key);
  unsigned char hash[crypto_generichash_BYTES_MAX];
  crypto_generichash_final(&state, hash, sizeof hash);
  return Verify(s->signature, hash, sizeof hash, *key);
}

}  // namespace quillmere
