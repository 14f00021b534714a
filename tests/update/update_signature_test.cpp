// Signatures made by the real minisign (Debian's package) in the test, checked by the program's
// own verification; and the rule that ends a stalled or crawling transfer.
#include "update/update_signature.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "support/test_support.h"
#include "update/transfer_watch.h"

namespace quillmere {
namespace {

using test::ReadFile;
using test::TempDir;

/// A key pair made by `minisign -G` without a password.
struct MinisignKey {
  MinisignKey(const TempDir& dir, const std::string& name)
      : dir_(dir), secret(dir.path() / (name + ".key")), pub(dir.path() / (name + ".pub")) {
    const std::string command =
        "minisign -G -W -p '" + pub.string() + "' -s '" + secret.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }
  /// The text of the signature of `data` (prehashed unless `legacy`).
  std::string Sign(const std::string& data, bool legacy = false) const {
    const std::filesystem::path file = dir_.Write("data", data);
    const std::filesystem::path sig = dir_.path() / "data.minisig";
    const std::string command = "minisign -S " + std::string(legacy ? "-l " : "") + "-s '" +
                                secret.string() + "' -m '" + file.string() + "' -x '" +
                                sig.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadFile(sig);
  }
  std::vector<UpdatePublicKey> Keys() const { return ParseUpdatePublicKeys(ReadFile(pub)); }

  const TempDir& dir_;
  std::filesystem::path secret, pub;
};

TEST(UpdateSignature, AcceptsOnlyThePublishersUnchangedSignatures) {
  const TempDir dir;
  const MinisignKey publisher(dir, "publisher");
  const MinisignKey other(dir, "other");
  const std::string data = "Quillmere\r\n1.6\r\n7\r\nnotes\r\n";
  const std::vector<UpdatePublicKey> keys = publisher.Keys();
  ASSERT_EQ(keys.size(), 1u);

  const std::string prehashed = publisher.Sign(data);
  const std::string legacy = publisher.Sign(data, true);
  EXPECT_TRUE(SignedByPublisher(keys, prehashed, data));
  EXPECT_TRUE(SignedByPublisher(keys, legacy, data));
  const std::filesystem::path file = dir.Write("file", data);
  EXPECT_TRUE(FileSignedByPublisher(keys, prehashed, file));
  EXPECT_TRUE(FileSignedByPublisher(keys, legacy, file));

  EXPECT_FALSE(SignedByPublisher(keys, prehashed, data + " "));
  EXPECT_FALSE(SignedByPublisher(keys, legacy, "Quillmere\r\n1.7\r\n7\r\nnotes\r\n"));
  EXPECT_FALSE(FileSignedByPublisher(keys, prehashed, dir.Write("changed", data + "x")));
  EXPECT_FALSE(SignedByPublisher(keys, other.Sign(data), data));
  EXPECT_FALSE(SignedByPublisher({}, prehashed, data));
  EXPECT_FALSE(SignedByPublisher(keys, "", data));
  // Both keys configured: either signature counts.
  std::vector<UpdatePublicKey> both = keys;
  both.push_back(other.Keys()[0]);
  EXPECT_TRUE(SignedByPublisher(both, other.Sign(data), data));

  // The trusted comment is covered by the second signature.
  std::string comment = prehashed;
  const std::size_t at = comment.find("\ntrusted comment: ") + 18;
  comment.insert(at, "x");
  EXPECT_FALSE(SignedByPublisher(keys, comment, data));
  // A damaged first signature, a missing line, an unknown algorithm.
  std::string damaged = prehashed;
  damaged[damaged.find('\n') + 20] ^= 1;
  EXPECT_FALSE(SignedByPublisher(keys, damaged, data));
  EXPECT_FALSE(SignedByPublisher(keys, prehashed.substr(0, prehashed.rfind("trusted")), data));
}

TEST(UpdateSignature, PublicKeysFromLinesAndFiles) {
  const TempDir dir;
  const MinisignKey publisher(dir, "publisher");
  const std::string file = ReadFile(publisher.pub);
  const std::string line = file.substr(file.find('\n') + 1);
  const UpdatePublicKey key = ParseUpdatePublicKey(line);
  EXPECT_EQ(key.key, publisher.Keys()[0].key);
  EXPECT_THROW(ParseUpdatePublicKey("RWQ"), std::invalid_argument);
  EXPECT_THROW(ParseUpdatePublicKey(""), std::invalid_argument);
  // A signature is no key; the message quotes at most 40 characters.
  try {
    ParseUpdatePublicKeys(file + std::string(500, 'A') + "\n");
    FAIL();
  } catch (const std::invalid_argument& e) {
    EXPECT_LT(std::string(e.what()).size(), 90u) << e.what();
  }
}

TEST(TransferWatch, EndsAStallOrACrawlAndNothingFaster) {
  using std::chrono::seconds;
  const auto at = [](int s) { return TransferWatch::Time(seconds(s)); };
  TransferWatch watch(seconds(31), 1024);

  // Nothing at all: ended once a whole window has passed.
  watch.Start(at(0));
  EXPECT_FALSE(watch.TooSlow(at(30), 0));
  EXPECT_TRUE(watch.TooSlow(at(31), 0));

  // A burst, then silence: ended a window after the burst, not earlier.
  watch.Start(at(0));
  EXPECT_FALSE(watch.TooSlow(at(1), 300000));
  EXPECT_FALSE(watch.TooSlow(at(20), 300000));
  EXPECT_FALSE(watch.TooSlow(at(31), 300000));
  EXPECT_TRUE(watch.TooSlow(at(32), 300000));

  // One byte a second: under the floor in the first window.
  watch.Start(at(0));
  bool ended = false;
  for (int s = 1; s <= 31 && !ended; ++s) ended = watch.TooSlow(at(s), s);
  EXPECT_TRUE(ended);

  // 40 bytes a second, steadily, for ten minutes: never ended.
  watch.Start(at(0));
  for (int s = 1; s <= 600; ++s) ASSERT_FALSE(watch.TooSlow(at(s), 40u * s)) << s;
}

}  // namespace
}  // namespace quillmere
