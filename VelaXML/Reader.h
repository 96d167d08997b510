#pragma once

#include "VelaXML/Nodes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Byte-oriented reader that fills a node tree from a document image. Open
// elements live on an explicit stack, so nesting depth costs heap, not stack.
class TVelaXMLReader {
public:
    // How bytes above 0x7F are read, as set by the XML declaration.
    enum Encoding : int32_t { Bytes = 0, Utf8 = 1, Utf16 = 2 };

    // Reads from size bytes at data; the bytes must outlive the reader.
    TVelaXMLReader(const uint8_t* data, size_t size);
    // Parses the whole image into root's children; false on the first syntax error.
    bool Read(TVelaXMLItem& root);
    // The encoding mode in effect at the point the reader stopped.
    Encoding Mode() const { return mode_; }

private:
    void next()
    {
        if (position_ < size_) {
            current_ = data_[position_++];
        } else {
            atEnd_ = true;
            current_ = 0;
        }
    }
    void fail() { error_ = true; }
    bool stopped() const { return atEnd_ || error_; }
    void skipWhiteSpace();

    void readMarkup();
    void readText(std::string& text);
    void readName(std::string& name);
    void readTag();
    size_t readAttributes();
    void installAttributes(TVelaXMLTag& tag, size_t count);
    void readAttributeValue(uint8_t quote, std::string& value);
    void readProcessTag();
    void readScript();
    void readComment();
    void readCData();
    void readDeclaration();
    bool readUntil(std::string_view terminator, std::string& text);
    void readReference(std::string& out);
    bool readUtf8(std::string& out);
    void appendRun(std::string& out, const bool* stops);

    TVelaXMLItem& parent() { return open_.empty() ? *root_ : *open_.back(); }
    void addChild(TVelaXMLItem* item);

    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    uint8_t current_ = 0;
    bool atEnd_ = false;
    bool error_ = false;
    Encoding mode_ = Bytes;
    TVelaXMLItem* root_ = nullptr;
    std::vector<TVelaXMLTag*> open_;
    std::string text_;
    std::string name_;
    // Attributes of the tag being read, gathered before the tag is sized for them.
    std::vector<std::pair<std::string, std::string>> attributes_;
};
