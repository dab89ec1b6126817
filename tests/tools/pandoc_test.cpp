// Pandoc: version parsing on recorded outputs (current ones through stand-in Pandocs),
// locating it, command lines for 1.11 and current Pandoc, and the real Pandoc's messages.
#include "model/model_json.h"
#include "tools/pandoc/pandoc.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(PandocVersion, RecordedOutputsAndWhichVersionsAreUsable) {
    // Output without a line end counts as 1.11.
    for (const auto& [output, version] :
         {std::pair{"pandoc.exe 1.11.1\r\nCompiled with texmath 0.6.1.3.\r\n", "1.11.1"}, {"", "1.11"}})
        EXPECT_EQ(ParsePandocVersion(output), version) << output;
    // The JSON each speaks; "" for versions whose JSON is not spoken.
    for (const auto& [version, api] : {std::pair{"1.11.1", "1.11"}, {"1.19.2.4", "1.17"}, {"2.10", "1.21"},
                                       {"1.10", ""}, {"1.16.0.2", ""}, {"garbage", ""}})
        EXPECT_EQ(PandocJsonApiFor(version), api) << version;
}

PandocInstallation installation(std::string version, std::string location = "pandoc") {
    return {.location = location, .version = version, .jsonApi = PandocJsonApiFor(version)};
}

TEST(PandocCommandLines, ClassicOptionsForOldPandocAndTheCurrentOnesForNewer) {
    PandocInstallation old = installation("1.11.1"), current = installation("2.17.1.1");
    EXPECT_EQ(PandocFromJsonCommand(old, "markdown_github"),
              "\"pandoc\" --from json --to markdown_github --reference-links --atx-headers");
    EXPECT_EQ(PandocFromJsonCommand(current, "markdown_github"),
              "\"pandoc\" --from json --to gfm --reference-links --markdown-headings=atx --sandbox");
    EXPECT_EQ(PandocFromJsonCommand(current, "markdown", true),
              "\"pandoc\" --from json --to markdown --reference-links --markdown-headings=atx --wrap=none --sandbox");
    EXPECT_NE(PandocFromJsonCommand(old, "markdown", true).find(" --no-wrap"), std::string::npos);
    // Only a Pandoc that has a sandbox (2.15 on) reads strangers' text in one.
    EXPECT_EQ(PandocToJsonCommand(old, "html"), "\"pandoc\" --from html --to json");
    EXPECT_EQ(PandocToJsonCommand(installation("2.14.2"), "html"), "\"pandoc\" --from html --to json");
    // Before 2.11.2 the old heading option is the one that exists.
    EXPECT_NE(PandocFromJsonCommand(installation("2.9.2.1"), "markdown").find("--atx-headers"), std::string::npos);
    // Only EPUB gets a table of contents, at the end.
    EXPECT_TRUE(PandocExportCommand(old, "epub", "/b/a.epub").ends_with(" --output \"/b/a.epub\" --toc"));
    EXPECT_EQ(PandocExportCommand(old, "docx", "/b/a.docx").find("--toc"), std::string::npos);
    // An output path with quotes stays one argument.
    std::string command = PandocExportCommand(installation("2.17.1.1", "/opt/my tools/pandoc"), "rtf", "/tmp/say \"hi\".rtf");
    EXPECT_EQ(command.substr(0, 22), "\"/opt/my tools/pandoc\"");
    EXPECT_NE(command.find("--output \"/tmp/say \\\"hi\\\".rtf\""), std::string::npos);
}

// A too old Pandoc is not usable; an unknown major version is asked for its JSON.
TEST(PandocLocation, UsersOwnInstallationWinsOverPathAndItsVersionDecidesItsUse) {
    {
        test::FakePandocHome fake("pandoc 3.1.3", "");
        EXPECT_EQ(LocatePandoc(), fake.pandoc);
        EXPECT_EQ(PandocToJsonCommand(DetectPandoc(), "html"), "\"" + fake.pandoc + "\" --from html --to json --sandbox");
    }
    {
        test::FakePandocHome fake("pandoc 1.12.3", "");
        EXPECT_EQ(PandocVersion(), "1.12.3");
        EXPECT_FALSE(IsPandocUsable());
    }
    test::FakePandocHome fake("pandoc 4.0", R"(printf '%s' '{"pandoc-api-version":[1,23,1],"meta":{},"blocks":[]}')");
    EXPECT_EQ(DetectPandoc().jsonApi, "1.23");
}

// Documents through the real Pandoc and back are the Pandoc round-trip suite's (tests/convert).
TEST(PandocRealRuns, WarningsAreKeptApartAndAFailureGivesItsMessage) {
    PandocInstallation pandoc = DetectPandoc();
    ASSERT_TRUE(pandoc.usable()) << "version " << pandoc.version;
    std::string json, messages;
    ASSERT_TRUE(PandocToJson(pandoc, "[a]: /one\n[a]: /two\n\nSee [a].\n", "markdown", json, &messages));
    EXPECT_NE(messages.find("Duplicate"), std::string::npos) << messages;
    EXPECT_NO_THROW(parseJson(json));
    std::string output;
    EXPECT_FALSE(PandocFromJson("{\"not\": \"a document\"", "markdown", output));
    EXPECT_FALSE(output.empty());
    // Text from outside reads no file it names (the network case is the window suite's).
    const testing::TempFolder folder;
    const std::string secret = folder.Write("secret.tex", "QORVASECRETMARKER\n");
    ASSERT_TRUE(PandocToJson(pandoc, "\\input{" + secret + "}\n\nafter\n", "latex", json, &messages)) << messages;
    EXPECT_EQ(json.find("QORVASECRETMARKER"), std::string::npos) << json;
    EXPECT_NE(json.find("after"), std::string::npos) << json;
}

}  // namespace
}  // namespace qorva
