#include "command_line.h"

#include <gtest/gtest.h>

namespace vellumo {
namespace {

struct ArgumentCase {
  const char* name;
  const wchar_t* command_line;
  const wchar_t* arguments;
};

class ArgumentTextTest : public testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentTextTest, SkipsTheProgramPathAndTheBlanksAfterIt) {
  EXPECT_EQ(ArgumentText(GetParam().command_line), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ArgumentTextTest,
    testing::Values(
        // Quoted path with blanks inside, as the Run entry and Explorer write it.
        ArgumentCase{"QuotedPathWithBlanks", LR"("C:\Program Files\Vellumo\vellumo.exe" -next)",
                     L"-next"},
        ArgumentCase{"QuotedPathAlone", LR"("C:\Program Files\Vellumo\vellumo.exe")", L""},
        // A quote ends the path even without a blank after it.
        ArgumentCase{"QuoteEndsThePath", LR"("C:\a b\vellumo.exe"-NEXT)", L"-NEXT"},
        // Unquoted path: up to the first blank.
        ArgumentCase{"UnquotedPath", LR"(C:\Vellumo\vellumo.exe -next)", L"-next"},
        ArgumentCase{"ProgramOnly", L"vellumo.exe", L""},
        // Several blanks and tabs before the argument are skipped, the rest is kept whole.
        ArgumentCase{"BlanksAndTabs", L"vellumo.exe  \t -next", L"-next"},
        ArgumentCase{"TrailingBlankKept", L"vellumo.exe -next ", L"-next "},
        ArgumentCase{"TwoSwitches", L"vellumo.exe -next -next", L"-next -next"},
        // Degenerate lines: nothing, or an unterminated quote.
        ArgumentCase{"Empty", L"", L""},
        ArgumentCase{"UnterminatedQuote", LR"("C:\vellumo.exe -next)", L""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumo
