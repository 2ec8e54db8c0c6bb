#include "platform/LocalTime.h"

std::string LocalTimeText(std::time_t moment, const char* format) {
    const std::tm local = LocalTime(moment);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, format, &local));
}
