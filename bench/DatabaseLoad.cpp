// How long loading database.ini takes: a file with all 256 definitions filled,
// and any files named on the command line (bench-DatabaseLoad data/database.ini),
// each loaded many times. Prints the mean per load.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "database/DefinitionDatabase.h"

namespace fs = std::filesystem;

namespace {

std::string FullFile() {
    std::string text = "; every definition filled\r\n[Configuration]\r\nLanguage=EN\r\n";
    char line[256];
    for (int i = 0; i < 128; ++i) {
        std::snprintf(line, sizeof line,
                      "\r\n[%04X]\r\nCodeEn=P%d\r\nNameRu=\xCF\xE0\xF0\xE0\xEC\xE5\xF2\xF0 %d\r\n"
                      "NameEn=Parameter %d\r\nUnitRu=\xEA\xCF\xE0\r\nUnitEn=kPa\r\nAddress=%04X\r\n"
                      "Length=2\r\nSigned=1\r\nFormula=X*0.1-40\r\nDigits=1\r\nMin=-40\r\n"
                      "Max=215.5\r\nColor=$FFFF\r\n",
                      i, i, i, i, 0x100 + 2 * i);
        text += line;
    }
    for (int n = 0; n < 128; ++n) {
        std::snprintf(
            line, sizeof line,
            "\r\n[%04X]\r\nBit=%d\r\nCode=P%04d\r\nNameRu=\xCE\xF8\xE8\xE1\xEA\xE0 %d\r\n"
            "NameEn=Error %d\r\nReasonRu=\xCF\xF0\xE8\xF7\xE8\xED\xE0\r\nReasonEn=Reason\r\n",
            0x100 + n, n, n, n, n);
        text += line;
    }
    return text;
}

void Measure(const char* label, const fs::path& path, int rounds) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t sink = 0;
    for (int i = 0; i < rounds; ++i) {
        DefinitionDatabase database(path);
        sink += database.Parameters[0].CodeEn.size();
    }
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    std::printf("%-32s %8.1f us per load (%d loads, %zu bytes)%s\n", label,
                elapsed.count() / rounds, rounds, static_cast<std::size_t>(fs::file_size(path)),
                sink == 0 ? " ?" : "");
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = fs::temp_directory_path() / "vmx-bench-database";
    fs::create_directories(folder);
    const fs::path full = folder / "database.ini";
    std::ofstream(full, std::ios::binary) << FullFile();
    Measure("256 definitions, every key", full, 500);
    for (int i = 1; i < argc; ++i) Measure(argv[i], argv[i], 500);
    fs::remove_all(folder);
    return 0;
}
