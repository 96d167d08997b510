#include "VelaXML/Reader.h"

#include "VelaXML/Entities.h"

#include <array>
#include <cstring>
#include <memory>

namespace {

bool isWhiteSpace(uint8_t c) { return c <= 0x20; }

bool isNameStart(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

bool isNameChar(uint8_t c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':'; }

bool isEntityNameChar(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool isContinuation(uint8_t c) { return c >= 0x80 && c <= 0xBF; }

int digitValue(uint8_t c, bool hex)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (hex && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (hex && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Bytes that end a run of plain bytes copied in one go. Text stops at white
// space (to fold it), "<" and "&"; attribute values stop at "&" and at their
// quote; with UTF-8 on, bytes above 0x7F stop both.
struct StopTables {
    std::array<bool, 256> text{};
    std::array<bool, 256> textUtf8{};
    std::array<bool, 256> doubleQuoted{};
    std::array<bool, 256> doubleQuotedUtf8{};
    std::array<bool, 256> singleQuoted{};
    std::array<bool, 256> singleQuotedUtf8{};
    StopTables()
    {
        for (int c = 0; c < 256; ++c) {
            const bool high = c >= 0x80;
            text[c] = c <= 0x20 || c == '<' || c == '&';
            textUtf8[c] = text[c] || high;
            doubleQuoted[c] = c == '"' || c == '&';
            doubleQuotedUtf8[c] = doubleQuoted[c] || high;
            singleQuoted[c] = c == '\'' || c == '&';
            singleQuotedUtf8[c] = singleQuoted[c] || high;
        }
    }
};

const StopTables& stopTables()
{
    static const StopTables tables;
    return tables;
}

} // namespace

TVelaXMLReader::TVelaXMLReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

void TVelaXMLReader::skipWhiteSpace()
{
    while (!atEnd_ && isWhiteSpace(current_)) {
        next();
    }
}

void TVelaXMLReader::addChild(TVelaXMLItem* item)
{
    if (parent().Items.Add(item) < 0) {
        fail();
    }
}

bool TVelaXMLReader::Read(TVelaXMLItem& root)
{
    root_ = &root;
    next();
    while (!stopped()) {
        skipWhiteSpace();
        if (atEnd_) {
            break;
        }
        if (current_ != '<') {
            readText(text_);
            if (!text_.empty()) {
                addChild(new TVelaXMLText(text_));
            }
            continue;
        }
        next();
        if (atEnd_) {
            break;
        }
        readMarkup();
    }
    // An element still open at the end never saw its closing tag.
    if (!open_.empty()) {
        fail();
    }
    return !error_;
}

void TVelaXMLReader::readMarkup()
{
    switch (current_) {
    case '?':
        readProcessTag();
        break;
    case '%':
        readScript();
        break;
    case '!':
        next();
        if (current_ == '-' && !atEnd_) {
            readComment();
        } else if (current_ == '[' && !atEnd_) {
            readCData();
        } else {
            readDeclaration();
        }
        break;
    default:
        readTag();
        break;
    }
}

void TVelaXMLReader::appendRun(std::string& out, const bool* stops)
{
    // current_ is data_[position_ - 1]; copy it and every following byte up to a stop.
    const size_t start = position_ - 1;
    size_t end = position_;
    while (end < size_ && !stops[data_[end]]) {
        ++end;
    }
    out.append(reinterpret_cast<const char*>(data_ + start), end - start);
    position_ = end;
    next();
}

void TVelaXMLReader::readText(std::string& text)
{
    text.clear();
    const bool* stops = mode_ == Utf8 ? stopTables().textUtf8.data() : stopTables().text.data();
    while (!stopped() && current_ != '<') {
        if (isWhiteSpace(current_)) {
            text += ' ';
            skipWhiteSpace();
        } else if (current_ == '&') {
            readReference(text);
        } else if (mode_ == Utf8 && current_ >= 0x80) {
            if (!readUtf8(text)) {
                break;
            }
        } else {
            appendRun(text, stops);
        }
    }
}

void TVelaXMLReader::readName(std::string& name)
{
    if (atEnd_ || !isNameStart(current_)) {
        return;
    }
    const size_t start = position_ - 1;
    while (!atEnd_ && isNameChar(current_)) {
        next();
    }
    const size_t end = atEnd_ ? size_ : position_ - 1;
    name.append(reinterpret_cast<const char*>(data_ + start), end - start);
}

void TVelaXMLReader::readTag()
{
    std::string& name = name_;
    name.clear();
    if (current_ == '/') {
        next();
        if (atEnd_) {
            fail();
            return;
        }
        name.push_back('/');
    }
    readName(name);
    if (atEnd_) {
        fail();
        return;
    }
    const size_t attributeCount = readAttributes();
    if (error_) {
        return;
    }
    bool empty = false;
    if (current_ == '/' && !atEnd_) {
        empty = true;
        next();
        if (atEnd_) {
            fail();
            return;
        }
    }
    if (atEnd_ || current_ != '>') {
        fail();
        return;
    }
    next();

    // A closing tag is checked before any node is made for it: half of all
    // tags are closing tags, and they are discarded when they match.
    if (!open_.empty()) {
        const std::string& openName = open_.back()->Name;
        if (name.size() == openName.size() + 1 && name[0] == '/' && name.compare(1, std::string::npos, openName) == 0) {
            open_.pop_back();
            return;
        }
    }
    // A closing tag that matches nothing becomes an element named "/...";
    // it never closes, so the document fails at its end.
    auto* tag = new TVelaXMLTag(name);
    if (parent().Items.Add(tag) < 0) {
        fail();
        return;
    }
    installAttributes(*tag, attributeCount);
    if (!empty) {
        open_.push_back(tag);
    }
}

size_t TVelaXMLReader::readAttributes()
{
    size_t count = 0;
    skipWhiteSpace();
    while (!stopped() && isNameStart(current_)) {
        if (count == attributes_.size()) {
            attributes_.emplace_back();
        }
        auto& [name, value] = attributes_[count];
        name.clear();
        value.clear();
        readName(name);
        skipWhiteSpace();
        if (atEnd_ || current_ != '=') {
            fail();
            return count;
        }
        next();
        skipWhiteSpace();
        if (atEnd_ || (current_ != '"' && current_ != '\'')) {
            fail();
            return count;
        }
        const uint8_t quote = current_;
        next();
        readAttributeValue(quote, value);
        if (stopped()) {
            fail();
            return count;
        }
        ++count;
        skipWhiteSpace();
    }
    return count;
}

void TVelaXMLReader::installAttributes(TVelaXMLTag& tag, size_t count)
{
    // Sizing the tag once spares it the regrowth of adding one by one.
    size_t nameBytes = 0;
    for (size_t i = 0; i < count; ++i) {
        nameBytes += attributes_[i].first.size();
    }
    tag.Parameters.reserve(count);
    tag.ParameterIndex.Reserve(nameBytes);
    for (size_t i = 0; i < count; ++i) {
        tag.AddParameter(std::move(attributes_[i].first), std::move(attributes_[i].second));
    }
}

void TVelaXMLReader::readAttributeValue(uint8_t quote, std::string& value)
{
    const StopTables& tables = stopTables();
    const bool* stops = quote == '"' ? (mode_ == Utf8 ? tables.doubleQuotedUtf8.data() : tables.doubleQuoted.data())
                                     : (mode_ == Utf8 ? tables.singleQuotedUtf8.data() : tables.singleQuoted.data());
    skipWhiteSpace();
    while (!stopped() && current_ != quote) {
        if (current_ == '&') {
            readReference(value);
        } else if (mode_ == Utf8 && current_ >= 0x80) {
            if (!readUtf8(value)) {
                // A broken sequence ends the value; its stray byte is read as what follows.
                return;
            }
        } else {
            appendRun(value, stops);
        }
    }
    if (!stopped()) {
        next();
    }
}

void TVelaXMLReader::readProcessTag()
{
    next();
    std::string name;
    readName(name);
    if (stopped()) {
        fail();
        return;
    }
    auto* tag = new TVelaXMLProcessTag(std::move(name));
    addChild(tag);
    if (error_) {
        return;
    }
    installAttributes(*tag, readAttributes());
    if (error_) {
        return;
    }
    if (atEnd_ || current_ != '?') {
        fail();
        return;
    }
    next();
    if (atEnd_ || current_ != '>') {
        fail();
        return;
    }
    next();
    if (tag->Name == "xml") {
        std::string encoding = tag->GetParameter("encoding", "ascii");
        for (char& c : encoding) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        mode_ = encoding == "UTF-8" ? Utf8 : encoding == "UTF-16" ? Utf16 : Bytes;
    }
}

bool TVelaXMLReader::readUntil(std::string_view terminator, std::string& text)
{
    if (atEnd_) {
        fail();
        return false;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data_ + position_ - 1), size_ - (position_ - 1));
    const size_t found = rest.find(terminator);
    if (found == std::string_view::npos) {
        fail();
        return false;
    }
    text.assign(rest.data(), found);
    position_ += found - 1 + terminator.size();
    next();
    return true;
}

void TVelaXMLReader::readScript()
{
    next();
    std::string text;
    if (readUntil("%>", text)) {
        addChild(new TVelaXMLScriptTag(std::move(text)));
    }
}

void TVelaXMLReader::readComment()
{
    next();
    if (atEnd_ || current_ != '-') {
        fail();
        return;
    }
    next();
    std::string text;
    if (readUntil("-->", text)) {
        addChild(new TVelaXMLCommentTag(std::move(text)));
    }
}

void TVelaXMLReader::readCData()
{
    next();
    for (const char expected : std::string_view("CDATA[")) {
        if (atEnd_ || current_ != static_cast<uint8_t>(expected)) {
            fail();
            return;
        }
        next();
    }
    std::string text;
    if (readUntil("]]>", text)) {
        addChild(new TVelaXMLCDataTag(std::move(text)));
    }
}

void TVelaXMLReader::readDeclaration()
{
    std::string text;
    if (!readUntil(">", text)) {
        return;
    }
    constexpr std::string_view doctype = "DOCTYPE";
    if (text.compare(0, doctype.size(), doctype) == 0) {
        size_t start = doctype.size();
        while (start < text.size() && isWhiteSpace(static_cast<uint8_t>(text[start]))) {
            ++start;
        }
        addChild(new TVelaXMLDOCTYPETag(text.substr(start)));
    } else {
        addChild(new TVelaXMLExtraTag(std::move(text)));
    }
}

void TVelaXMLReader::readReference(std::string& out)
{
    next();
    if (!atEnd_ && current_ == '#') {
        next();
        const bool hex = !atEnd_ && current_ == 'x';
        if (hex) {
            next();
        }
        bool negative = false;
        if (!atEnd_ && (current_ == '-' || current_ == '+')) {
            negative = current_ == '-';
            next();
        }
        // Only the low 8 bits are kept, and unsigned wrap-around preserves
        // them, so a reference with thousands of digits is harmless.
        uint32_t value = 0;
        const uint32_t base = hex ? 16 : 10;
        for (int digit; !atEnd_ && (digit = digitValue(current_, hex)) >= 0; next()) {
            value = value * base + static_cast<uint32_t>(digit);
        }
        if (atEnd_ || current_ != ';') {
            fail();
            return;
        }
        next();
        if (negative) {
            value = 0u - value;
        }
        out += static_cast<char>(value & 0xFF);
        return;
    }
    std::string reference = "&";
    while (!atEnd_ && isEntityNameChar(current_)) {
        reference += static_cast<char>(current_);
        next();
    }
    if (atEnd_ || current_ != ';') {
        fail();
        return;
    }
    next();
    reference += ';';
    uint8_t character = 0;
    if (FindEntity(reference, character)) {
        out += static_cast<char>(character);
    } else {
        // Unknown names stay as written, so nothing of the source is lost.
        out += reference;
    }
}

bool TVelaXMLReader::readUtf8(std::string& out)
{
    uint32_t value = current_ & 0x3Fu;
    if ((value & 0x20u) != 0) {
        next();
        if (atEnd_ || !isContinuation(current_)) {
            return false;
        }
        value = value << 6 | (current_ & 0x3Fu);
    }
    next();
    if (atEnd_ || !isContinuation(current_)) {
        return false;
    }
    value = value << 6 | (current_ & 0x3Fu);
    out += static_cast<char>(value & 0xFF);
    next();
    return true;
}
