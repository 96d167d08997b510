// Elements, attributes, processing instructions and the other markup, and how bad documents fail.
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

TEST(XmlStructure, DeclarationAloneIsOneProcessTagWithTwoParameters)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<?xml version=\"1.0\" encoding=\"utf-8\"?>"));
    ASSERT_EQ(xml.Root.Items.Count(), 1);
    const auto* pi = topNode<TVelaXMLProcessTag>(xml, 0);
    ASSERT_NE(pi, nullptr);
    EXPECT_EQ(pi->Name, "xml");
    ASSERT_EQ(pi->ParameterCount(), 2);
    EXPECT_EQ(pi->Parameter(0)->Name, "version");
    EXPECT_EQ(pi->Parameter(1)->Value, "utf-8");
}

TEST(XmlStructure, EmptyElementAndImmediateCloseHaveNoChildren)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<a/><b></b><c x='1' />"));
    ASSERT_EQ(xml.Root.Items.Count(), 3);
    for (int32_t i = 0; i < 3; ++i) {
        const auto* tag = topNode<TVelaXMLTag>(xml, i);
        ASSERT_NE(tag, nullptr);
        EXPECT_EQ(tag->Items.Count(), 0);
    }
    EXPECT_EQ(topNode<TVelaXMLTag>(xml, 2)->GetParameter("x", ""), "1");
}

TEST(XmlStructure, NestedElementsAndNameCharacters)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<ns:root-1.x><_a><b9/></_a></ns:root-1.x>"));
    const auto* root = topNode<TVelaXMLTag>(xml, 0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name, "ns:root-1.x");
    const auto* a = childNode<TVelaXMLTag>(root, 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Name, "_a");
    EXPECT_EQ(childNode<TVelaXMLTag>(a, 0)->Name, "b9");
}

TEST(XmlStructure, WrongOrMissingClosingNameFails)
{
    TVelaXML xml;
    EXPECT_FALSE(parseText(xml, "<a><b></a></b>"));
    EXPECT_FALSE(parseText(xml, "<a></A>"));
    EXPECT_FALSE(parseText(xml, "<a><b>"));
    EXPECT_FALSE(parseText(xml, "</a>"));
    EXPECT_FALSE(parseText(xml, "<a></a"));
    EXPECT_EQ(xml.Root.Items.Count(), 0);
}

TEST(XmlStructure, MalformedAttributesFail)
{
    TVelaXML xml;
    EXPECT_FALSE(parseText(xml, "<a v=1/>"));
    EXPECT_FALSE(parseText(xml, "<a v/>"));
    EXPECT_FALSE(parseText(xml, "<a v='1/>"));
    EXPECT_FALSE(parseText(xml, "<a v=\"1'/>"));
    EXPECT_FALSE(parseText(xml, "<a v='1'"));
    EXPECT_FALSE(parseText(xml, "<a 1='x'/>"));
}

TEST(XmlStructure, DuplicateAttributesKeepBothAndFindTheLast)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<a n='first' n='second' m='x'/>"));
    const auto* a = topNode<TVelaXMLTag>(xml, 0);
    ASSERT_EQ(a->ParameterCount(), 3);
    EXPECT_EQ(a->Parameter(0)->Value, "first");
    EXPECT_EQ(a->GetParameter("n", ""), "second");
    EXPECT_EQ(a->GetParameter("N", "default"), "default");
    EXPECT_EQ(a->GetParameter("", "default"), "default");
}

TEST(XmlStructure, CommentScriptCDataAndDeclarations)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<!-- a -- b --->"
                               "<%  x %% > %>"
                               "<![CDATA[ <raw> ]] ]]>"
                               "<!DOCTYPE   html>"
                               "<!ELEMENT foo>"));
    ASSERT_EQ(xml.Root.Items.Count(), 5);
    EXPECT_EQ(topNode<TVelaXMLCommentTag>(xml, 0)->Text, " a -- b -");
    EXPECT_EQ(topNode<TVelaXMLScriptTag>(xml, 1)->Text, "  x %% > ");
    EXPECT_EQ(topNode<TVelaXMLCDataTag>(xml, 2)->Text, " <raw> ]] ");
    EXPECT_EQ(topNode<TVelaXMLDOCTYPETag>(xml, 3)->Text, "html");
    EXPECT_EQ(topNode<TVelaXMLExtraTag>(xml, 4)->Text, "ELEMENT foo");
}

TEST(XmlStructure, MarkupKeepsItsBytesUndecoded)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<?xml encoding='UTF-8'?><!--&amp;\xC3\xA9  x-->"));
    EXPECT_EQ(topNode<TVelaXMLCommentTag>(xml, 1)->Text, "&amp;\xC3\xA9  x");
}

TEST(XmlStructure, UnterminatedMarkupFails)
{
    for (const char* bad :
         {"<!-- open", "<!-- open --", "<![CDATA[ x ]]", "<% x %", "<!DOCTYPE x", "<!-x-->", "<![CDATX[ x ]]>",
          "<?xml version='1'", "<?xml version='1'?", "<?", "<a", "<a x", "<a/", "<a>&#"}) {
        TVelaXML xml;
        EXPECT_FALSE(parseText(xml, bad)) << bad;
        EXPECT_EQ(xml.Root.Items.Count(), 0) << bad;
    }
}

TEST(XmlStructure, EndingAtTopLevelIsNotAnError)
{
    TVelaXML xml;
    EXPECT_TRUE(parseText(xml, ""));
    EXPECT_TRUE(parseText(xml, "   \n"));
    EXPECT_TRUE(parseText(xml, "<a/>trailing text"));
    EXPECT_EQ(xml.Root.Items.Count(), 2);
    EXPECT_TRUE(parseText(xml, "<a/><"));
}

TEST(XmlStructure, NulByteIsWhiteSpace)
{
    TVelaXML xml;
    const std::string document("<a>x\0y</a>", 10);
    ASSERT_TRUE(parseText(xml, document));
    EXPECT_EQ(childNode<TVelaXMLText>(topNode<TVelaXMLTag>(xml, 0), 0)->Text, "x y");
    EXPECT_TRUE(parseText(xml, std::string("<a\0/>", 5)));
}

TEST(XmlStructure, AtlasShapedDocument)
{
    const char* atlas = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<!-- Created with TexturePacker -->\n"
                        "<!-- Format: sprite sheet -->\n"
                        "<!-- $TexturePacker:SmartUpdate:abc$ -->\n"
                        "<TextureAtlas imagePath=\"textures1.png\" width=\"2048\" height=\"2048\">\n"
                        "    <sprite n=\"gate_left\" x=\"2\" y=\"2\" w=\"402\" h=\"480\" oX=\"0\" oY=\"0\" oW=\"800\" "
                        "oH=\"480\"/>\n"
                        "    <sprite n=\"title_bg\" x=\"406\" y=\"2\" w=\"800\" h=\"480\"/>\n"
                        "</TextureAtlas>\n";
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, atlas));
    ASSERT_EQ(xml.Root.Items.Count(), 5);
    EXPECT_NE(topNode<TVelaXMLProcessTag>(xml, 0), nullptr);
    for (int32_t i = 1; i <= 3; ++i) {
        EXPECT_NE(topNode<TVelaXMLCommentTag>(xml, i), nullptr);
    }
    const auto* sheet = topNode<TVelaXMLTag>(xml, 4);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->Name, "TextureAtlas");
    ASSERT_EQ(sheet->Items.Count(), 2);
    EXPECT_EQ(childNode<TVelaXMLTag>(sheet, 0)->GetParameter("oW", ""), "800");
    EXPECT_EQ(childNode<TVelaXMLTag>(sheet, 1)->GetParameter("n", ""), "title_bg");
}

TEST(XmlStructure, ReparsingReplacesTheTree)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<a/><b/>"));
    ASSERT_TRUE(parseText(xml, "<c/>"));
    ASSERT_EQ(xml.Root.Items.Count(), 1);
    EXPECT_EQ(topNode<TVelaXMLTag>(xml, 0)->Name, "c");
}

TEST(XmlLimits, DeepNestingParsesWithoutRecursion)
{
    constexpr int depth = 100000;
    std::string document;
    for (int i = 0; i < depth; ++i) {
        document += "<d>";
    }
    TVelaXML xml;
    EXPECT_FALSE(parseText(xml, document)); // never closed
    for (int i = 0; i < depth; ++i) {
        document += "</d>";
    }
    ASSERT_TRUE(parseText(xml, document));
    const TVelaXMLItem* node = &xml.Root;
    int levels = 0;
    while (node->Items.Count() == 1) {
        node = node->Items.Get(0);
        ++levels;
    }
    EXPECT_EQ(levels, depth);

    TVelaXMLItem copy;
    copy.Assign(xml.Root); // deep copies and frees iteratively too
    EXPECT_EQ(copy.Items.Count(), 1);
}

TEST(XmlLimits, ManyAttributes)
{
    std::string document = "<a";
    for (int i = 0; i < 20000; ++i) {
        document += " k" + std::to_string(i) + "='" + std::to_string(i) + "'";
    }
    document += "/>";
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, document));
    const auto* a = topNode<TVelaXMLTag>(xml, 0);
    EXPECT_EQ(a->ParameterCount(), 20000);
    EXPECT_EQ(a->GetParameter("k12345", ""), "12345");
}
