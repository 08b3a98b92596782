#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin/stored/Lzh.h"
#include "skin/stored/LzhufTree.h"
#include "tools/skinpack/LzhufEncoder.h"

namespace {

std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& data, TLzhufCodingStats* stats = nullptr) {
    std::vector<uint8_t> packed = LzhufCompress(data, stats);
    return LzhUnpackBuffer(packed.data(), packed.size(), data.size());
}

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> out(n);
    for (auto& b : out) b = static_cast<uint8_t>(rng() % alphabet);
    return out;
}

TEST(LzhufRoundTrip, EmptyAndOneByte) {
    EXPECT_TRUE(LzhufCompress(std::vector<uint8_t>()).empty());
    EXPECT_TRUE(RoundTrip({}).empty());
    for (int value : {0, 0x20, 0x7F, 0xFF}) {
        std::vector<uint8_t> one{static_cast<uint8_t>(value)};
        EXPECT_EQ(RoundTrip(one), one) << value;
    }
}

TEST(LzhufRoundTrip, RunsTextAndRandomData) {
    std::vector<uint8_t> run(100000, 'x');
    TLzhufCodingStats stats;
    EXPECT_EQ(RoundTrip(run, &stats), run);
    EXPECT_LT(LzhufCompress(run).size(), run.size() / 40);
    EXPECT_GT(stats.lengthUse[60], 1000u);

    std::string text;
    for (int i = 0; i < 2000; ++i) text += "[Colour" + std::to_string(i % 37) + "]\r\ncolor=59 97 131\r\n";
    std::vector<uint8_t> textBytes(text.begin(), text.end());
    EXPECT_EQ(RoundTrip(textBytes), textBytes);

    std::vector<uint8_t> noise = RandomBytes(200000, 7);
    EXPECT_EQ(RoundTrip(noise), noise);
    std::vector<uint8_t> fewSymbols = RandomBytes(200000, 8, 3);
    EXPECT_EQ(RoundTrip(fewSymbols), fewSymbols);
}

TEST(LzhufRoundTrip, OneMegabyteRebuildsTheTreeManyTimes) {
    // Short matches over a four-letter alphabet, with runs between them: hundreds of
    // thousands of symbols push the root's count to the 0x8000 limit again and again.
    std::vector<uint8_t> data;
    std::mt19937 rng(11);
    while (data.size() < (1u << 20)) {
        if (rng() % 8 == 0) {
            data.insert(data.end(), 1 + rng() % 300, static_cast<uint8_t>(rng()));
        } else {
            for (int k = 0; k < 64; ++k) data.push_back(static_cast<uint8_t>('a' + rng() % 4));
        }
    }
    data.resize(1u << 20);
    TLzhufCodingStats stats;
    EXPECT_EQ(RoundTrip(data, &stats), data);
    EXPECT_GE(stats.treeRebuilds, 5);
}

TEST(LzhufRoundTrip, LiteralsAloneReachTheFrequencyLimit) {
    // 40,000 literals: the root's count passes 0x8000 without any match being coded.
    std::vector<uint8_t> data = RandomBytes(40000, 3);
    TLzhufCodingStats stats;
    EXPECT_EQ(RoundTrip(data, &stats), data);
    EXPECT_EQ(stats.treeRebuilds, 1);
}

TEST(LzhufRoundTrip, EveryMatchLengthAndDistance) {
    // A random block, then for each distance d a copy of d bytes back, of a length cycling
    // through 3 … 60, separated by fresh random bytes so the copy cannot be found closer.
    std::mt19937 rng(5);
    std::vector<uint8_t> data = RandomBytes(4200, 1);
    const int maxDistance = Lzhuf::RingSize - Lzhuf::LongestMatch;
    for (int distance = maxDistance; distance >= 1; --distance) {
        int length = 3 + (distance % 58);
        for (int k = 0; k < length; ++k) data.push_back(data[data.size() - distance]);
        for (int k = 0; k < 4; ++k) data.push_back(static_cast<uint8_t>(rng()));
    }
    TLzhufCodingStats stats;
    ASSERT_EQ(RoundTrip(data, &stats), data);
    for (int length = 3; length <= 60; ++length) EXPECT_GT(stats.lengthUse[length], 0u) << "length " << length;
    for (int distance = 1; distance <= maxDistance; ++distance) {
        EXPECT_GT(stats.distanceUse[distance], 0u) << "distance " << distance;
    }
}

TEST(LzhDecoder, TruncatedDataReadsOnAsZeroBytes) {
    std::vector<uint8_t> data = RandomBytes(5000, 9);
    std::vector<uint8_t> packed = LzhufCompress(data);
    // Without any input at all, every bit is 0: the same output as from a stream of zeros.
    std::vector<uint8_t> zeros(64, 0);
    EXPECT_EQ(LzhUnpackBuffer(nullptr, 0, 300), LzhUnpackBuffer(zeros.data(), zeros.size(), 300));
    std::vector<uint8_t> half = LzhUnpackBuffer(packed.data(), packed.size() / 2, data.size());
    ASSERT_EQ(half.size(), data.size());
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, half.begin()));
    // The decoder stops exactly at the size asked, in the middle of a match too.
    std::vector<uint8_t> run(500, 'q');
    std::vector<uint8_t> packedRun = LzhufCompress(run);
    EXPECT_EQ(LzhUnpackBuffer(packedRun.data(), packedRun.size(), 7), std::vector<uint8_t>(7, 'q'));
}

TEST(LzhDecoder, MatchesReachIntoTheInitialSpaces) {
    // A hand-coded stream: the first symbol of a fresh tree is decoded, then a position; a
    // match before any literal copies the spaces the ring starts with.
    TLzhufTree tree;
    int symbol = 255 - Lzhuf::Threshold + 10;  // a match of 10 bytes
    std::vector<int> bits;
    for (int node = tree.LeafNode(symbol); node != Lzhuf::Root; node = tree.Parent(node)) {
        bits.insert(bits.begin(), node & 1);
    }
    for (int k = 0; k < 8 + 6; ++k) bits.push_back(0);  // position 0 → one byte back
    std::vector<uint8_t> stream((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i) stream[i / 8] |= static_cast<uint8_t>(bits[i] << (7 - i % 8));
    EXPECT_EQ(LzhUnpackBuffer(stream.data(), stream.size(), 10), std::vector<uint8_t>(10, ' '));
}

TEST(LzhDecoder, CallbackInterfaceProducesTheSizeAsked) {
    std::vector<uint8_t> data = RandomBytes(3000, 4, 16);
    std::vector<uint8_t> packed = LzhufCompress(data);
    size_t at = 0;
    std::vector<uint8_t> out;
    TLZH().Unpack(
        static_cast<int64_t>(data.size()),
        [&](uint8_t& b) {
            if (at == packed.size()) return false;
            b = packed[at++];
            return true;
        },
        [&](uint8_t b) { out.push_back(b); });
    EXPECT_EQ(out, data);
    TLZH().Unpack(-5, [](uint8_t&) { return false; }, [&](uint8_t) { FAIL() << "wrote for a negative size"; });
}

}  // namespace
