#include "platform/StandardStreams.h"

// Windows hands out handles, not the lowest free small number: a closed
// standard stream is never given to the serial port, so there is nothing to fill.
bool KeepStandardStreamsOpen() {
    return true;
}
