#include "support/game_data.h"

#include <string>

#include "host/host.h"
#include "lib/resources.h"
#include "platform/fileserver.h"
#include "shell/globals.h"
#include "shell/startup.h"

int OpenBuildGameData(const char* form)
{
    gHostOptions.romDir = std::string(ZENDROLYX_BUILD_DIR) + "/" + form;
    done = 0;
    return FileSystemInit() && InitResources(10000) && OpenResources() ? 1 : 0;
}

void CloseBuildGameData()
{
    FreeResources();
    FileSystemDispose();
}
