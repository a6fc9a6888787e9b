#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "deals/FixedCards.h"
#include "deals/SecureSource.h"

namespace {

TSecret SampleSecret() {
    TSecret secret;
    for (std::size_t i = 0; i < secret.Bytes.size(); ++i)
        secret.Bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    return secret;
}

TEST(SecureSource, TextsReadBackInEitherCaseAndNothingElseIsASecret) {
    const TSecret secret = SampleSecret();
    const std::string text = SecretText(secret);
    EXPECT_EQ(text.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(ReadSecret(text), secret);
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(ReadSecret(upper), secret);
    for (const std::string& bad :
         {text.substr(1), text + "0", "0x" + text.substr(2), text.substr(0, 63) + "g",
          text.substr(0, 31) + " " + text.substr(32)})
        EXPECT_FALSE(ReadSecret(bad).has_value()) << bad;
}

// Every deal holds each card once, thirteen in each hand, with the fixed
// cards where they were fixed; an index gives the same deal again in any
// order of dealing, and the deals of different indices differ.
// The commitment and the delayed text's key are the hashes the README states.
TEST(SecureSource, CommitmentAndDelayedKeyAreTheStatedHashes) {
    const TSecret zero;
    EXPECT_EQ(SecretText(SecretCommitment(zero)),
              "66687aadf862bd776c8fc18b8e9f8e20089714856ee233b3902a591d0d5f2925");
    EXPECT_EQ(SecretText(DelayedSecret(zero, "Лото 7")),
              "d69f55117b4f21ed9ed5696d857ba376ba79c05da7675e35ec5bcf9b8b122400");
}

TEST(SecureSource, DealsAreWholeRepeatableAndKeepTheFixedCards) {
    auto fixedFor = [](uint64_t index) {  // none for the first thousand deals
        std::mt19937 random(static_cast<uint32_t>(index));
        TFixedCards fixed;
        for (uint32_t i = index < 1000 ? 0 : random() % 53; i > 0; --i)
            fixed.Fix(static_cast<int32_t>(random() % 52 + 1),
                      static_cast<int32_t>(random() % 4 + 1));
        return fixed;
    };
    TSecureDealer forwards(SampleSecret()), backwards(SampleSecret());
    std::vector<TCardSets> dealt(3000);
    for (uint64_t index = 0; index < dealt.size(); ++index)
        forwards.Deal(index, fixedFor(index), dealt[index]);
    std::set<std::array<uint64_t, 4>> seen;
    for (uint64_t index = dealt.size(); index-- > 0;) {
        const TFixedCards fixed = fixedFor(index);
        TCardSets sets;
        backwards.Deal(index, fixed, sets);
        ASSERT_EQ(sets, dealt[index]) << index;
        uint64_t all = 0;
        for (int seat = 1; seat <= 4; ++seat) {
            const uint64_t hand = sets.Hands[static_cast<std::size_t>(seat - 1)];
            ASSERT_EQ(std::popcount(hand), 13) << index;
            all |= hand;
            for (int card = 1; card <= 52; ++card)
                ASSERT_TRUE(fixed.SeatOf(card) != seat || (hand >> card & 1)) << card;
        }
        ASSERT_EQ(all, ((uint64_t{1} << 53) - 1) & ~uint64_t{1}) << index;  // cards 1..52
        if (index < 1000) seen.insert(sets.Hands);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(SecureSource, FlippingAnyBitOfTheSecretChangesTheFirstDeal) {
    const TSecret secret = SampleSecret();
    TCardSets first;
    TSecureDealer(secret).Deal(0, TFixedCards(), first);
    for (std::size_t bit = 0; bit < 8 * TSecret::Size; ++bit) {
        TSecret flipped = secret;
        flipped.Bytes[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
        TCardSets other;
        TSecureDealer(flipped).Deal(0, TFixedCards(), other);
        EXPECT_NE(other, first) << "bit " << bit;
    }
}

}  // namespace
