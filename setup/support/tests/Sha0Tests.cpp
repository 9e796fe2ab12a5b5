// The file digest: the first edition's published vectors, and every block function this
// program carries against the portable one over lengths around the padding boundaries
// and in pieces of every size.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/Sha0.h"

namespace setup {
namespace {

std::string Hex(const std::string& Text, TSha0Path Path) {
  TSha0 sha(Sha0BlockFunction(Path));
  sha.Update(Text.data(), Text.size());
  return DigestToHex(sha.Final());
}

const TSha0Path kPaths[] = {TSha0Path::Portable, TSha0Path::ShaExtensions};

TEST(Sha0, PublishedVectorsOnEveryUsablePath) {
  for (TSha0Path path : kPaths) {
    if (!Sha0PathUsable(path)) continue;
    SCOPED_TRACE(Sha0PathName(path));
    EXPECT_EQ(Hex("", path), "F96CEA198AD1DD5617AC084A3D92C6107708C0EF");
    EXPECT_EQ(Hex("abc", path), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");
    EXPECT_EQ(Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", path),
              "D2516EE1ACFA5BAF33DFC1C471E438449EF134C8");
    EXPECT_EQ(Hex(std::string(1000000, 'a'), path), "3232AFFA48628A26653B5AAA44541FD90D690603");
  }
}

// Digests at the padding boundaries (the length field fits, just fails to fit, fills the
// block), computed by a separate implementation; byte i is (7 i + 3) mod 251.
TEST(Sha0, FixedDigestsAtThePaddingBoundariesOnEveryUsablePath) {
  const std::pair<size_t, const char*> kDigests[] = {
      {55, "149B45CCB04D8E6AF33C3C89B07E8045EB644E1C"},  {56, "A35BA055E8DF9138DA6E7DA40AE5325BD6C9593E"},
      {63, "A75CF008018A4250597BF90E9579FF7592BA7715"},  {64, "F1229FC90A310980B0A483AEE6C637DEDA0A846C"},
      {119, "28BBE20A3D6789D3C0CC725B35320A3F9D4BA027"}, {120, "FD5F30B5F8E2FB9D679BCE0E0134F9401952CAA6"}};
  for (TSha0Path path : kPaths) {
    if (!Sha0PathUsable(path)) continue;
    SCOPED_TRACE(Sha0PathName(path));
    for (const auto& [length, digest] : kDigests) {
      std::string data(length, '\0');
      for (size_t i = 0; i < length; ++i) data[i] = static_cast<char>((i * 7 + 3) % 251);
      EXPECT_EQ(Hex(data, path), digest) << "length " << length;
    }
  }
}

TEST(Sha0, EveryPathAgreesWithThePortableOneInPiecesOfAnySize) {
  std::mt19937 random(7);
  std::vector<uint8_t> data(5000);
  for (auto& b : data) b = static_cast<uint8_t>(random());
  for (TSha0Path path : kPaths) {
    if (!Sha0PathUsable(path)) continue;
    SCOPED_TRACE(Sha0PathName(path));
    for (size_t length : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u, 4999u}) {
      const TSha0Digest expected = [&] {
        TSha0 portable(Sha0BlockFunction(TSha0Path::Portable));
        portable.Update(data.data(), length);
        return portable.Final();
      }();
      TSha0 sha(Sha0BlockFunction(path));
      for (size_t at = 0; at < length;) {
        const size_t piece = std::min<size_t>(length - at, random() % 150);
        sha.Update(data.data() + at, piece);
        at += piece;
      }
      EXPECT_EQ(sha.Final(), expected) << "length " << length;
    }
  }
}

TEST(Sha0, TheObjectStartsAnewAfterItsDigest) {
  TSha0 sha;
  sha.Update("xyz", 3);
  sha.Final();
  sha.Update("abc", 3);
  EXPECT_EQ(DigestToHex(sha.Final()), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");
}

TEST(Sha0, DigestTextIsFortyUpperCaseHexDigits) {
  EXPECT_TRUE(IsDigestText("0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880"));
  EXPECT_FALSE(IsDigestText("0164b8a914cd2a5e74c4f7ff082c4d97f1edf880"));
  EXPECT_FALSE(IsDigestText("0164B8A914CD2A5E74C4F7FF082C4D97F1EDF88"));
  EXPECT_FALSE(IsDigestText(std::string("0164B8A914CD2A5E74C4F7FF082C4D97F1EDF88\0", 40)));
}

}  // namespace
}  // namespace setup
