// Stored strings in every shape a file may hold them; numbers, blocks and counts are checked
// through the loaders in file_layouts_test.cpp and definition_files_test.cpp.
#include "project/byte_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/project_writer.h"

namespace {

std::vector<uint8_t> ToVector(const Bytes& b) {
    return {b.str().begin(), b.str().end()};
}

TEST(ByteReader, StoredStringsOfEveryShape) {
    struct Case {
        const char* what;
        Bytes bytes;  // the string, then the int32 42 unless it is cut
        bool ok;
        std::string text;
    };
    const Case cases[] = {
        {"text runs to the first zero", Bytes().U32(6).Raw(std::string("ab\0cd\0", 6)).I32(42),
         true, "ab"},
        {"L = 1 with a zero byte", Bytes().Str("").I32(42), true, ""},
        {"L = 0", Bytes().U32(0).I32(42), true, ""},
        {"no zero byte", Bytes().U32(4).Raw("Ship").I32(42), true, "Ship"},
        {"L = 4,000,000,000", Bytes().U32(4000000000u).Raw(std::string("abc\0", 4)).I32(42), false,
         "old"},
        {"length cut short", Bytes().U8(3).U8(0), false, "old"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = ToVector(c.bytes);
        ByteReader in(bytes);
        TString text("old");
        int32_t next = 7;
        EXPECT_EQ(in.ReadString(text), c.ok) << c.what;
        EXPECT_EQ(std::string(text.c_str()), c.text) << c.what;
        EXPECT_EQ(text.Length(), c.text.size()) << c.what;
        EXPECT_EQ(in.ReadI32(next), c.ok) << c.what;
        EXPECT_EQ(next, c.ok ? 42 : 7) << c.what;
    }
}

}  // namespace
