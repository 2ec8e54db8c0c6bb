#include "platform/FileSizeSignal.h"

void LetOversizedWritesFail() {}
