// The sound commands: cmdSound plays a sound resource at a volume read from a database cell;
// cmdBGM starts, fades or stops the background music stream.
#include <climits>

#include "db/database.h"
#include "lib/resources.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "ui/frameupdate.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

enum { kSoundResourceType = 127 };

// ---- cmdSound ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdSound_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdSound* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdSound, &c);
    if (!c) return ref;
    c->soundID = BasicUiValueINT_Make(-1);
    c->loop = BasicUiValueINT_Make(1);
    c->row = c->column = BasicUiValueINT_Make(0);
    return ref;
}

int BasicUiWidgetTypeCmdSound_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSound>(w, EBasicUiWidgetTypeCmdSound);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "soundID", eBasicUiPropertyTypeINT, &c->soundID, 1, 1);
    BasicUiPropertyTracker_Add(t, "loop", eBasicUiPropertyTypeINT, &c->loop, 1, 1);
    BasicUiPropertyTracker_Add(t, "dbNm", eBasicUiPropertyTypeSTR, &c->dbNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "dbTblNm", eBasicUiPropertyTypeSTR, &c->dbTblNm, 1, 0);
    BasicUiPropertyTracker_Add(t, "row", eBasicUiPropertyTypeINT, &c->row, 1, 1);
    BasicUiPropertyTracker_Add(t, "column", eBasicUiPropertyTypeINT, &c->column, 1, 1);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdSound)

int BasicUiWidgetTypeCmdSound_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSound>(w, EBasicUiWidgetTypeCmdSound);
    if (!c) return 0;
    BasicUiWidget_FreeString(env, &c->dbNm);
    BasicUiWidget_FreeString(env, &c->dbTblNm);
    return BasicUiWidget_FreeRecord(env, w);
}

void BasicUiWidgetTypeCmdSound_PlayResource(int volume, int soundId, int loops)
{
    if (!ResourceLoaded(soundId) || ResourceType(soundId) != kSoundResourceType) return;
    SoundPlayResource(unsigned(soundId), (unsigned char)(volume & 255), unsigned(loops));
}

void BasicUiWidgetTypeCmdSound_PlayResource(sBasicDbTable* table, int row, int column, int soundId, int loops)
{
    if (!table) return;
    BasicUiWidgetTypeCmdSound_PlayResource(BasicDbTable_GetElementI(table, column, row), soundId, loops);
}

void BasicUiWidgetTypeCmdSound_Play(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdSound>(w, EBasicUiWidgetTypeCmdSound);
    if (!c) return;
    sBasicDbTable* table = BasicUiTableCache_Update(&c->cache, BasicUiWidget_GetEnvironment(w), c->dbNm, c->dbTblNm);
    if (!table && c->dbTblNm) BasicUiWidget_ReportMissing(w, &c->reported, "the table", c->dbTblNm);
    BasicUiWidgetTypeCmdSound_PlayResource(table, c->row.value, c->column.value, c->soundID.value, c->loop.value);
}

// ---- cmdBGM ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeCmdBGM_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeCmdBGM* c = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeCmdBGM, &c);
    if (!c) return ref;
    c->musicID = c->volume = BasicUiValueINT_Make(0);
    c->start = c->fade = BasicUiValueBOOL_Make(0);
    c->fadeTime = 1.0f;
    return ref;
}

int BasicUiWidgetTypeCmdBGM_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdBGM>(w, EBasicUiWidgetTypeCmdBGM);
    if (!c || !t) return 0;
    BasicUiPropertyTracker_Add(t, "musicID", eBasicUiPropertyTypeINT, &c->musicID, 1, 1);
    BasicUiPropertyTracker_Add(t, "volume", eBasicUiPropertyTypeINT, &c->volume, 1, 1);
    BasicUiPropertyTracker_Add(t, "start", eBasicUiPropertyTypeBOOL, &c->start, 1, 1);
    BasicUiPropertyTracker_Add(t, "fade", eBasicUiPropertyTypeBOOL, &c->fade, 1, 1);
    BasicUiPropertyTracker_Add(t, "fadeTime", eBasicUiPropertyTypeFLT, &c->fadeTime, 1, 0);
    return 1;
}

BASIC_UI_COMMAND_NO_FRAME(CmdBGM)

int BasicUiWidgetTypeCmdBGM_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!BasicUiWidget_Record<sBasicUiWidgetTypeCmdBGM>(w, EBasicUiWidgetTypeCmdBGM)) return 0;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeCmdBGM_MusicEndCB(void*) { return 1; }

int BasicUiWidgetTypeCmdBGM_FadeMilliseconds(float fadeTime, float fps)
{
    // The fade is given in frames of a 30 Hz game; the stream counts milliseconds. Worked out wide
    // and kept within what the stream takes, so that a long fade at a high frame rate stays long.
    const double ms = double(fadeTime) * double(fps) / 30.0 * 1000.0;
    if (!(ms >= 1.0)) return 1;
    return ms < double(INT_MAX) ? int(ms) : INT_MAX;
}

void BasicUiWidgetTypeCmdBGM_Run(sBasicUiWidget* w)
{
    auto* c = BasicUiWidget_Record<sBasicUiWidgetTypeCmdBGM>(w, EBasicUiWidgetTypeCmdBGM);
    DS3_stream_tag* stream = gBackgroundMusicChannel;
    if (!c || !stream) return;
    float fps = 60.0f;
    float elapsed = BasicUiCounter_GetElapsedTime(0);
    if (elapsed > 0.0001f) fps = 1.0f / elapsed;
    const int fade = c->fade.value ? BasicUiWidgetTypeCmdBGM_FadeMilliseconds(c->fadeTime, fps) : 1;
    if (c->start.value) {
        if (stream->playing) StopStream(stream);
        if (stream->playing) return;
        if (ResourceType(c->musicID.value) != kSoundResourceType) return;
        SoundStreamNextResource(stream, c->musicID.value);
        SetStreamLoopCount(stream, 0);
        SetStreamVolumeFade(stream, c->volume.value, fade);
        SetStreamCompletionCallback(stream, BasicUiWidgetTypeCmdBGM_MusicEndCB);
    } else {
        SetStreamVolumeFade(stream, c->volume.value, fade);
    }
}

int BasicUiWidgetTypeCmdBGM_Stop()
{
    DS3_stream_tag* stream = gBackgroundMusicChannel;
    if (!stream || !stream->playing) return 0;
    return StopStream(stream);
}
