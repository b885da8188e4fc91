// mkrom --out DIR [--split]: builds the game data. Without --split it writes DIR/Resource.rez
// holding everything; with it, the set DIR/Resource/<name>.rez, one archive per id range. The
// clips go to DIR/Video/ either way.
#include <cstdio>
#include <cstring>
#include <string>

#include "archive_writer.h"
#include "content.h"
#include "content_bowler.h"
#include "content_uibase.h"

static int Usage(const char* message)
{
    if (message) fprintf(stderr, "mkrom: %s\n", message);
    fprintf(message ? stderr : stdout, "usage: mkrom --out DIR [--split]\n");
    return message ? 2 : 0;
}

int main(int argc, char** argv)
{
    std::string out;
    bool split = false;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--out") == 0) {
            if (i + 1 == argc) return Usage("--out needs a directory");
            out = argv[++i];
        } else if (strcmp(argv[i], "--split") == 0) {
            split = true;
        } else if (strcmp(argv[i], "--help") == 0) {
            return Usage(nullptr);
        } else {
            return Usage((std::string("unknown option ") + argv[i]).c_str());
        }
    }
    if (out.empty()) return Usage("--out is required");

    std::string error;
    const std::vector<mkrom::Resource> content = mkrom::BuildContent();
    bool ok = split ? mkrom::WriteSplitArchives(out, mkrom::ArchiveRanges(), content, &error)
                    : mkrom::WriteSingleArchive(out, mkrom::ArchiveRanges(), content, &error);
    // The character archive stands beside either form: the game opens it for each game.
    ok = ok && mkrom::WriteCharacterArchive(out, &error);
    // So is the UI framework's own archive, which it opens when it starts.
    ok = ok && mkrom::WriteUiBaseArchive(out, &error);
    ok = ok && mkrom::WriteVideos(out, &error);
    if (!ok) {
        fprintf(stderr, "mkrom: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
