// The file server thread and its request queue arrive with the resource archives; until then
// there is never a request to serve.
#include "platform/fileserver.h"

static int fileSystemRunning = 0;

int FileSystemInit()
{
    fileSystemRunning = 1;
    return 1;
}

int FileSystemDispose()
{
    fileSystemRunning = 0;
    return 1;
}

int FileSystemUpdate() { return 1; }
