#include "core/account/machine_code.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

class FakeIdentity final : public MachineIdentity {
 public:
  FakeIdentity(std::array<std::uint32_t, 4> words,
               std::optional<std::array<std::uint8_t, 6>> adapter)
      : words_(words), adapter_(adapter) {}
  std::array<std::uint32_t, 4> ProcessorWords() const override { return words_; }
  std::optional<std::array<std::uint8_t, 6>> FirstAdapterAddress() const override {
    return adapter_;
  }

 private:
  std::array<std::uint32_t, 4> words_;
  std::optional<std::array<std::uint8_t, 6>> adapter_;
};

constexpr std::array<std::uint32_t, 4> kWords = {0xBFEBFBFF, 0x000906EA, 0x12345678, 0x9ABCDEF0};
constexpr std::array<std::uint8_t, 6> kAdapter = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

TEST(MachineCode, ProcessorTextKeepsTheFirstTwoWordsAndTheirDashes) {
  EXPECT_EQ(ProcessorText(FakeIdentity(kWords, kAdapter)), "BFEBFBFF-000906EA-");
  EXPECT_EQ(ProcessorText(FakeIdentity({0xa, 0xb, 0, 0}, kAdapter)), "0000000A-0000000B-");
}

TEST(MachineCode, AdapterTextOrTheFixedStandIn) {
  EXPECT_EQ(AdapterText(FakeIdentity(kWords, kAdapter)), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(AdapterText(FakeIdentity(kWords, std::nullopt)), "10-11-11-11-11-11");
}

// Expected digests: MD5 of the mapped texts "JJAABBCCDDEEBFEBFBFFJJJIJFEA" and
// "AJAAAAAAAAAABFEBFBFFJJJIJFEA", computed with an independent MD5.
TEST(MachineCode, DigestOfTheMappedText) {
  const FakeIdentity withAdapter(kWords, kAdapter);
  EXPECT_EQ(ComputeMachineCode(withAdapter, false), "3555387D59E98894209B8F1B26DDEE21");
  EXPECT_EQ(ComputeMachineCode(withAdapter, true), "59E98894209B8F1B");
}

TEST(MachineCode, WithoutAdapterStillSixteenDigits) {
  const FakeIdentity noAdapter(kWords, std::nullopt);
  const Text code = ComputeMachineCode(noAdapter, true);
  EXPECT_EQ(code, "7269DAB895F8025D");
  EXPECT_EQ(code.size(), 16u);
}

TEST(MachineCode, LeafThreeWordsDoNotCount) {
  // Only the first 18 characters of the processor text are used.
  EXPECT_EQ(ComputeMachineCode(FakeIdentity({0xBFEBFBFF, 0x000906EA, 0, 0}, kAdapter), true),
            "59E98894209B8F1B");
}

}  // namespace
}  // namespace quillet
