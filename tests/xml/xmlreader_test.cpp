#include "xml/xmlreader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "host/errorlog.h"
#include "host/host.h"

namespace {

namespace fs = std::filesystem;

// Each test writes its XML into a fresh game data directory.
class XmlReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = gHostOptions;
        std::string pattern = (fs::path(::testing::TempDir()) / "xmlreader-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        rom_ = pattern;
        gHostOptions.romDir = rom_.string();
        HostClearErrorLog();
    }
    void TearDown() override
    {
        for (auto& r : open_) BasicXmlReader_Fini(r.get());
        gHostOptions = saved_;
        fs::remove_all(rom_);
    }
    // Writes text as Resource/name and opens a reader on it (by the name with a backslash, as the
    // game names its files).
    sBasicXmlReader* Open(const std::string& text, const std::string& name = "test.xml")
    {
        fs::create_directories(rom_ / "Resource");
        std::ofstream(rom_ / "Resource" / name, std::ios::binary) << text;
        open_.push_back(std::make_unique<sBasicXmlReader>());
        sBasicXmlReader* r = open_.back().get();
        EXPECT_EQ(BasicXmlReader_Init(r, ("Resource\\" + name).c_str()), 1);
        return r;
    }

    HostOptions saved_;
    fs::path rom_;
    std::vector<std::unique_ptr<sBasicXmlReader>> open_;
};

// Reads a whole document the way the loaders do and writes down every token: "<tag", " att=val"
// (" att" without a value), then ">" or "/>" with the depth after it; "</tag>" likewise.
std::string Walk(sBasicXmlReader* r)
{
    std::string s;
    while (BasicXmlReader_NextTag(r)) {
        s += (r->isEndTag ? "</" : "<") + std::string(r->tagBuffer);
        if (!r->isEndTag) {
            while (BasicXmlReader_NextAtt(r)) {
                s += " " + std::string(r->attBuffer);
                if (BasicXmlReader_NextVal(r)) s += "=" + std::string(r->valBuffer);
            }
        }
        if (!BasicXmlReader_NextEnd(r)) {
            s += "|end";
            break;
        }
        s += (r->isEmptyTag ? "/>" : ">") + std::to_string(r->tagDepth) + " ";
    }
    return s;
}

// Reads every comma-ended cell of the text following one start tag.
std::string Cells(sBasicXmlReader* r, int count, int size = 64)
{
    std::string s;
    std::vector<char> cell(size_t(size), 'x');
    for (int i = 0; i < count; ++i) {
        int ok = BasicXmlReader_ReadBeforeToken(r, ",", cell.data(), size);
        s += ok ? "[" + std::string(cell.data()) + "]" : "!" + std::string(cell.data());
    }
    return s;
}

TEST_F(XmlReader, ReadsTagsAttributesAndDepth)
{
    sBasicXmlReader* r = Open(
        // The declaration reads as an element that stays open.
        "<?xml version=\"1.0\"?>\n"
        "<BasicUiEnvironment>\n"
        "  <BasicUiDisplay name=\"top\" x = \"12\" y=\"-3\">\n"
        "    <BasicUiWidget name=\"w.1\"/>\n"
        "    <Empty/>\n"
        "  </BasicUiDisplay>\n"
        "</BasicUiEnvironment>\n");
    EXPECT_EQ(Walk(r),
              "<xml version=1.0>1 <BasicUiEnvironment>2 <BasicUiDisplay name=top x=12 y=-3>3 <BasicUiWidget name=w.1/>3 "
              "<Empty/>3 </BasicUiDisplay>2 </BasicUiEnvironment>1 ");
    EXPECT_EQ(HostErrorLog(), "");
}

TEST_F(XmlReader, AnElementWithoutAttributesLeavesItsEndForNextEnd)
{
    sBasicXmlReader* r = Open("<a/><b>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    EXPECT_EQ(BasicXmlReader_NextAtt(r), 0);
    EXPECT_EQ(BasicXmlReader_NextAtt(r), 0);  // still in front of "/>"
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    EXPECT_EQ(r->isEmptyTag, 1);
    EXPECT_EQ(Walk(r), "<b>1 ");
    EXPECT_STREQ(r->tagBuffer, "");
}

TEST_F(XmlReader, CommentsEndAtEitherCloseAndKeepTheRestOfTheFile)
{
    sBasicXmlReader* r = Open(
        "<!-- a <hidden x=\"1\"/> comment -->\n<a/>\n"
        "<!-- old close --!><b/>\n"
        "<!----><c/><!-- - -- > --><d/>");
    EXPECT_EQ(Walk(r), "<a/>0 <b/>0 <c/>0 <d/>0 ");
    r = Open("<a/><!-- never closed <b/> -- >");
    EXPECT_EQ(Walk(r), "<a/>0 ");
}

// The end of input inside a comment or a tag loses the rest of the file: it is said, with where.
TEST_F(XmlReader, InputEndingInsideACommentOrTagIsReportedWithItsLine)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"<a/>\n<!-- never\nclosed <b/>", "the comment opened on line 2 is never closed"},
        {"<a>\n\n  <b x=\"1\" y", "the tag b opened on line 3 is never closed"},
        {"<a>\n<b x=\"never closed/>\n<c/>", "the tag b opened on line 2 is never closed"},
    };
    for (const auto& c : cases) {
        HostClearErrorLog();
        Walk(Open(c.text));
        EXPECT_NE(HostErrorLog().find(c.message), std::string::npos) << c.text << "\n" << HostErrorLog();
        EXPECT_NE(HostErrorLog().find("\"Resource\\\\test.xml\""), std::string::npos) << HostErrorLog();
    }
}

TEST_F(XmlReader, EntitiesInValues)
{
    sBasicXmlReader* r = Open(
        "<e a=\"x &amp; y\" b=\"&lt;&gt;&quot;&apos;\" c=\"&amp;lt;\" d=\"&unknown;&\" e=\"50%\"/>");
    EXPECT_EQ(Walk(r), "<e a=x & y b=<>\"' c=&lt; d=unknown; e=50%/>0 ");
}

TEST_F(XmlReader, NamesAndValuesOf255CharactersAreRead)
{
    std::string n(255, 'n'), v(254, 'v');
    // The value's last place is taken by one entity: 255 characters once decoded.
    sBasicXmlReader* r = Open("<" + n + " " + n + "=\"" + v + "&amp;\"/>");
    EXPECT_EQ(Walk(r), "<" + n + " " + n + "=" + v + "&/>0 ");
    EXPECT_EQ(HostErrorLog(), "");
}

TEST_F(XmlReader, OverlongTokensAreSkippedAndTheElementStaysInStep)
{
    std::string n(256, 'n'), v(256, 'v');
    sBasicXmlReader* r = Open("<root>\n"
                              "<" + n + " a=\"1\"><x/></" + n + ">\n"
                              "<b " + n + "=\"2\" c=\"3\"/>\n"
                              "<d e=\"" + v + "\" f=\"4\"/>\n"
                              "<g h=\"" + std::string(254, 'v') + "&amp;&lt;\" i=\"5\"/>\n"
                              "</root>");
    // The long names come back empty, the long values are dropped; nothing after them is lost.
    EXPECT_EQ(Walk(r), "<root>1 < a=1>2 <x/>2 </>1 <b =2 c=3/>1 <d e f=4/>1 <g h i=5/>1 </root>0 ");
    std::string log = HostErrorLog();
    int reports = 0;
    for (size_t at = log.find("BasicXmlReader:overflow"); at != std::string::npos; at = log.find("BasicXmlReader:overflow", at + 1)) {
        ++reports;
    }
    EXPECT_EQ(reports, 5);
    // Each is told with its file and line first, so that a load it stops names where it was.
    EXPECT_EQ(log.find("BasicXmlReader: " + HostQuoted(r->filename) + ", line 2: a name or value longer than 255"), 0u)
        << log;
}

TEST_F(XmlReader, MalformedAttributesDoNotLeaveTheirElement)
{
    sBasicXmlReader* r = Open(
        // no value, a value in single quotes, '>' and "/>" inside values
        "<a b c=\"1\"/><d e='x>y' f=\"2\"/><g h=\"p>q\" i=\"r/>s\"/>"
        // a value with no opening quote, and an attribute value never read
        "<j k=bad l=\"3\"/>");
    EXPECT_EQ(Walk(r), "<a b c=1/>0 <d e f=2/>0 <g h=p>q i=r/>s/>0 <j k bad l=3/>0 ");

    // Tags without a name end at their own '>'.
    r = Open("<a></><b/>< /><c/>");
    EXPECT_EQ(Walk(r), "<a>1 </>0 <b/>0 </>0 <c/>0 ");

    // NextEnd passes over values that were not read, whatever they hold.
    r = Open("<a x=\"1>2\" y=\"/>\"><b/>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextAtt(r), 1);
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    EXPECT_EQ(r->isEmptyTag, 0);
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    EXPECT_STREQ(r->tagBuffer, "b");
    // Two attribute names in a row skip the first one's value.
    r = Open("<a x=\"skip me\" y=\"2\"/>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextAtt(r), 1);
    ASSERT_EQ(BasicXmlReader_NextAtt(r), 1);
    EXPECT_STREQ(r->attBuffer, "y");
}

// The same document behind every amount of padding around the refill points: a token cut by a
// refill (a name, an entity, a comment end, "/>", "</") reads as when it is whole.
TEST_F(XmlReader, TokensStraddlingTheRefillsReadAsWhole)
{
    const std::string body = "<tag attr=\"v&amp;al\"><!-- c -->\n<Sub x=\"1\"/></tag>\n";
    const std::string expected = "<tag attr=v&al>1 <Sub x=1/>1 </tag>0 ";
    for (int base : {512 - 60, 1024 - 60, 1536 - 60}) {
        for (int pad = base; pad < base + 60; ++pad) {
            sBasicXmlReader* r = Open(std::string(size_t(pad), ' ') + body + body, "pad.xml");
            ASSERT_EQ(Walk(r), expected + expected) << "padding " << pad;
            BasicXmlReader_Fini(r);
        }
    }
}

// Files ending at and around the size of the ring and its halves: every tag is read and nothing
// from the ring's earlier contents follows the end.
TEST_F(XmlReader, FilesEndingAtTheRingBoundaries)
{
    for (int size : {0, 1, 511, 512, 513, 1023, 1024, 1025, 1535, 1536, 1537, 2048}) {
        std::string text;
        int tags = 0;
        while (int(text.size()) + 4 <= size) {
            text += "<a/>";
            ++tags;
        }
        text += std::string(size_t(size) - text.size(), 'z');
        sBasicXmlReader* r = Open(text, "size.xml");
        int read = 0;
        while (BasicXmlReader_NextTag(r)) {
            ++read;
            ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
        }
        EXPECT_EQ(read, tags) << "size " << size;
        EXPECT_EQ(r->tagDepth, 0) << "size " << size;
        BasicXmlReader_Fini(r);
    }
}

TEST_F(XmlReader, ALargeFileStreamsThroughTheRing)
{
    std::string text = "<db>\n";
    for (int i = 0; i < 3000; ++i) text += "<row n=\"" + std::to_string(i) + "\"/>\n";
    text += "</db>\n";
    sBasicXmlReader* r = Open(text);
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
        ASSERT_EQ(BasicXmlReader_NextAtt(r), 1);
        ASSERT_EQ(BasicXmlReader_NextVal(r), 1);
        ASSERT_EQ(BasicXmlReader_GetValINT(r, -1), i);
        ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    }
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    EXPECT_EQ(r->isEndTag, 1);
    EXPECT_EQ(r->tagDepth, 0);
}

TEST_F(XmlReader, MissingFilesAndNullReaders)
{
    sBasicXmlReader r;
    EXPECT_EQ(BasicXmlReader_Init(&r, "Resource\\none.xml"), 0);
    // A reader whose file did not open reads nothing.
    EXPECT_EQ(BasicXmlReader_NextTag(&r), 0);
    char cell[8];
    EXPECT_EQ(BasicXmlReader_ReadBeforeToken(&r, ",", cell, 8), 0);
    EXPECT_EQ(BasicXmlReader_Fini(&r), 1);
    // A name cut to fit the path would open another file.
    EXPECT_EQ(BasicXmlReader_Init(&r, std::string(300, 'x').c_str()), 0);
    EXPECT_NE(HostErrorLog().find("file name too long"), std::string::npos);
    EXPECT_EQ(BasicXmlReader_Init(nullptr, "x.xml"), 0);
    EXPECT_EQ(BasicXmlReader_NextTag(nullptr), 0);
}

TEST_F(XmlReader, NumericAndQuotedCells)
{
    sBasicXmlReader* r = Open("<t>1, -2.5e+3 ,\n\t7 8,\"a b\",\"q\\\"x\\\\y\\n\\z\" ,\"&amp;&quot;&lt;&gt;\",\"\",</t>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    // White space around numbers and behind a closing quote is kept; "\n" stands for the letter n
    // and a backslash before any other letter is dropped with it.
    EXPECT_EQ(Cells(r, 6), "[1][ -2.5e+3 ][\n\t7 8][a b][q\"x\\yn ][&\"<>]");
    EXPECT_EQ(Cells(r, 1), "[]");
    // The element's end is not a cell, and it stays where it is.
    EXPECT_EQ(Cells(r, 2), "!!");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    EXPECT_EQ(r->isEndTag, 1);
    EXPECT_STREQ(r->tagBuffer, "t");
}

TEST_F(XmlReader, ADamagedCellResynchronisesAtTheNextComma)
{
    sBasicXmlReader* r = Open("<t>abc,1,\"x&nbsp;y,z\",2,\"a\"\"b\",3,\"<\",4,\"k\\\"&bad;,\",5,12x,6,</t>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    // A bad letter, an unknown entity (the comma inside the quotes is not a cell's end), a second
    // string, a raw '<' in a string, an escaped quote before a bad entity, a letter after digits.
    EXPECT_EQ(Cells(r, 12), "![1]![2]![3]![4]![5]![6]");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    EXPECT_STREQ(r->tagBuffer, "t");

    // A string never closed stops at the element's end tag.
    r = Open("<t>\"abc,1,</t><u/>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    EXPECT_EQ(Cells(r, 3), "!!!");
    EXPECT_EQ(Walk(r), "</t>0 <u/>0 ");
}

TEST_F(XmlReader, AQuotedCellLongerThanTheBufferIsCutAndTheNextCellRead)
{
    std::string longText(5000, 's');
    sBasicXmlReader* r = Open("<t>\"" + longText + ",\\\"" + longText + "\",7,  " + std::string(100, ' ') + " 8,</t>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    std::vector<char> cell(4096);
    ASSERT_EQ(BasicXmlReader_ReadBeforeToken(r, ",", cell.data(), 4096), 1);
    EXPECT_EQ(std::string(cell.data()), std::string(4095, 's'));
    EXPECT_EQ(Cells(r, 2, 16), "[7][" + std::string(15, ' ') + "]");
    EXPECT_NE(HostErrorLog().find("BasicXmlReader:overflow"), std::string::npos);
}

TEST_F(XmlReader, CellsEndingWithTheInput)
{
    sBasicXmlReader* r = Open("<t>1,2");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    ASSERT_EQ(BasicXmlReader_NextEnd(r), 1);
    EXPECT_EQ(Cells(r, 3), "[1]!!");
    char cell[4];
    EXPECT_EQ(BasicXmlReader_ReadBeforeToken(r, ",", cell, 0), 0);
    EXPECT_EQ(BasicXmlReader_ReadBeforeToken(r, nullptr, cell, 4), 0);
    EXPECT_EQ(BasicXmlReader_ReadBeforeToken(nullptr, ",", cell, 4), 0);
}

TEST_F(XmlReader, ValueConversions)
{
    sBasicXmlReader* r = Open("<v a=\"42\" b=\"0x1F\" c=\"010\" d=\" -7xyz\" e=\"x\" f=\"\" g=\"2.5\" h=\"1e3\" i=\"99999999999\"/>");
    ASSERT_EQ(BasicXmlReader_NextTag(r), 1);
    std::vector<int> ints;
    std::vector<float> floats;
    while (BasicXmlReader_NextAtt(r)) {
        BasicXmlReader_NextVal(r);
        ints.push_back(BasicXmlReader_GetValINT(r, -99));
        floats.push_back(BasicXmlReader_GetValFLOAT(r, -1.0f));
    }
    EXPECT_EQ(ints, (std::vector<int>{42, 31, 8, -7, -99, -99, 2, 1, 2147483647}));
    EXPECT_EQ(floats, (std::vector<float>{42.0f, 31.0f, 10.0f, -7.0f, -1.0f, -1.0f, 2.5f, 1000.0f, 99999999999.0f}));
}

}  // namespace
