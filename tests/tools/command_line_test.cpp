// Splitting command lines with double-quote rules, and quoting that survives them.
#include "src/win/tools/command_line.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineSplit, WhitespaceSeparatesAndQuotesGroupEvenWhenEmptyOrTouchingText) {
    EXPECT_EQ(SplitCommandLine("\"pandoc\" --from json  --to docx"),
              (Args{"pandoc", "--from", "json", "--to", "docx"}));
    EXPECT_EQ(SplitCommandLine("xelatex -output-directory \"/tmp/TEX a\" \"/tmp/TEX a/x.tex\""),
              (Args{"xelatex", "-output-directory", "/tmp/TEX a", "/tmp/TEX a/x.tex"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/tex live/bin/\"xelatex -version"),
              (Args{"/opt/tex live/bin/xelatex", "-version"}));
    EXPECT_EQ(SplitCommandLine("a \"\" b"), (Args{"a", "", "b"}));
    EXPECT_TRUE(SplitCommandLine("  \t ").empty());
}

TEST(CommandLineSplit, BackslashesAreLiteralExceptBeforeAQuote) {
    EXPECT_EQ(SplitCommandLine(R"(a\b c\\d)"), (Args{R"(a\b)", R"(c\\d)"}));
    EXPECT_EQ(SplitCommandLine(R"("say \"hi\"")"), (Args{R"(say "hi")"}));
    EXPECT_EQ(SplitCommandLine(R"("dir\\" next)"), (Args{R"(dir\)", "next"}));
}

TEST(CommandLineQuote, AnyArgumentSurvivesQuotingAndSplitting) {
    for (std::string argument : {"", "plain", "two words", "quote\"inside", "trailing\\", "back\\\\\"mixed",
                                 "tab\tand\nnewline", "\xc3\xa9t\xc3\xa9 \xe2\x86\xa9"}) {
        Args split = SplitCommandLine("prog " + QuoteArgument(argument) + " end");
        ASSERT_EQ(split.size(), 3u) << argument;
        EXPECT_EQ(split[1], argument);
    }
}

}  // namespace
}  // namespace qorva
