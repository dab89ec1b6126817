// Looking up export formats and the proposed output names.
#include "src/win/tools/export_formats.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(ExportFormats, LookupsFindKnownFormatsOnlyAndProposedPathsReplaceOrAppendTheExtension) {
    EXPECT_EQ(FindExportFormatByCliName("docx")->toolCheck, ExportTool::Pandoc);
    EXPECT_EQ(FindExportFormat(ExportKind::None), nullptr);
    EXPECT_EQ(FindExportFormatByCommand(kRepeatExportCommand), nullptr);
    EXPECT_EQ(FindExportFormatByCliName("html"), nullptr);
    EXPECT_EQ(ProposedExportPath("/docs/a.b.text", ".html"), "/docs/a.b.html");
    EXPECT_EQ(ProposedExportPath("/my.docs/a", ".pdf"), "/my.docs/a.pdf");
    EXPECT_EQ(ProposedExportPath("/docs/.notes", ".rtf"), "/docs/.notes.rtf");
    EXPECT_EQ(ProposedExportPath("", ".pdf"), "");
}

}  // namespace
}  // namespace qorva
