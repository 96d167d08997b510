// Packed pattern data and the cell index rules of TVelaXMPattern.
#include "VelaXM/LoadHelpers.h"

#include <gtest/gtest.h>

using namespace xmtest;

namespace {

XmModule withPatterns(std::vector<XmPattern> patterns)
{
    XmModule m;
    m.channels = 2;
    m.patterns = std::move(patterns);
    return m;
}

} // namespace

TEST(LoaderPatterns, DecodesPackedAndUnpackedCells)
{
    XmPattern p;
    p.rows = 2;
    // Row 0: an unpacked cell (5 bytes), then a packed cell with note and effect only.
    // Row 1: instrument 255 (stored as 0) with volume; then an empty packed cell.
    p.packed = {49, 2, 0x40, 0x0F, 0x06, 0x80 | 0x01 | 0x08, 97, 0x0A, 0x80 | 0x02 | 0x04, 255, 0x20, 0x80};
    auto m = load(buildXM(withPatterns({p})));
    ASSERT_TRUE(m->Loaded);
    const TVelaXMPattern& pat = m->Patterns[0];
    EXPECT_EQ(pat.GetNote(0, 0), cell(49, 2, 0x40, 0x0F, 0x06));
    EXPECT_EQ(pat.GetNote(0, 1), cell(97, 0, 0, 0x0A, 0));
    EXPECT_EQ(pat.GetNote(1, 0), cell(0, 0, 0x20, 0, 0));
    EXPECT_EQ(pat.GetNote(1, 1), cell(0));
    EXPECT_EQ(pat.Notes.size(), 3u * 2u); // one spare row
}

TEST(LoaderPatterns, PositionFollowsPackedSizeNotTheDecoder)
{
    // The first block claims 3 bytes more than its cells use; the second
    // pattern must be read from where the first block ends.
    XmPattern first = makePattern(1, 2, {{0, 0, cell(10)}});
    first.packed.insert(first.packed.end(), {0xAA, 0xBB, 0xCC});
    XmPattern second = makePattern(1, 2, {{0, 1, cell(20)}});
    auto m = load(buildXM(withPatterns({first, second})));
    EXPECT_EQ(m->Patterns[0].GetNote(0, 0).Note, 10);
    EXPECT_EQ(m->Patterns[1].GetNote(0, 1).Note, 20);
}

TEST(LoaderPatterns, ZeroAndOverlongRowCountsKeepNoCells)
{
    XmPattern zero;
    zero.rows = 0;
    zero.packed = {49, 1, 0, 0, 0};
    XmPattern overlong = makePattern(300, 2, {{0, 0, cell(49)}});
    XmPattern after = makePattern(4, 2, {{3, 1, cell(50)}});
    bool ok = false;
    auto m = load(buildXM(withPatterns({zero, overlong, after})), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->Patterns[0].Rows, 0);
    EXPECT_EQ(m->Patterns[1].Rows, 300);
    EXPECT_EQ(m->Patterns[1].GetNote(0, 0), cell(0));
    EXPECT_EQ(m->Patterns[2].GetNote(3, 1).Note, 50);
}

TEST(LoaderPatterns, EmptyPackedBlockGivesWritableEmptyRows)
{
    XmPattern empty;
    empty.rows = 64;
    auto m = load(buildXM(withPatterns({empty})));
    EXPECT_EQ(m->Patterns[0].Rows, 64);
    EXPECT_EQ(m->Patterns[0].Notes.size(), 65u * 2u);
    m->Patterns[0].SetNote(8, 0, cell(97));
    EXPECT_EQ(m->Patterns[0].GetNote(8, 0).Note, 97);
}

TEST(LoaderPatterns, HeaderLengthFieldIsNotUsedToSkip)
{
    XmPattern p = makePattern(2, 2, {{1, 1, cell(33)}});
    p.headerLength = 40;
    auto m = load(buildXM(withPatterns({p})));
    EXPECT_EQ(m->Patterns[0].GetNote(1, 1).Note, 33);
}

TEST(LoaderPatterns, PatternsPastTheSlotsAreSkipped)
{
    std::vector<XmPattern> patterns(258, makePattern(1, 2));
    patterns[255] = makePattern(2, 2, {{1, 0, cell(60)}});
    XmModule spec = withPatterns(patterns);
    XmInstrument ins;
    ins.name = "after the patterns";
    spec.instruments.push_back(ins);
    bool ok = false;
    auto m = load(buildXM(spec), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->Patterns[255].GetNote(1, 0).Note, 60);
    ASSERT_TRUE(m->Instruments[1]);
    EXPECT_EQ(m->Instruments[1]->Name, "after the patterns");
}

TEST(PatternCells, SetNoteIndexRules)
{
    TVelaXMPattern p;
    p.SetSize(64, 4);
    p.SetNote(0, 0, cell(1));
    EXPECT_EQ(p.Notes[0].Note, 1);
    p.SetNote(64, 3, cell(2)); // last cell of the spare row
    EXPECT_EQ(p.Notes.back().Note, 2);
    p.SetNote(65, 0, cell(3)); // past the array: ignored
    p.SetNote(-1, 0, cell(3));
    EXPECT_EQ(p.Notes.size(), 65u * 4u);
    p.SetNote(2, 4, cell(4)); // channel = channel count is channel 0 of the next row
    EXPECT_EQ(p.GetNote(3, 0).Note, 4);
    EXPECT_EQ(p.GetNote(65, 0), cell(0));
}

TEST(PatternCells, SetSizeKeepsCellsThatStillFit)
{
    TVelaXMPattern p;
    p.SetSize(4, 4);
    p.SetNote(1, 1, cell(11));
    p.SetNote(3, 3, cell(33));
    p.SetNote(4, 0, cell(44)); // spare row: not kept
    p.SetSize(8, 2);
    EXPECT_EQ(p.GetNote(1, 1).Note, 11);
    EXPECT_EQ(p.GetNote(3, 1).Note, 0);
    EXPECT_EQ(p.GetNote(4, 0).Note, 0);
    EXPECT_EQ(p.Notes.size(), 9u * 2u);
    p.Clear();
    EXPECT_EQ(p.Rows, 8);
    EXPECT_TRUE(p.Notes.empty());
    p.SetSize(0, 2);
    EXPECT_TRUE(p.Notes.empty());
}
