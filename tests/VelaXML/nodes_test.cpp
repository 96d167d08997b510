// The node classes: list growth, the string tree, Clear and Assign.
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

TEST(XmlClassList, IndexesOutsideAndCountsPastTheLimitAreRefused)
{
    TVelaXMLClassList list;
    ASSERT_TRUE(list.SetCount(300));
    EXPECT_EQ(list.Get(299), nullptr); // new entries are empty
    EXPECT_EQ(list.Get(300), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_FALSE(list.SetCount(TVelaXMLClassList::MaxCount + 1));
    EXPECT_EQ(list.Count(), 300);
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
