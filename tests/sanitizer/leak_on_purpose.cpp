// A program that loses one block on purpose, built and linked as the game's own programs are (with
// the GPU module, which carries the sanitizers' options): the AddressSanitizer build must report
// the leak and fail the run. See leak_fails_the_run.sh.
#include <cstdlib>

#include "host/gpu.h"

void* volatile lastBlock = nullptr;

// Out of line, so that no copy of the block's address stays in main's frame or registers.
__attribute__((noinline)) static void LoseABlockOnPurpose()
{
    lastBlock = std::malloc(4096);
    lastBlock = nullptr;
}

int main()
{
    LoseABlockOnPurpose();
    return GpuIsInitialized();  // 0: the GPU is never started, only linked
}
