#include "platform/FileSizeSignal.h"

#include <signal.h>

void LetOversizedWritesFail() {
    ::signal(SIGXFSZ, SIG_IGN);
}
