// mkrom --out DIR [--split]: builds the game data. Without --split it writes DIR/Resource.rez
// holding everything; with it, the set DIR/Resource/<name>.rez, one archive per id range. The
// clips go to DIR/Video/ either way.
// mkrom --list DIR: writes DIR/checksums.txt, the list of every file under DIR with its size and
// checksum that the game checks at start-up; run it again after changing a file on purpose.
// mkrom --check DIR: checks DIR against its list as start-up does; status 1, with the first file
// found damaged, when they do not match.
#include <cstdio>
#include <cstring>
#include <string>

#include "archive_writer.h"
#include "content.h"
#include "content_bowler.h"
#include "content_uibase.h"
#include "data_list_check.h"
#include "data_list_writer.h"
#include "host/errorlog.h"

static int Usage(const char* message)
{
    if (message) fprintf(stderr, "mkrom: %s\n", message);
    fprintf(message ? stderr : stdout,
            "usage: mkrom --out DIR [--split]\n       mkrom --list DIR\n       mkrom --check DIR\n");
    return message ? 2 : 0;
}

int main(int argc, char** argv)
{
    std::string out, list, check;
    bool split = false;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--out") == 0) {
            if (i + 1 == argc) return Usage("--out needs a directory");
            out = argv[++i];
        } else if (strcmp(argv[i], "--list") == 0) {
            if (i + 1 == argc) return Usage("--list needs a directory");
            list = argv[++i];
        } else if (strcmp(argv[i], "--check") == 0) {
            if (i + 1 == argc) return Usage("--check needs a directory");
            check = argv[++i];
        } else if (strcmp(argv[i], "--split") == 0) {
            split = true;
        } else if (strcmp(argv[i], "--help") == 0) {
            return Usage(nullptr);
        } else {
            return Usage(("unknown option " + HostQuoted(argv[i])).c_str());
        }
    }
    std::string error;
    if (!check.empty()) {
        if (!out.empty() || split || !list.empty()) return Usage("--check goes alone");
        if (mkrom::CheckDataList(check, &error)) return 0;
        fprintf(stderr, "mkrom: %s\n", error.c_str());
        return 1;
    }
    if (!list.empty()) {
        if (!out.empty() || split) return Usage("--list goes alone");
        if (mkrom::WriteDataList(list, &error)) return 0;
        fprintf(stderr, "mkrom: %s\n", error.c_str());
        return 1;
    }
    if (out.empty()) return Usage("--out, --list or --check is required");

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
