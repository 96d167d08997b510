// The node classes: list growth, the string tree, Clear and Assign.
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

TEST(XmlClassList, CapacityFollowsTheCountInSteps)
{
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(0), 0);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(1), 16);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(255), 256);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(256), 256);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(257), 512);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(1025), 2048);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(4095), 4096);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(4097), 8192);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(16385), 32768);
    EXPECT_EQ(TVelaXMLClassList::CapacityFor(65537), 131072);

    TVelaXMLClassList list;
    ASSERT_TRUE(list.SetCount(300));
    EXPECT_EQ(list.Capacity(), 512);
    EXPECT_EQ(list.Get(299), nullptr);
    EXPECT_EQ(list.Get(300), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    ASSERT_TRUE(list.SetCount(3));
    EXPECT_EQ(list.Capacity(), 16); // shrinks with the count
    EXPECT_FALSE(list.SetCount(TVelaXMLClassList::MaxCount + 1));
    EXPECT_EQ(list.Count(), 3);
}

TEST(XmlStringTree, AddFindAndReplace)
{
    TVelaXMLStringTree tree;
    EXPECT_TRUE(tree.Add("beta", 2, false));
    EXPECT_TRUE(tree.Add("alpha", 1, false));
    EXPECT_TRUE(tree.Add("al", 3, false));
    EXPECT_FALSE(tree.Add("alpha", 9, false));
    EXPECT_FALSE(tree.Add("", 5, true));
    int32_t value = 0;
    ASSERT_TRUE(tree.Find("alpha", value));
    EXPECT_EQ(value, 1);
    ASSERT_TRUE(tree.Find("al", value));
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(tree.Find("alp", value));
    EXPECT_FALSE(tree.Find("Alpha", value));
    EXPECT_FALSE(tree.Find("alphabet", value));
    EXPECT_TRUE(tree.Add("alpha", 9, true));
    ASSERT_TRUE(tree.Find("alpha", value));
    EXPECT_EQ(value, 9);
    // Bytes above 0x7F sort and match like any other.
    EXPECT_TRUE(tree.Add("\xFF\x01", 7, false));
    ASSERT_TRUE(tree.Find("\xFF\x01", value));
    EXPECT_EQ(value, 7);
    tree.Clear();
    EXPECT_FALSE(tree.Find("beta", value));
}

TEST(XmlNodes, TagClearDropsNameParametersAndChildren)
{
    TVelaXMLTag tag("t");
    tag.AddParameter("a", "1");
    tag.Items.Add(new TVelaXMLText("x"));
    tag.Clear();
    EXPECT_EQ(tag.Name, "");
    EXPECT_EQ(tag.ParameterCount(), 0);
    EXPECT_EQ(tag.Items.Count(), 0);
    EXPECT_EQ(tag.FindParameter("a"), nullptr);
}

TEST(XmlNodes, AssignMakesAnIndependentDeepCopy)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<r a='1' a='2'><!--c--><k>text</k><?pi x='y'?></r>"));
    const auto* source = topNode<TVelaXMLTag>(xml, 0);
    TVelaXMLTag copy;
    copy.Assign(*source);
    ASSERT_TRUE(parseText(xml, "<other/>")); // frees the source tree

    EXPECT_EQ(copy.Name, "r");
    EXPECT_EQ(copy.ParameterCount(), 2);
    EXPECT_EQ(copy.GetParameter("a", ""), "2");
    ASSERT_EQ(copy.Items.Count(), 3);
    EXPECT_EQ(childNode<TVelaXMLCommentTag>(&copy, 0)->Text, "c");
    EXPECT_EQ(childNode<TVelaXMLText>(childNode<TVelaXMLTag>(&copy, 1), 0)->Text, "text");
    const auto* pi = childNode<TVelaXMLProcessTag>(&copy, 2);
    ASSERT_NE(pi, nullptr);
    EXPECT_EQ(pi->GetParameter("x", ""), "y");
}

TEST(XmlNodes, AssignFromOwnDescendant)
{
    TVelaXMLTag outer("outer");
    auto* inner = new TVelaXMLTag("inner");
    inner->Items.Add(new TVelaXMLText("leaf"));
    outer.Items.Add(inner);
    outer.Assign(*inner);
    EXPECT_EQ(outer.Name, "inner");
    ASSERT_EQ(outer.Items.Count(), 1);
    EXPECT_EQ(childNode<TVelaXMLText>(&outer, 0)->Text, "leaf");
}
