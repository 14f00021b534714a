// Signatures of what the update server publishes, in minisign's format (Ed25519), so a publisher
// signs with the ordinary `minisign -S` and the program checks with the public key alone.
//
// A public key is the base64 line of a minisign public key file: "Ed", an 8-byte key id and the
// 32-byte key. A signature file has four lines: an untrusted comment, the base64 of the
// algorithm ("Ed": the data signed as it is; "ED": its BLAKE2b-512 hash signed), the key id and
// the 64-byte signature, the trusted comment, and the base64 of a second signature over the
// first signature followed by the trusted comment's text. Both signatures must hold.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

struct UpdatePublicKey {
  std::array<unsigned char, 8> id{};
  std::array<unsigned char, 32> key{};
};

/// The key in one base64 line (surrounding blanks ignored). Throws std::invalid_argument when
/// the line is no minisign Ed25519 public key.
UpdatePublicKey ParseUpdatePublicKey(std::string_view line);

/// Every key in the text of a public key file (or of several): lines starting with
/// "untrusted comment:" and blank lines are skipped, every other line must be a key. Throws
/// std::invalid_argument naming the first bad line (at most 40 characters of it).
std::vector<UpdatePublicKey> ParseUpdatePublicKeys(std::string_view text);

/// True when `signature` (the text of a .minisig file) is a valid signature of `data` by one of
/// `keys`, with a valid signature of its trusted comment.
bool SignedByPublisher(const std::vector<UpdatePublicKey>& keys, std::string_view signature,
                       std::string_view data);

/// The same for the contents of `file` (opened without following a symbolic link).
bool FileSignedByPublisher(const std::vector<UpdatePublicKey>& keys, std::string_view signature,
                           const std::filesystem::path& file);

}  // namespace quillmere
