// Reading the structure description's entries into descriptors.
#include "formdesc/fieldentry.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "server/xml/texttools.h"

namespace tarmel {

namespace {

constexpr size_t kTailLimit = 200;  // what follows the first ';' is read up to this length

}  // namespace

int PixelsFromTwips(int twips) {
    // Nearest integer, halves away from zero (22 twips: 1 px, 23 twips: 2 px).
    const int half = twips >= 0 ? 7 : -7;
    return (twips + half) / 15;
}

std::string DecodeBasicEntities(std::string_view text) {
    std::string out(text);
    ReplaceAll(out, "&amp;", "&");
    ReplaceAll(out, "&lt;", "<");
    ReplaceAll(out, "&gt;", ">");
    return out;
}

std::string DecodeTextEntities(std::string_view text) {
    std::string out = DecodeBasicEntities(text);
    ReplaceAll(out, "&cr;", "\r\n");
    return out;
}

std::string RightsTag(std::string_view tag) { return ";" + UpperAscii(tag) + ";"; }

ListReference ListReferenceOf(std::string_view fieldInfo, std::string_view columnName) {
    ListReference ref;
    ref.listKey = std::string(columnName);
    ref.listName = fieldInfo.empty() ? std::string(columnName) : std::string(fieldInfo);
    ref.rubric = ref.listName;
    const size_t semicolon = ref.listName.find(';');
    if (semicolon != std::string::npos) {
        ref.listKey = ref.listName.substr(semicolon + 1, kTailLimit);
        ref.listName.resize(semicolon);
        ref.rubric = ref.listName;
    } else if (UpperAscii(std::string_view(ref.listName).substr(0, 4)) == "LIST") {
        ref.listName = std::string(columnName);
    }
    return ref;
}

Colour ColourOr(std::string_view text, Colour fallback) {
    // Colours are written as signed or unsigned 32-bit decimals (system colours have the top byte
    // 0xFF, so both spellings occur).
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < INT32_MIN || value > UINT32_MAX)
        return fallback;
    return static_cast<Colour>(value);
}

int IntegerOr(std::string_view text, int fallback) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return fallback;
    return value;
}

std::string FieldEntryReader::child(const TXml& entry, const char* name) {
    std::string& text = last_[name];
    XmlValue(entry, name, text);
    return text;
}

FieldEntry FieldEntryReader::Read(const TXml& entry) {
    FieldEntry field;
    TsDesc& d = field.desc;

    // vInfo alone starts empty for every entry: a field never inherits its column.
    last_["vInfo"].clear();
    const std::string vInfo = child(entry, "vInfo");
    const size_t semicolon = vInfo.find(';');
    field.vInfoHasSeparator = semicolon != std::string::npos;
    d.columnName = vInfo.substr(0, semicolon);
    if (field.vInfoHasSeparator) d.readName = vInfo.substr(semicolon + 1, kTailLimit);

    const int twipsWidth = IntegerOr(child(entry, "width"), 20);
    const int twipsLeft = IntegerOr(child(entry, "left"), 20);
    const int twipsTop = IntegerOr(child(entry, "top"), 20);
    const int twipsHeight = IntegerOr(child(entry, "height"), 20);
    field.place.length = IntegerOr(child(entry, "length"), 0);
    d.dataType = IntegerOr(child(entry, "tInfo"), 0);
    d.controlKind = IntegerOr(child(entry, "tControl"), 0);
    d.fontColour = ColourOr(child(entry, "color"), 0);
    field.place.idNum = IntegerOr(child(entry, "idNum"), 0);
    field.place.enabledCode = IntegerOr(child(entry, "enabled"), 0);

    field.place.width = PixelsFromTwips(twipsWidth);
    field.place.left = PixelsFromTwips(twipsLeft);
    field.place.top = PixelsFromTwips(twipsTop) - 35;
    field.place.height = std::max(PixelsFromTwips(twipsHeight), 18);
    d.width = field.place.width;

    d.caption = DecodeBasicEntities(child(entry, "txtInfo"));
    d.rightsTag = RightsTag(child(entry, "tag"));
    d.mandatory = UpperAscii(child(entry, "notNull")) == "TRUE";
    field.fieldInfo = child(entry, "fieldInfo");
    const ListReference ref = ListReferenceOf(field.fieldInfo, d.columnName);
    d.listName = ref.listName;
    d.listKey = ref.listKey;
    d.rubric = ref.rubric;
    d.defaultValue = child(entry, "defval");
    return field;
}

void TakeDescription(TsDesc& desc, const FieldEntry& entry) {
    const TsDesc& read = entry.desc;
    desc.columnName = read.columnName;
    desc.readName = read.readName;
    desc.caption = read.caption;
    desc.rightsTag = read.rightsTag;
    desc.mandatory = read.mandatory;
    desc.listName = read.listName;
    desc.listKey = read.listKey;
    desc.rubric = read.rubric;
    desc.defaultValue = read.defaultValue;
    desc.dataType = read.dataType;
    desc.controlKind = read.controlKind;
    desc.fontColour = read.fontColour;
    desc.width = entry.place.width;
}

FieldEntriesByKey ReadFieldEntries(const TXml& structure,
                                   const std::vector<std::string>& fieldKeys) {
    FieldEntriesByKey entries;
    for (const std::string& key : fieldKeys) entries[key];
    // One walk and one reader for the whole description: what an entry leaves out comes from the
    // entry read before it, on this page or on an earlier one.
    TXml walk = structure;
    XmlFind(walk, "axStructS");
    FieldEntryReader reader;
    std::string descInfo;  // carried over too, as every child
    while (XmlNext(walk, "axStruct") > 0) {
        XmlValue(walk, "descInfo", descInfo);
        const auto page = entries.find(descInfo);
        if (page != entries.end()) page->second.push_back(reader.Read(walk));
    }
    return entries;
}

PageEntry FindPageEntry(const TXml& structure, std::string_view recordKind, int number) {
    TXml walk = structure;
    XmlFind(walk, "axStructS");
    const std::string wanted = std::to_string(number);
    std::string descInfo, idNum;  // carried over between entries, as the field reader does
    while (XmlNext(walk, "axStruct") > 0) {
        XmlValue(walk, "descInfo", descInfo);
        XmlValue(walk, "idNum", idNum);
        if (descInfo != recordKind || idNum != wanted) continue;
        PageEntry page;
        page.found = true;
        XmlValue(walk, "txtInfo", page.caption);
        XmlValue(walk, "vInfo", page.fieldKey);
        XmlValue(walk, "tag", page.tableTag);
        XmlValue(walk, "defval", page.prefix);
        return page;
    }
    return {};
}

std::vector<GridColumn> GridColumns(const TXml& structure, std::string_view gridKey, size_t maximum) {
    std::vector<GridColumn> columns;
    TXml walk = structure;
    XmlFind(walk, "axStructS");
    std::map<std::string, std::string, std::less<>> last;
    auto child = [&](const char* name) -> const std::string& {
        std::string& text = last[name];
        XmlValue(walk, name, text);
        return text;
    };
    while (columns.size() < maximum && XmlNext(walk, "axStruct") > 0) {
        if (child("descInfo") != gridKey) continue;
        GridColumn column;
        column.element = child("vInfo");
        const std::string& tag = child("tag");
        if (!tag.empty()) column.rightsTag = RightsTag(tag);
        column.dataType = IntegerOr(child("tInfo"), 0);
        column.controlKind = IntegerOr(child("tControl"), 0);
        column.fontColour = ColourOr(child("color"), 0);
        column.mandatory = UpperAscii(child("notNull")) == "TRUE";
        column.defaultValue = child("defval");
        column.width = IntegerOr(child("width"), 0);
        column.caption = DecodeBasicEntities(child("txtInfo"));
        columns.push_back(std::move(column));
    }
    return columns;
}

}  // namespace tarmel
