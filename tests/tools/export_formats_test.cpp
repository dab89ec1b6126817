// The export format table and the proposed output names.
#include "src/win/tools/export_formats.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(ExportFormatTable, MenuOrderKindsAndCommands) {
    std::vector<int> commands;
    for (const ExportFormat& format : ExportFormats()) commands.push_back(format.commandId);
    EXPECT_EQ(commands, (std::vector<int>{33061, 33063, 33064, 33065, 33060, 33062}));
    EXPECT_EQ(FindExportFormatByCommand(33060)->kind, ExportKind::Pdf);
    EXPECT_STREQ(FindExportFormat(ExportKind::Epub)->filterPattern, "*.epub");
    EXPECT_STREQ(FindExportFormat(ExportKind::Html)->filterPattern, "*.html;*.htm");
    EXPECT_EQ(FindExportFormat(ExportKind::None), nullptr);
    EXPECT_EQ(FindExportFormatByCommand(kRepeatExportCommand), nullptr);
}

TEST(ExportFormatTable, TemplatesAndToolsPerFormat) {
    EXPECT_STREQ(FindExportFormatByCliName("pdf")->templateExtension, ".xelatex");
    EXPECT_STREQ(FindExportFormatByCliName("xelatex")->templateExtension, ".xelatex");
    EXPECT_STREQ(FindExportFormatByCliName("html5")->templateExtension, ".html5");
    for (auto name : {"docx", "rtf", "epub"}) {
        const ExportFormat* format = FindExportFormatByCliName(name);
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format->templateExtension, nullptr);
        EXPECT_EQ(format->toolCheck, ExportTool::Pandoc);
        EXPECT_STREQ(format->pandocFormat, name);
    }
    EXPECT_EQ(FindExportFormatByCliName("html"), nullptr);
}

TEST(ProposedExportPath, ExtensionOfTheFileNameIsReplacedOrAppended) {
    EXPECT_EQ(ProposedExportPath("/docs/a.text", ".pdf"), "/docs/a.pdf");
    EXPECT_EQ(ProposedExportPath("/docs/a.b.text", ".html"), "/docs/a.b.html");
    EXPECT_EQ(ProposedExportPath("/docs/a", ".pdf"), "/docs/a.pdf");
    EXPECT_EQ(ProposedExportPath("/my.docs/a", ".pdf"), "/my.docs/a.pdf");
    EXPECT_EQ(ProposedExportPath("/docs/.notes", ".rtf"), "/docs/.notes.rtf");
    EXPECT_EQ(ProposedExportPath("", ".pdf"), "");
}

}  // namespace
}  // namespace qorva
