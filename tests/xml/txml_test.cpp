// Tests of the TXml reader: element search, list stepping, child values and attributes, with the
// edge behaviour the callers rely on (prefix match, empty items, unchanged destinations).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "server/xml/txml.h"

namespace tarmel {
namespace {

// A query answer as the data server writes it: two rows, the root carries the row count.
const std::string kRowset =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
    "<AXQueryS RowCount=\"2\" EOF=\"1\">"
    "<AXQuery><cpt>1</cpt><CliNom>Dupont</CliNom></AXQuery>"
    "<AXQuery><cpt>2</cpt><CliNom>Martin</CliNom></AXQuery>"
    "</AXQueryS>";

// A reader whose current element is the whole of `element`, as if XmlNext had just stopped on it.
TXml ReaderOn(std::string element) {
    TXml reader(std::move(element));
    reader.currentEnd = reader.wholeText().size();
    return reader;
}

// Every step XmlNext takes through the reader: its return value and the item's content. Also
// checks that the failing call that ends the walk leaves the reader as it was.
std::vector<std::pair<int, std::string>> Walk(TXml& reader, std::string_view item) {
    std::vector<std::pair<int, std::string>> steps;
    for (;;) {
        const TXml before = reader;
        const int position = XmlNext(reader, item);
        if (position == 0) {
            EXPECT_EQ(reader.remainingText(), before.remainingText());
            EXPECT_EQ(reader.currentElement(), before.currentElement());
            return steps;
        }
        steps.emplace_back(position, std::string(reader.currentElement()));
        if (steps.size() > 100) {
            ADD_FAILURE() << "walk does not end";
            return steps;
        }
    }
}

TEST(XmlFind, PositionsOnTheElementContent) {
    struct Case {
        const char* what;
        std::string document;
        const char* name;
        const char* content;
    };
    const Case cases[] = {
        {"a list gives its items up to its closing tag", kRowset, "AXQueryS",
         "<AXQuery><cpt>1</cpt><CliNom>Dupont</CliNom></AXQuery>"
         "<AXQuery><cpt>2</cpt><CliNom>Martin</CliNom></AXQuery>"},
        {"the name is a prefix: AXQuery stops at AXQueryS and runs to the first row's end", kRowset,
         "AXQuery", "<AXQuery><cpt>1</cpt><CliNom>Dupont</CliNom>"},
        {"an element holding plain text has empty content", "<R><Nom>Dupont</Nom></R>", "Nom", ""},
        {"the closing tag is searched after the element, not from the top",
         "</L><L><i>1</i></L>", "L", "<i>1</i>"},
        {"the first of two elements wins", "<O><N>1</N></O><O><N>2</N></O>", "O", "<N>1</N>"},
        {"missing element", kRowset, "OutParams", ""},
        {"missing closing tag", "<ImageS><Image>a.jpg</Image>", "ImageS", ""},
        {"no tag after the start tag", "<ImageS>", "ImageS", ""},
        {"empty document", "", "ImageS", ""},
        {"case-sensitive name", "<imageS><Image>a</Image></imageS>", "ImageS", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXml reader(c.document);
        reader.position = 7;
        XmlFind(reader, c.name);
        EXPECT_EQ(reader.currentElement(), c.content);
        EXPECT_EQ(reader.remainingText(), c.content);
        EXPECT_EQ(reader.position, 0);
    }
}

TEST(XmlFind, OneRowAnswerIsReadWithoutStepping) {
    TXml reader(kRowset);
    XmlFind(reader, "AXQuery");
    std::string count = "unset", name = "unset";
    XmlValue(reader, "cpt", count);
    XmlValue(reader, "CliNom", name);
    EXPECT_EQ(count, "1");
    EXPECT_EQ(name, "Dupont");
}

TEST(XmlFind, ResetsAPreviousWalk) {
    TXml reader(kRowset);
    XmlFind(reader, "AXQueryS");
    const std::string list(reader.remainingText());
    ASSERT_NE(XmlNext(reader, "AXQuery"), 0);
    ASSERT_NE(XmlNext(reader, "AXQuery"), 0);
    reader.position = 5;

    XmlFind(reader, "AXQueryS");
    EXPECT_EQ(reader.remainingText(), list);
    EXPECT_EQ(reader.position, 0);
    std::string first;
    ASSERT_NE(XmlNext(reader, "AXQuery"), 0);
    XmlValue(reader, "cpt", first);
    EXPECT_EQ(first, "1");

    // A failed search forgets the row too, so a stale row cannot answer XmlValue.
    XmlFind(reader, "OutParams");
    EXPECT_EQ(reader.currentElement(), "");
    EXPECT_EQ(reader.remainingText(), "");
    std::string id = "unset";
    XmlValue(reader, "cpt", id);
    EXPECT_EQ(id, "unset");
}

TEST(XmlNext, StepsThroughItemsInDocumentOrder) {
    using Steps = std::vector<std::pair<int, std::string>>;
    struct Case {
        const char* what;
        const char* document;
        const char* list;  // found with XmlFind before stepping
        const char* item;
        Steps steps;       // return value and content of every successful step
    };
    const Case cases[] = {
        {"rows of a rowset", kRowset.c_str(), "AXQueryS", "AXQuery",
         {{1, "<cpt>1</cpt><CliNom>Dupont</CliNom>"}, {1, "<cpt>2</cpt><CliNom>Martin</CliNom>"}}},
        {"the return value is the 1-based position of the start tag in the remaining text",
         "<L><x></x>ab<i>1</i>c<i>2</i></L>", "L", "i", {{10, "1"}, {2, "2"}}},
        {"Image does not stop at the list element ImageS",
         "<R><ImageS><Image>a.jpg</Image><Image>b.jpg</Image></ImageS></R>", "R", "Image",
         {{9, "a.jpg"}, {1, "b.jpg"}}},
        {"an item whose start tag carries attributes is not found",
         "<L><Image id=\"3\">a.jpg</Image></L>", "L", "Image", {}},
        {"its closing tag still ends an empty item before the next one",
         "<L><Image id=\"3\">a.jpg</Image><Image>b.jpg</Image></L>", "L", "Image",
         {{28, ""}, {1, "b.jpg"}}},
        {"a closing tag before the start tag gives an empty item and is stepped over",
         "<L><x></i><i>1</i></x></L>", "L", "i", {{8, ""}, {1, "1"}}},
        {"items do not nest: the first closing tag ends the item",
         "<L><i>a<i>b</i>c</i></L>", "L", "i", {{1, "a<i>b"}}},
        {"an empty item", "<L><i></i><i>2</i></L>", "L", "i", {{1, ""}, {1, "2"}}},
        {"a start tag without closing tag ends the walk", "<L><i>1</i><i>2</L>", "L", "i",
         {{1, "1"}}},
        {"items outside the list are not reached", "<L><i>1</i></L><i>2</i>", "L", "i",
         {{1, "1"}}},
        {"a list without items", "<L><x>1</x></L>", "L", "i", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXml reader(c.document);
        XmlFind(reader, c.list);
        EXPECT_EQ(Walk(reader, c.item), c.steps);
    }
}

TEST(XmlNext, FindsNothingWithoutAPositionedReader) {
    TXml empty;
    EXPECT_EQ(XmlNext(empty, "AXQuery"), 0);
    EXPECT_EQ(empty.currentElement(), "");

    // The remaining text is set by XmlFind only, not by setting the text.
    TXml unpositioned(kRowset);
    EXPECT_EQ(XmlNext(unpositioned, "AXQuery"), 0);
}

TEST(XmlNext, ACopyStepsWithoutDisturbingTheOriginal) {
    TXml shared(kRowset);
    XmlFind(shared, "AXQueryS");
    ASSERT_NE(XmlNext(shared, "AXQuery"), 0);
    const std::string row(shared.currentElement());
    const std::string rest(shared.remainingText());

    TXml local = shared;
    EXPECT_EQ(local.wholeText().data(), shared.wholeText().data()) << "a copy shares the text";
    ASSERT_NE(XmlNext(local, "AXQuery"), 0);
    EXPECT_EQ(XmlNext(local, "AXQuery"), 0);

    EXPECT_EQ(shared.currentElement(), row);
    EXPECT_EQ(shared.remainingText(), rest);
    std::string name;
    ASSERT_NE(XmlNext(shared, "AXQuery"), 0);
    XmlValue(shared, "CliNom", name);
    EXPECT_EQ(name, "Martin");
}

TEST(XmlValue, CopiesTheFirstChildOfTheCurrentElement) {
    struct Case {
        const char* what;
        const char* element;
        const char* name;
        const char* expected;  // the destination starts as "before"
    };
    const Case cases[] = {
        {"Site is not taken from VO_SITE", "<VO_SITE>12</VO_SITE><Site>Lyon</Site>", "Site", "Lyon"},
        {"a missing child leaves the destination", "<VO_ID>12</VO_ID>", "Site", "before"},
        {"a child at any depth", "<Adr><Rue><Ville>Lyon</Ville></Rue></Adr>", "Ville", "Lyon"},
        {"an empty child clears the destination", "<Nom></Nom>", "Nom", ""},
        {"the first of two children", "<Nom>A</Nom><Nom>B</Nom>", "Nom", "A"},
        {"a closing tag before the start tag leaves the destination",
         "<x></Nom></x><Nom>A</Nom>", "Nom", "before"},
        {"a start tag without closing tag leaves the destination", "<Nom>A", "Nom", "before"},
        {"a start tag with attributes is not a child", "<Nom a=\"1\">A</Nom>", "Nom", "before"},
        {"entities stay as they are", "<Nom>A &amp; B&cr;C</Nom>", "Nom", "A &amp; B&cr;C"},
        {"Latin-1 bytes stay as they are", "<Lib>R\xE9servation</Lib>", "Lib", "R\xE9servation"},
        {"the name is case-sensitive", "<nom>A</nom>", "Nom", "before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TXml reader = ReaderOn(c.element);
        std::string destination = "before";
        XmlValue(reader, c.name, destination);
        EXPECT_EQ(destination, c.expected);
    }
}

TEST(XmlValue, LooksOnlyInsideTheCurrentElement) {
    TXml reader(kRowset);
    XmlFind(reader, "AXQueryS");
    ASSERT_NE(XmlNext(reader, "AXQuery"), 0);
    ASSERT_NE(XmlNext(reader, "AXQuery"), 0);
    std::string name;
    XmlValue(reader, "CliNom", name);
    EXPECT_EQ(name, "Martin");

    // The rows are in the whole text but not inside the list's current element any more.
    XmlFind(reader, "CliNom");
    std::string count = "unset";
    XmlValue(reader, "cpt", count);
    EXPECT_EQ(count, "unset");
}

TEST(XmlAttr, CopiesAShortValueFromTheWholeText) {
    struct Case {
        const char* what;
        const char* document;
        const char* name;
        const char* expected;  // the destination starts as "before"
    };
    const Case cases[] = {
        {"a four-digit row count", "<AXQueryS RowCount=\"5000\" EOF=\"0\">", "RowCount", "5000"},
        {"the second attribute", "<AXQueryS RowCount=\"5000\" EOF=\"0\">", "EOF", "0"},
        {"an empty value", "<AXQueryS RowCount=\"\">", "RowCount", ""},
        {"a 19-character value", "<a v=\"1234567890123456789\">", "v", "1234567890123456789"},
        {"a 20-character value leaves the destination", "<a v=\"12345678901234567890\">", "v",
         "before"},
        {"a missing attribute leaves the destination", "<a EOF=\"1\">", "RowCount", "before"},
        {"a missing closing quote at the end of the text", "<a v=\"12", "v", "before"},
        {"blanks around = are not recognised", "<a v = \"1\">", "v", "before"},
        {"the name also matches the end of a longer name", "<a MaxRowCount=\"7\">", "RowCount",
         "7"},
        {"the first occurrence wins", "<a v=\"1\"><b v=\"2\">", "v", "1"},
        {"Latin-1 bytes stay as they are", "<a Site=\"N\xEEmes\">", "Site", "N\xEEmes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TXml reader(c.document);
        std::string destination = "before";
        XmlAttr(reader, c.name, destination);
        EXPECT_EQ(destination, c.expected);
    }
}

TEST(XmlAttr, ReadsTheRootWhileARowIsCurrent) {
    TXml reader(kRowset);
    XmlFind(reader, "AXQueryS");
    ASSERT_NE(XmlNext(reader, "AXQuery"), 0);
    std::string rows, eof;
    XmlAttr(reader, "RowCount", rows);
    XmlAttr(reader, "EOF", eof);
    EXPECT_EQ(rows, "2");
    EXPECT_EQ(eof, "1");
}

}  // namespace
}  // namespace tarmel
