#pragma once
// Texts of the core as the widgets take them: the definitions and the ECU's
// texts are cp1251, the window's own texts UTF-8.

#include <QString>
#include <string>

#include "text/CodePage.h"

inline QString FromCp1251(const std::string& text) {
    return QString::fromStdString(Cp1251ToUtf8(text));
}

inline QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}
