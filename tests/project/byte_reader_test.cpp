#include "project/byte_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/project_writer.h"

namespace {

std::vector<uint8_t> ToVector(const Bytes& b) {
    return {b.str().begin(), b.str().end()};
}

TEST(ByteReader, ReadsLittleEndianNumbers) {
    Bytes b;
    b.U8(0xAB).I32(-2).U32(0xDEADBEEF).F64(2.5);
    std::vector<uint8_t> bytes = ToVector(b);
    ByteReader in(bytes);
    uint8_t u8;
    int32_t i32;
    uint32_t u32;
    double f64;
    ASSERT_TRUE(in.ReadU8(u8) && in.ReadI32(i32) && in.ReadU32(u32) && in.ReadF64(f64));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(u32, 0xDEADBEEFu);
    EXPECT_EQ(f64, 2.5);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(in.Ok());
}

TEST(ByteReader, ANumberCutShortKeepsItsValueAndStopsTheReader) {
    std::vector<uint8_t> bytes = {1, 2, 3, 4, 5, 6};
    ByteReader in(bytes);
    int32_t first = 7, second = 7;
    EXPECT_TRUE(in.ReadI32(first));
    EXPECT_FALSE(in.ReadI32(second));
    EXPECT_EQ(second, 7);
    // The two bytes left are not handed out afterwards either.
    uint8_t byte = 9;
    EXPECT_FALSE(in.ReadU8(byte));
    EXPECT_EQ(byte, 9);
    EXPECT_FALSE(in.Ok());
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ByteReaderString, TextRunsToTheFirstZeroAndAllBytesAreConsumed) {
    std::vector<uint8_t> bytes = ToVector(Bytes().StrRaw(6, std::string("ab\0cd\0", 6)).I32(5));
    ByteReader in(bytes);
    TString text("old");
    int32_t after = 0;
    ASSERT_TRUE(in.ReadString(text));
    EXPECT_EQ(text, "ab");
    ASSERT_TRUE(in.ReadI32(after));
    EXPECT_EQ(after, 5);
}

TEST(ByteReaderString, LengthOneWithAZeroByteIsTheEmptyText) {
    std::vector<uint8_t> bytes = ToVector(Bytes().Str(""));
    ByteReader in(bytes);
    TString text("old");
    ASSERT_TRUE(in.ReadString(text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(text.HasBuffer());
}

TEST(ByteReaderString, LengthZeroIsTheEmptyTextAndTheNextFieldFollows) {
    std::vector<uint8_t> bytes = ToVector(Bytes().U32(0).I32(42));
    ByteReader in(bytes);
    TString text("old");
    int32_t next = 0;
    ASSERT_TRUE(in.ReadString(text));
    EXPECT_EQ(text, "");
    ASSERT_TRUE(in.ReadI32(next));
    EXPECT_EQ(next, 42);
}

TEST(ByteReaderString, NoZeroByteTakesAllTheBytes) {
    std::vector<uint8_t> bytes = ToVector(Bytes().StrRaw(4, "Ship").U8(1));
    ByteReader in(bytes);
    TString text;
    uint8_t next = 0;
    ASSERT_TRUE(in.ReadString(text));
    EXPECT_EQ(text, "Ship");
    EXPECT_EQ(text.Length(), 4u);
    ASSERT_TRUE(in.ReadU8(next));
    EXPECT_EQ(next, 1);
}

TEST(ByteReaderString, LengthBeyondTheDataStopsWithTheOldText) {
    std::vector<uint8_t> bytes = ToVector(Bytes().StrRaw(4000000000u, "abc\0").I32(1));
    ByteReader in(bytes);
    TString text("old");
    int32_t next = 7;
    EXPECT_FALSE(in.ReadString(text));
    EXPECT_EQ(text, "old");
    EXPECT_FALSE(in.ReadI32(next));
    EXPECT_EQ(next, 7);
}

TEST(ByteReaderString, LengthCutShortIsLikeAnyCutNumber) {
    std::vector<uint8_t> bytes = {3, 0};
    ByteReader in(bytes);
    TString text("old");
    EXPECT_FALSE(in.ReadString(text));
    EXPECT_EQ(text, "old");
}

TEST(ByteReader, ReservableCountNeverExceedsWhatTheBytesLeftHold) {
    std::vector<uint8_t> bytes(100);
    ByteReader in(bytes);
    EXPECT_EQ(in.ReservableCount(2000000000, 64), 1u);
    EXPECT_EQ(in.ReservableCount(3, 4), 3u);
    EXPECT_EQ(in.ReservableCount(0, 4), 0u);
    EXPECT_EQ(in.ReservableCount(-5, 4), 0u);
    EXPECT_EQ(in.ReservableCount(int64_t{1} << 40, 1), 100u);
}

TEST(ByteReader, ABlockIsTakenWholeOrNotAtAll) {
    std::vector<uint8_t> bytes = {1, 0, 0, 0, 2, 0};
    ByteReader in(bytes);
    ByteReader block;
    EXPECT_FALSE(in.ReadBlock(8, block));
    EXPECT_EQ(block.Remaining(), 0u);
    EXPECT_FALSE(in.Ok());

    ByteReader again(bytes);
    ASSERT_TRUE(again.ReadBlock(4, block));
    int32_t v = 0;
    ASSERT_TRUE(block.ReadI32(v));
    EXPECT_EQ(v, 1);
    EXPECT_EQ(again.Remaining(), 2u);
}

}  // namespace
