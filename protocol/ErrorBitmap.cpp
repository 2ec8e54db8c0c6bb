#include "protocol/ErrorBitmap.h"

std::vector<int> StoredErrors(const std::uint8_t* bitmap) {
    std::vector<int> errors;
    for (int byte = 0; byte < ErrorCount / 8; ++byte)
        for (int bit = 0; bit < 8; ++bit)
            if (bitmap[byte] & (1u << bit)) errors.push_back(8 * byte + bit);
    return errors;
}
