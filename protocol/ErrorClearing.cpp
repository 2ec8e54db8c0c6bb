#include "protocol/ErrorClearing.h"

bool ClearErrorMemory(ByteLink& link, EcuProtocol& ecu) {
    link.Purge();
    const bool sent = ecu.ClearErrors();
    link.Purge();
    return sent;
}
