// Audio streams (music and long sounds read from the archives while they play).
#pragma once

int InitStreaming();
int DeleteAllStreams();
