// The 3D text widget. Its glyphs are laid out in the text's own plane, in font pixels with y up,
// each line centred or aligned on the origin by the alignment factors, and drawn as the font's
// glyph quads where the view projects their corners, at their depth so that both eyes see them
// at the text's distance.
#include "ui/widgets/text3d.h"

#include <cstring>
#include <string>
#include <vector>

#include "lib/textoutput.h"
#include "platform/camera.h"
#include "platform/gpucommands.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetType3DText* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DText>(w, EBasicUiWidgetType3DText);
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DText_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DText* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DText, &r);
    if (!r) return ref;
    r->fontID = BasicUiValueINT_Make(-1);
    r->fontAlignmentX = r->fontAlignmentY = BasicUiValueINT_Make(1);
    r->scale[0] = r->scale[1] = r->scale[2] = 1.0f;
    r->depthIndex = ~0u;
    return ref;
}

int BasicUiWidgetType3DText_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DText* r = Record(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "text", eBasicUiPropertyTypeSTR, &r->text, 1, 0);
    BasicUiPropertyTracker_Add(t, "fontID", eBasicUiPropertyTypeINT, &r->fontID, 1, 1);
    BasicUiPropertyTracker_Add(t, "fontAlignmentX", eBasicUiPropertyTypeINT, &r->fontAlignmentX, 1, 1);
    BasicUiPropertyTracker_Add(t, "fontAlignmentY", eBasicUiPropertyTypeINT, &r->fontAlignmentY, 1, 1);
    BasicUiPropertyTracker_Add(t, "scale.x", eBasicUiPropertyTypeFLT, &r->scale[0], 1, 0);
    BasicUiPropertyTracker_Add(t, "scale.y", eBasicUiPropertyTypeFLT, &r->scale[1], 1, 0);
    BasicUiPropertyTracker_Add(t, "scale.z", eBasicUiPropertyTypeFLT, &r->scale[2], 1, 0);
    BasicUiPropertyTracker_Add(t, "depthOffset", eBasicUiPropertyTypeFLT, &r->depthOffset, 1, 0);
    return 1;
}

int BasicUiWidgetType3DText_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetType3DText_Update(sBasicUiWidget*, float) { return 1; }

int BasicUiWidgetType3DText_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    sBasicUiWidgetType3DText* r = Record(w);
    if (!r) return 0;
    BasicUiWidget_FreeString(env, &r->text);
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetType3DText_Layout(const char* text, int fontID, int alignX, int alignY,
                                   void (*out)(const sBasicUi3DGlyph& glyph, void* data), void* data)
{
    if (!text || fontID <= 0 || !BasicUi_FontExists(fontID) || !TextOutputSelectFont(fontID)) return 0;
    // A tab or another control character is laid out as a space: it would end the tiles' walk
    // and so break the line there and vanish. Only a line feed (with a carriage return before it)
    // breaks a line.
    std::string spaced(text);
    for (size_t i = 0; i < spaced.size(); i++) {
        const unsigned char c = static_cast<unsigned char>(spaced[i]);
        if (c < ' ' && c != '\n' && !(c == '\r' && spaced[i + 1] == '\n')) spaced[i] = ' ';
    }
    text = spaced.c_str();
    int len = int(spaced.size()), lineOffset = 0, lines = 0;
    std::vector<ScreenPolyData> tiles;
    while (len > 0) {
        TextOutputSetPosition(0, 0);
        // A tile for every character of the line, however long: a buffer that filled would drop
        // the character where it filled.
        const int lineLength = int(std::strcspn(text, "\r\n"));
        tiles.resize(size_t(lineLength > 0 ? lineLength : 1));
        int lineWidth = 0, lineHeight = 0;
        const int n = TextOutputGenerateTilesMultiLine(text, tiles.data(), lineLength, &lineWidth, &lineHeight);
        const int h = TextOutputGetFontHeight();
        if (n < 1) break;
        // n counts the character the line stopped at (its line feed or the end): the line has one
        // glyph fewer, and the next line starts after that character.
        const int glyphs = n - 1;
        // A line ended by a carriage return before its line feed ends there too: one break, not two.
        const int consumed = n < len && text[n - 1] == '\r' && text[n] == '\n' ? n + 1 : n;
        // The line's width reaches the right edge of its last glyph, also on a line that a line
        // feed ends (for which the tiles' own width stops at the last glyph's left edge).
        for (int i = 0; i < glyphs; i++)
            if (tiles[i].x + tiles[i].w > lineWidth) lineWidth = tiles[i].x + tiles[i].w;
        for (int i = 0; i < glyphs; i++) {
            const ScreenPolyData& t = tiles[i];
            if (!t.theBitmap) continue;
            sBasicUi3DGlyph g;
            g.left = float(t.x - (lineWidth / 2) * alignX);
            g.right = g.left + float(t.w);
            g.top = float((h / 2) * alignY - t.y - lineOffset);
            g.bottom = g.top - float(t.h);
            g.bitmap = t.theBitmap;
            g.sx = t.sx, g.sy = t.sy, g.sw = t.sw, g.sh = t.sh;
            if (out) out(g, data);
        }
        lines++;
        lineOffset += TextOutputGetInterrowSpacing() + h;
        text += consumed;
        len -= consumed;
    }
    return lines;
}

// The glyph's corners carried by the model matrix into the view (x right, y down, z ahead), then
// onto the upper screen's pixels; the glyph is drawn over their bounds at its depth.
struct DrawState {
    matrix model;
    int offsetX, offsetY;
};

// The model-view matrix the text is drawn in.
static matrix textXform = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

int BasicUi_ProjectToUpperScreen(const float world[3], float* x, float* y, float* depth)
{
    float p[3] = {world[0], world[1], world[2]};
    composePosition(p, shaderViewXform);
    if (p[2] <= viewFrustrum.hither) return 0;
    if (x) *x = 200.0f + p[0] / (projXscale * p[2]) * 200.0f;
    if (y) *y = 120.0f + p[1] / (projYscale * p[2]) * 120.0f;
    if (depth) *depth = p[2];
    return 1;
}

static void DrawGlyph(const sBasicUi3DGlyph& g, void* data)
{
    auto* s = static_cast<DrawState*>(data);
    const float corners[4][2] = {{g.left, g.top}, {g.right, g.top}, {g.left, g.bottom}, {g.right, g.bottom}};
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f, depth = 0.0f;
    for (const auto& c : corners) {
        float p[3] = {c[0], c[1], 0.0f};
        composePosition(p, s->model);
        if (p[2] <= viewFrustrum.hither) return;  // at or behind the near plane
        const float sx = 200.0f + p[0] / (projXscale * p[2]) * 200.0f;
        const float sy = 120.0f + p[1] / (projYscale * p[2]) * 120.0f;
        x0 = sx < x0 ? sx : x0, x1 = sx > x1 ? sx : x1;
        y0 = sy < y0 ? sy : y0, y1 = sy > y1 ? sy : y1;
        depth += 0.25f * p[2];
    }
    ScreenPolyData d{};
    d.theBitmap = g.bitmap;
    d.sx = g.sx, d.sy = g.sy, d.sw = g.sw, d.sh = g.sh;
    // A glyph scaled up by its transforms may project far beyond an int: its place and size are
    // kept within the coordinates' range, as every 2D quad's are.
    d.x = BasicUi_ClampCoordinateF(x0 + 0.5f) + s->offsetX, d.y = BasicUi_ClampCoordinateF(y0 + 0.5f) + s->offsetY;
    d.w = BasicUi_ClampCoordinateF(x1 - x0 + 0.5f), d.h = BasicUi_ClampCoordinateF(y1 - y0 + 0.5f);
    if (d.w < 1 || d.h < 1) return;
    RenderSetZLevel(depth);
    DrawScreenPolyEx(&d);
}

int BasicUiWidgetType3DText_RenderText(const char* text, int fontID, int alignX, int alignY)
{
    if (!text || fontID <= 0 || !BasicUi_FontExists(fontID) || !TextOutputSelectFont(fontID)) return 1;
    RenderSetColorModulation(127, 127, 127);
    RenderSetAlphaLevel(255);
    DrawState s;
    std::memcpy(s.model, textXform, sizeof s.model);
    BasicUi_GetRenderOffset2D(&s.offsetX, &s.offsetY);
    // The glyphs are quads on the screen: no depth test, each eye shifted by its glyph's depth.
    const int parallax = s_Parallax;
    const float level = s_depth;
    RenderEnableOverlays();
    RenderEnableParallax();
    BasicUiWidgetType3DText_Layout(text, fontID, alignX, alignY, DrawGlyph, &s);
    if (!parallax) RenderDisableParallax();
    RenderSetZLevel(level);
    RenderEnableZBuffer();
    return 1;
}

int BasicUiWidgetType3DText_Render(sBasicUiWidget* w)
{
    sBasicUiWidgetType3DText* r = Record(w);
    if (!r || !RenderIsDisplay0()) return 1;
    if (!BasicUiWidgetType3DInit_IsRenderingOrderedItems()) {
        const float origin[3] = {0.0f, 0.0f, 0.0f};
        BasicUiWidgetType3DInit_PushOrderedItem(w, origin, r->depthOffset, &r->depthIndex);
        return 1;
    }
    matrix s, m, mv;
    setScaleMatrix(s, r->scale[0], r->scale[1], r->scale[2]);
    composeMatrix(BasicUiWidgetType3DPRS_GetParentGlobalTransform(w), s, m);
    composeMatrix(shaderViewXform, m, mv);
    RenderDisableBackfaceCulling();
    SetXform(mv);
    std::memcpy(textXform, mv, sizeof textXform);
    if (r->renderCb) return r->renderCb();
    return BasicUiWidgetType3DText_RenderText(r->text, r->fontID.value, r->fontAlignmentX.value,
                                              r->fontAlignmentY.value);
}
