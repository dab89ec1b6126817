#include "tools/xelatex/xelatex.h"

#include "tools/process/command_line.h"
#include "tools/files/file_io.h"
#include "tools/xelatex/font_substitution.h"
#include "tools/process/process_runner.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace qorva {
namespace {

std::vector<std::string> subfolders(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != ".." && FolderExists(JoinPath(folder, name))) names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Creates the source as a new file; a failure shows up later as a missing PDF.
void writeNewFile(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

// The first few error lines of a TeX log ("! Undefined control sequence." and the
// line that follows), so a failed export can say what went wrong.
std::string firstErrors(const std::string& log) {
    std::istringstream lines(log);
    std::string line, errors;
    int count = 0;
    while (std::getline(lines, line) && count < 3) {
        if (line.rfind("! ", 0) == 0) {
            errors += "\n" + line;
            ++count;
        }
    }
    return errors;
}

// XeLaTeX leaves an empty x.pdf behind when its PDF driver dies (a broken image,
// for one); only a file that starts like a PDF counts as a result.
bool isPdf(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char head[5] = {};
    ssize_t n = ::read(fd, head, sizeof head);
    ::close(fd);
    return n == 5 && std::string_view(head, 5) == "%PDF-";
}

}  // namespace

std::string LocateTeXFolder(const std::string& texliveRoot) {
    std::vector<std::string> years = subfolders(texliveRoot);
    for (auto year = years.rbegin(); year != years.rend(); ++year) {
        std::string bin = JoinPath(JoinPath(texliveRoot, *year), "bin");
        for (const std::string& arch : subfolders(bin)) {
            std::string folder = JoinPath(bin, arch) + "/";
            if (access((folder + "xelatex").c_str(), X_OK) == 0) return folder;
        }
    }
    return {};
}

bool RunTeX(std::string_view commandLine, std::string_view workingFolder, std::string_view input,
            std::string& output, ProcessResult* result, const std::vector<std::string>& environment) {
    std::string folder = LocateTeXFolder();
    ProcessResult run;
    if (folder.empty()) {
        run = RunChild({commandLine, workingFolder, "", input, environment}, output, nullptr);
    } else {
        // The quoted folder touches the program name, so the two make one argument.
        std::string fromFolder = QuoteArgument(folder) + std::string(commandLine);
        run = RunChild({fromFolder, workingFolder, folder, input, environment}, output, nullptr);
    }
    if (result) *result = run;
    return run.succeeded();
}

bool IsXeLaTeXAvailable() {
    std::string output;
    return RunTeX("xelatex -version", "", "", output) && output.find("XeTeX") != std::string::npos;
}

std::string XeLaTeXCommand(const std::string& workFolder) {
    return "xelatex -no-shell-escape -interaction nonstopmode -output-directory " + QuoteArgument(workFolder) + " " +
           QuoteArgument(JoinPath(workFolder, "x.tex"));
}

std::vector<std::string> XeLaTeXSandbox(const std::string& workFolder) {
    // The PDF driver's temporary files go into the work folder too, and with it.
    return {"openin_any=p", "openout_any=p", "shell_escape=f", "TEXMFOUTPUT=" + workFolder,
            "TMPDIR=" + workFolder, "TMP=" + workFolder, "TEMP=" + workFolder};
}

bool ExportPdfViaXeLaTeX(std::string_view latex, const std::string& targetPath, const std::string& workFolder,
                         std::string& errorText, bool* cancelled) {
    const std::string source = JoinPath(workFolder, "x.tex");
    const std::string result = JoinPath(workFolder, "x.pdf");
    writeNewFile(source, SubstituteMissingFonts(latex));

    const std::string command = XeLaTeXCommand(workFolder);
    const std::vector<std::string> sandbox = XeLaTeXSandbox(workFolder);
    // Non-stop mode may report errors and still give a usable PDF, so only the
    // PDF's presence counts. The run starts in the work folder, where the pictures are.
    std::string output;
    ProcessResult pass;
    RunTeX(command, workFolder, "", output, &pass, sandbox);
    if (pass.started && isPdf(result) && !pass.timedOut && !pass.cancelled) {
        // The second pass settles cross-references, contents and long-table widths.
        RunTeX(command, workFolder, "", output, &pass, sandbox);
    }
    if (cancelled) *cancelled = pass.cancelled;
    if (!pass.started || pass.timedOut || pass.cancelled) {
        errorText = std::string(kPdfExportFailed) + "\n" + DescribeFailure("XeLaTeX", pass);
        return false;
    }
    if (!isPdf(result)) {
        errorText = kPdfExportFailed + firstErrors(output);
        return false;
    }
    try {
        MoveFileReplacing(result, targetPath);
    } catch (const FileError& error) {
        errorText = SystemErrorText(error.errorCode());
        return false;
    }
    return true;
}

}  // namespace qorva
