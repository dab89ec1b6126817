#include "tools/export/export.h"

#include "tools/converter_host/converter_host.h"
#include "tools/pictures/export_images.h"
#include "tools/files/file_io.h"
#include "tools/pandoc/pandoc.h"
#include "tools/pandoc/pandoc_fragments.h"
#include "tools/process/run_leftovers.h"
#include "tools/templates/templates.h"
#include "tools/xelatex/xelatex.h"

#include <cerrno>
#include <map>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorva {
namespace {

ExportResult failure(std::string text) { return ExportResult{false, std::move(text), {}}; }

// Runs a writer; a converter that throws must not turn into an empty export that
// claims success.
bool runWriter(std::string (*writer)(std::string_view, std::string*), std::string_view modelJson,
             std::string& output, std::string& errorText) {
    std::string error;
    output = writer(modelJson, &error);
    if (error.empty()) return true;
    errorText = std::string(kFormattingError) + "\n" + error;
    return false;
}

// The private folder a tool run works in, removed with everything in it, also when
// a signal ends the program.
class WorkFolder {
public:
    WorkFolder() {
        made_ = MakeTempFolder(path_);
        if (made_) leftover_.emplace(path_);
    }
    ~WorkFolder() {
        if (made_) RemoveTempFolder(path_);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    bool made() const { return made_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool made_ = false;
    std::optional<ScopedRunLeftover> leftover_;
};

// The model with its pictures copied into the work folder, or a failure text.
bool preparePictures(std::string_view modelJson, const std::string& documentFolder, const WorkFolder& work,
                     bool fetchRemote, bool pdfPictures, std::string& prepared, std::vector<std::string>& leftOut,
                     std::string& errorText) {
    if (!work.made()) {
        errorText = "Cannot make a work folder for the export: " + SystemErrorText(errno);
        return false;
    }
    try {
        PreparedImages images = PrepareExportImages(modelJson, {documentFolder, work.path(), fetchRemote, pdfPictures});
        prepared = std::move(images.modelJson);
        leftOut = std::move(images.leftOut);
    } catch (const std::exception& error) {
        errorText = std::string(kFormattingError) + "\n" + error.what();
        return false;
    }
    return true;
}

// The PDF's title and language, set before anything (a table of contents) is
// typeset; as part of the template, in its line ends.
TemplateInsert latexMetadataInsert(std::string_view modelJson, const std::string& path, const std::string& language) {
    std::string text = "\n" + LatexMetadata({ExportTitle(modelJson, path), language});
    text.pop_back();
    return {text, "\\begin{document}", true};
}

mode_t newFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

ExportResult ExportHtml(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                        const std::vector<std::string>& templateFolders, const HtmlExportOptions& options) {
    const std::string target = AbsolutePath(path);
    std::string prepared;
    std::vector<convert::HtmlFragmentSource> sources;
    try {
        const std::string documentFolder = options.documentFolder.empty() ? CurrentFolder() : options.documentFolder;
        prepared = PrepareHtmlPictures(modelJson, {documentFolder, FolderOf(target), options.embedPictures});
        // Each formula and code block goes to Pandoc once, however often it occurs.
        std::map<std::tuple<convert::HtmlFragmentKind, std::string, std::string>, bool> seen;
        for (convert::HtmlFragmentSource& source : convert::htmlFragmentSources(prepared))
            if (seen.emplace(std::tuple(source.kind, source.language, source.text), true).second)
                sources.push_back(std::move(source));
    } catch (const std::exception& error) {
        return failure(std::string(kFormattingError) + "\n" + error.what());
    }
    PandocFragments fragments;
    if (!sources.empty()) {
        WorkFolder work;
        if (work.made()) fragments = MakePandocFragments(DetectPandoc(), sources, work.path());
        else fragments.problem = "Cannot make a work folder for the export: " + SystemErrorText(errno);
    }
    const std::string fragmentOptions = convert::htmlFragmentOptions(sources, fragments.markup);
    std::string body, error;
    body = TryWriteHtml(prepared, fragmentOptions.c_str(), &error);
    if (!error.empty()) return failure(std::string(kFormattingError) + "\n" + error);
    const bool coloured = std::any_of(sources.begin(), sources.end(), [&](const auto& source) {
        return source.kind == convert::HtmlFragmentKind::Code && !fragments.markup[&source - sources.data()].empty();
    });
    const std::string style = coloured && !fragments.css.empty() ? "<style>\n" + fragments.css + "</style>\n" : "";
    const TemplateFields fields = {{"$title$", HtmlEscaped(ExportTitle(modelJson, target))},
                                   {"$lang$", HtmlEscaped(LanguageTag(options.language))}};
    try {
        WriteWholeFile(target, ApplyTemplate(templateChoice + kHtmlTemplateExtension, ToCrLf(body), templateFolders,
                                             fields, {ToCrLf(style), "</head>"}));
    } catch (const FileError& failed) {
        return failure(failed.what());
    }
    return {true, {}, fragments.problem};
}

ExportResult ExportLatex(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                         const std::vector<std::string>& templateFolders, const std::string& language) {
    std::string body, errorText;
    if (!runWriter(&TryWriteLatex, modelJson, body, errorText)) return failure(errorText);
    try {
        WriteWholeFile(path, ApplyTemplate(templateChoice + kLatexTemplateExtension, ToCrLf(body), templateFolders, {},
                                           latexMetadataInsert(modelJson, path, language)));
    } catch (const FileError& error) {
        return failure(error.what());
    }
    return {true, {}, {}};
}

ExportResult ExportPdf(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                       const std::string& workingFolder, const std::vector<std::string>& templateFolders,
                       const std::string& language) {
    std::string prepared, body, errorText;
    std::vector<std::string> leftOut;
    WorkFolder work;
    if (!preparePictures(modelJson, workingFolder, work, false, true, prepared, leftOut, errorText))
        return failure(errorText);
    if (!runWriter(&TryWriteLatex, prepared, body, errorText)) return failure(errorText);
    std::string latex;
    try {
        // XeLaTeX gets the writer's bare line feeds.
        latex = ApplyTemplate(templateChoice + kLatexTemplateExtension, body, templateFolders, {},
                              latexMetadataInsert(modelJson, path, language));
    } catch (const FileError& error) {
        return failure(error.what());
    }
    bool cancelled = false;
    if (!ExportPdfViaXeLaTeX(latex, AbsolutePath(path), work.path(), errorText, &cancelled))
        return {false, errorText, {}, cancelled};
    return {true, {}, {}, false, std::move(leftOut)};
}

ExportResult ExportWithPandoc(std::string_view modelJson, const std::string& path, const std::string& pandocFormat,
                              const std::string& workingFolder, bool fetchRemoteImages, const std::string& language) {
    std::string prepared, errorText;
    std::vector<std::string> leftOut;
    WorkFolder work;
    if (!preparePictures(modelJson, workingFolder, work, fetchRemoteImages, false, prepared, leftOut, errorText))
        return failure(errorText);
    PandocInstallation pandoc = DetectPandoc();
    if (!pandoc.usable()) {
        std::string found = pandoc.version.empty() ? "Pandoc was not found." : "Found Pandoc " + pandoc.version + ".";
        return failure(std::string(kPandocRequired) + " " + found);
    }
    std::string options = pandoc.writerOptions();
    std::string json, error;
    const ExportMetadata metadata{ExportTitle(modelJson, path), language};
    // EPUB and Word keep the title in their package only with Pandoc's title block.
    const bool titleBlock = pandocFormat == "epub" || pandocFormat == "docx";
    try {
        if (pandocFormat == "docx" && !pandoc.legacy()) prepared = WithoutTitleHeading(prepared, metadata.title);
        json = TryWritePandocJson(prepared, pandoc.legacy() ? nullptr : options.c_str(), &error);
        if (error.empty() && !pandoc.legacy()) json = WithPandocMetadata(json, metadata, titleBlock);
    } catch (const std::exception& failed) {
        error = failed.what();
    }
    if (!error.empty()) return failure(std::string(kFormattingError) + "\n" + error);

    // Pandoc writes a new file beside the target; only a finished file replaces it.
    // The temporary stays open (and locked) until then, so no cleanup takes it.
    const std::string target = AbsolutePath(path);
    std::string temporary;
    const int fd = OpenTemporaryBeside(target, temporary);
    if (fd < 0) return failure(FileError(target, errno).what());
    struct CloseLater {
        int fd;
        ~CloseLater() { ::close(fd); }
    } closeLater{fd};
    struct stat existing {};
    fchmod(fd, stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode());
    const ScopedRunLeftover partial(temporary);

    std::string messages;
    bool cancelled = false;
    if (!PandocExport(pandoc, json, pandocFormat, temporary, work.path(), messages, &cancelled)) {
        ::unlink(temporary.c_str());
        return {false, messages, {}, cancelled};
    }
    try {
        MoveFileReplacing(temporary, target);
    } catch (const FileError& failed) {
        ::unlink(temporary.c_str());
        return failure(failed.what());
    }
    return {true, {}, messages, false, std::move(leftOut)};
}

std::string ExportWorkingFolder(const std::string& documentPath) {
    if (documentPath.empty()) return ProgramFolder();
    return FolderOf(AbsolutePath(documentPath));
}

}  // namespace qorva
