// TVelaXMStream: short reads, growth by seek and write.
#include "VelaBase/Stream.h"

#include <gtest/gtest.h>

TEST(Stream, WriteReadSeek)
{
    TVelaXMStream s;
    const char text[] = "abcdef";
    EXPECT_EQ(s.Write(text, 6), 6);
    EXPECT_EQ(s.GetSize(), 6);
    EXPECT_EQ(s.Seek(-5), 0);
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 8), 6);
    EXPECT_EQ(std::string(buffer), "abcdef");
    EXPECT_EQ(s.Read(buffer, 1), 0);
    EXPECT_EQ(s.Read(buffer, -1), 0);
    EXPECT_EQ(s.Write(text, 0), 0);
}

TEST(Stream, SeekPastEndGrowsWithZeros)
{
    TVelaXMStream s;
    s.Write("x", 1);
    EXPECT_EQ(s.Seek(70000), 70000);
    EXPECT_EQ(s.GetSize(), 70000);
    uint8_t b = 1;
    EXPECT_EQ(s.ReadAt(69999, &b, 1), 1);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(s.SeekFrom(-10, 2), 69990);
    EXPECT_EQ(s.SeekFrom(5, 1), 69995);
    EXPECT_EQ(s.SeekFrom(3, 0), 3);
}

TEST(Stream, SetSizePullsPositionBackAndClearFrees)
{
    TVelaXMStream s;
    s.Write("abcdef", 6);
    s.SetSize(3);
    EXPECT_EQ(s.GetPosition(), 3);
    EXPECT_EQ(s.GetSize(), 3);
    s.Clear();
    EXPECT_EQ(s.GetSize(), 0);
    EXPECT_EQ(s.GetPosition(), 0);
}
