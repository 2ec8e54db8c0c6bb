// Numbers under a locale with a decimal comma, as users in Russia run the
// tool: database.ini, the formulas, the value texts and the CSV log all keep
// a point; only a separator the caller passes changes a value's text.

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>

#include "database/DefinitionDatabase.h"
#include "database/ValueText.h"
#include "formula/EvaluateFormula.h"
#include "sim/posix/EcuSimulator.h"
#include "support/CliRun.h"
#include "support/ScratchFolder.h"

namespace {

constexpr const char* CommaLocaleName = "ru_RU.UTF-8";

class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, CommaLocaleName) == nullptr)
            GTEST_SKIP() << "the locale " << CommaLocaleName
                         << " is not installed; scripts/deps.sh generates it";
        // The locale really writes a comma, or this test proves nothing.
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        ASSERT_STREQ(text, "1,5");
    }
    void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

private:
    std::string previous_;
};

}  // namespace

TEST_F(CommaLocale, NumbersKeepTheirPointInTheFileTheFormulasTheValuesAndTheLog) {
    EXPECT_EQ(EvaluateFormula("X*1.5", 2), 3.0);
    EXPECT_EQ(EvaluateFormula("X+0.25", 1), 1.25);

    ScratchFolder folder;
    WriteBytes(folder / "database.ini", "[0000]\r\nMin=1.5\r\nMax=-0.25\r\n[0001]\r\nMin=1,5\r\n");
    const DefinitionDatabase database(folder / "database.ini");
    EXPECT_EQ(database.Parameters[0].Min, 1.5);
    EXPECT_EQ(database.Parameters[0].Max, -0.25);
    EXPECT_EQ(database.Parameters[1].Min, 0.0) << "a comma is no decimal separator in the file";

    EXPECT_EQ(ValueText(1234.5678, 2), "1234.57");
    EXPECT_EQ(ValueText(-0.5, 1), "-0.5");
    EXPECT_EQ(ValueText(1234.5678, 2, ','), "1234,57");

#ifdef VMXDIAG_CLI_PATH
    std::filesystem::create_directory(folder / "sample");
    std::filesystem::copy_file(std::filesystem::path(VMX_SOURCE_DIR) / "data" / "database.ini",
                               folder / "sample" / "database.ini");
    EcuSimulator simulator;
    simulator.CreateLink(folder / "sample" / "dosdevices" / "COM1");
    const CommandRun run =
        RunShell("cd '" + (folder / "sample").string() + "' && LC_ALL=" + CommaLocaleName +
                 " '" VMXDIAG_CLI_PATH "' live --format csv --count 1 2>/dev/null");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string values = run.output.substr(run.output.find('\n') + 1);
    EXPECT_EQ(std::count(values.begin(), values.end(), ','), 16) << values;
    EXPECT_NE(values.find('.'), std::string::npos) << values;
#endif
}
