// Character data and attribute values: white-space folding, references and UTF-8 folding.
#include "XmlTestHelpers.h"

#include "VelaXML/Entities.h"

#include <gtest/gtest.h>

namespace {

// The first element among the top-level nodes (a declaration may come before it).
const TVelaXMLTag* firstElement(const TVelaXML& xml)
{
    for (int32_t i = 0; i < xml.Root.Items.Count(); ++i) {
        if (xml.Root.Items.Get(i)->Kind() == TVelaXMLKind::Tag) {
            return topNode<TVelaXMLTag>(xml, i);
        }
    }
    return nullptr;
}

// The text of the single text child of the first top-level element.
std::string elementText(std::string_view document)
{
    TVelaXML xml;
    EXPECT_TRUE(parseText(xml, document)) << document;
    const auto* text = childNode<TVelaXMLText>(firstElement(xml), 0);
    return text != nullptr ? text->Text : "<no text node>";
}

std::string attributeValue(std::string_view document)
{
    TVelaXML xml;
    EXPECT_TRUE(parseText(xml, document)) << document;
    const auto* tag = firstElement(xml);
    return tag != nullptr ? tag->GetParameter("v", "<missing>") : "<no element>";
}

} // namespace

TEST(XmlText, RunsOfWhiteSpaceFoldToOneSpace)
{
    EXPECT_EQ(elementText("<a>one  two</a>"), "one two");
    EXPECT_EQ(elementText("<a>one\r\n\t two\x01three</a>"), "one two three");
    // Leading white space goes, trailing white space leaves one space.
    EXPECT_EQ(elementText("<a>  lead and trail   </a>"), "lead and trail ");
}

TEST(XmlText, WhiteSpaceOnlyBetweenTagsMakesNoNode)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<a>\n    <b/>\n  \t</a>\n"));
    const auto* a = topNode<TVelaXMLTag>(xml, 0);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->Items.Count(), 1);
    EXPECT_EQ(a->Items.Get(0)->Kind(), TVelaXMLKind::Tag);
    EXPECT_EQ(xml.Root.Items.Count(), 1);
}

TEST(XmlText, TextBesideElementsBecomesSeparateNodes)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<a>x <b/> y</a>"));
    const auto* a = topNode<TVelaXMLTag>(xml, 0);
    ASSERT_EQ(a->Items.Count(), 3);
    EXPECT_EQ(childNode<TVelaXMLText>(a, 0)->Text, "x ");
    EXPECT_EQ(childNode<TVelaXMLText>(a, 2)->Text, "y");
}

TEST(XmlText, AttributeValuesKeepInnerWhiteSpaceButLoseLeading)
{
    EXPECT_EQ(attributeValue("<e v='   a  b\tc '/>"), "a  b\tc ");
    EXPECT_EQ(attributeValue("<e v=\"  \"/>"), "");
    EXPECT_EQ(attributeValue("<e v = \"it's\" />"), "it's");
    EXPECT_EQ(attributeValue("<e v='say \"hi\"'/>"), "say \"hi\"");
}

TEST(XmlText, NamedReferences)
{
    EXPECT_EQ(elementText("<a>&lt;&gt;&amp;&quot;&apos;</a>"), "<>&\"'");
    EXPECT_EQ(elementText("<a>&copy;&nbsp;&yuml;&euro;</a>"), "\xA9\xA0\xFF\x80");
    EXPECT_EQ(attributeValue("<e v='&lt;x&gt;'/>"), "<x>");
}

TEST(XmlText, NumericReferencesKeepTheLowByte)
{
    EXPECT_EQ(elementText("<a>&#65;&#x42;&#x6a;&#x6A;</a>"), "ABjj");
    EXPECT_EQ(elementText("<a>&#321;</a>"), "A"); // 0x141
    EXPECT_EQ(elementText("<a>&#+66;</a>"), "B");
    EXPECT_EQ(elementText("<a>&#-1;</a>"), "\xFF");
    EXPECT_EQ(elementText("<a>&#x-1;</a>"), "\xFF");
    // Thousands of digits: the value wraps silently instead of overflowing.
    const std::string longDigits = "<a>&#" + std::string(5000, '9') + ";</a>";
    EXPECT_EQ(elementText(longDigits).size(), 1u);
}

TEST(XmlText, UnknownEntityStaysAsWritten)
{
    EXPECT_EQ(elementText("<a>x &nope; y</a>"), "x &nope; y");
    EXPECT_EQ(elementText("<a>&COPY;</a>"), "&COPY;"); // case matters
    EXPECT_EQ(attributeValue("<e v='&what_1;'/>"), "&what_1;");
}

TEST(XmlText, ReferenceWithoutSemicolonFails)
{
    TVelaXML xml;
    EXPECT_FALSE(parseText(xml, "<a>fish &amp chips</a>"));
    EXPECT_EQ(xml.Root.Items.Count(), 0);
    EXPECT_FALSE(parseText(xml, "<a>&#65 </a>"));
    EXPECT_FALSE(parseText(xml, "<a v='&lt'/>"));
    EXPECT_FALSE(parseText(xml, "<a>&"));
}

TEST(XmlText, Utf8FoldsOnlyAfterTheDeclaration)
{
    EXPECT_EQ(elementText("<a>caf\xC3\xA9</a>"), "caf\xC3\xA9");
    EXPECT_EQ(elementText("<?xml version=\"1.0\" encoding=\"utf-8\"?><a>caf\xC3\xA9</a>"), "caf\xE9");
    // Three-byte sequences keep the low 8 bits of the code point: U+20AC -> 0xAC.
    EXPECT_EQ(elementText("<?xml encoding='UTF-8'?><a>\xE2\x82\xAC</a>"), "\xAC");
    EXPECT_EQ(attributeValue("<?xml encoding='UTF-8'?><e v='\xC3\xA9t\xC3\xA9'/>"), "\xE9t\xE9");
    // Any other encoding name keeps bytes as they are.
    EXPECT_EQ(elementText("<?xml encoding='ISO-8859-1'?><a>\xC3\xA9</a>"), "\xC3\xA9");
}

TEST(XmlText, BrokenUtf8SequenceEndsTheTextNode)
{
    TVelaXML xml;
    ASSERT_TRUE(parseText(xml, "<?xml encoding='UTF-8'?><a>ab\xC3z</a>"));
    const auto* a = topNode<TVelaXMLTag>(xml, 1);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->Items.Count(), 2);
    EXPECT_EQ(childNode<TVelaXMLText>(a, 0)->Text, "ab");
    EXPECT_EQ(childNode<TVelaXMLText>(a, 1)->Text, "z");
}

TEST(XmlEntities, TableHoldsTheLatin1SetInCodeOrder)
{
    for (int32_t i = 6; i < EntityCount; ++i) {
        EXPECT_EQ(EntitiesCharLookUp[i].Character, 0xA0 + (i - 6)) << EntitiesCharLookUp[i].Entity;
    }
    uint8_t c = 0;
    ASSERT_TRUE(FindEntity("&times;", c));
    EXPECT_EQ(c, 0xD7);
    ASSERT_TRUE(FindEntity("&szlig;", c));
    EXPECT_EQ(c, 0xDF);
    EXPECT_FALSE(FindEntity("&times", c));
    EXPECT_FALSE(FindEntity("", c));
}
