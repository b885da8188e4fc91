// Screen transitions (wipes and fades between views).
#pragma once

int UpdateTransition();
