// The text scroll's fade: a row fades in over the bottom inset and out over the top one, and a
// window without height or insets (the defaults) shows its rows whole instead of dividing by 0;
// its rows stay inside the window and its images are bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "db/database.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "ui/uiload_fixture.h"

#include "ui/widgets/textscroll.h"

TEST(UiTextScrollFade, RowsFadeOverTheInsetsAndAWindowWithoutHeightDoesNotDivideByZero)
{
    // Insets of 24 in a window of 240: a tenth at each end.
    EXPECT_FLOAT_EQ(BasicUi_TextScrollOpacity(0.05f, 24, 240), 0.5f);
    EXPECT_FLOAT_EQ(BasicUi_TextScrollOpacity(0.5f, 24, 240), 1.0f);
    EXPECT_NEAR(BasicUi_TextScrollOpacity(0.975f, 24, 240), 0.25f, 1e-5f);
    EXPECT_EQ(BasicUi_TextScrollOpacity(-0.01f, 24, 240), 0.0f);
    EXPECT_EQ(BasicUi_TextScrollOpacity(1.01f, 24, 240), 0.0f);
    for (float p : {0.0f, 0.3f, 1.0f}) {
        float a = BasicUi_TextScrollOpacity(p, 0, 0), b = BasicUi_TextScrollOpacity(p, 16, 0);
        EXPECT_EQ(a, 1.0f) << p;
        EXPECT_EQ(b, 1.0f) << p;
        EXPECT_EQ(BasicUi_TextScrollOpacity(p, 0, 240), 1.0f) << p;
    }
}

using GlUiTextScroll = UiLoadTest;

// The rows stay inside the window: a line or image that would pass its bottom is left out, and a
// row's image is drawn only when its constant names a bitmap (3050 is a font's information).
TEST_F(GlUiTextScroll, RowsStayInTheirWindowAndOnlyBitmapsAreDrawnAsImages)
{
    std::ofstream(scratch + "/t.db.xml")
        << "<BasicDb name=\"t\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"r\" columns=\"4\">"
           "<BasicDbTableColumnDef name=\"i\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"a\" type=\"string\" count=\"40\"/>"
           "<BasicDbTableColumnDef name=\"b\" type=\"string\" count=\"16\"/>"
           "<BasicDbTableColumnDef name=\"c\" type=\"string\" count=\"16\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"rows\" def=\"r\" rows=\"2\">0, \"Title\", \"Name\", \"info\", "
           "1, \"Next\", \"\", \"\",</BasicDbTable></BasicDb>";
    ASSERT_EQ(LoadText("<BasicDbFile filename=\"t.db.xml\"/><BasicUiConstantDef name=\"info\" iValue=\"3050\"/>"
                       "<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"r\" typeWidget=\"dbRef\" db.Nm=\"t\" db.tblNm=\"rows\"/>"
                       "<BasicUiWidget name=\"ts\" typeWidget=\"wtTextScroll\" x=\"160\" y=\"40\" w=\"200\" h=\"100\" "
                       "fontID=\"3077\" fontAlignY=\"0\" textDbRef=\"r\"/></BasicUiScreen></BasicUiDisplay>"),
              1);
    StartRenderer();
    ASSERT_EQ(ScreenInitializeAPI(), 1);
    ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
    ASSERT_NE(ResourceType(3050), kResourceTypeBitmap);
    sBasicUiWidget* ts = BasicUi_FindWidget(env, "ts");
    auto* r = static_cast<sBasicUiWidgetTypeTextScroll*>(ts->widgetTypeRef.ptr);
    struct Case {
        float cursor;
        std::vector<std::string> lines;
        int glyphs;
    } cases[] = {{0.1f, {}, 0}, {0.5f, {"Title", "Name"}, 9}};
    for (const Case& c : cases) {
        r->cursor = c.cursor;
        int quads = 0;
        std::vector<std::string> lines;
        for (const DrawnText& t : DrawWidgetTexts(ts, &quads)) {
            lines.push_back(t.text);
            EXPECT_LE(t.y + t.h, 140) << t.text;
        }
        EXPECT_EQ(lines, c.lines) << c.cursor;
        EXPECT_EQ(quads, c.glyphs) << c.cursor;
    }
    // A text wider than the window is wrapped at its width, a word wider than that broken.
    const std::string wide = "Ab Supercalifragilistic";
    sBasicDbTable* rows = BasicDbTable_Find(BasicUi_FindDb(env, "t"), "rows");
    for (size_t i = 0; i <= wide.size(); ++i) BasicDbTable_SetElementCN(rows, 1, 0, int(i), i < wide.size() ? wide[i] : 0);
    r->w.value = 60;
    r->h.value = 200;
    std::string joined;
    for (const DrawnText& t : DrawWidgetTexts(ts)) {
        EXPECT_LE(t.w, 60) << t.text;
        if (t.text != "Name") joined += t.text;
    }
    EXPECT_EQ(joined, "AbSupercalifragilistic");
}
