// What the program's own command line asks for before any window exists: the
// information options (--help, --version), an unknown option, or a start with
// the arguments that name the first document.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

enum class ProgramAction { Start, PrintHelp, PrintVersion, UnknownOption };

struct ProgramRequest {
    ProgramAction action = ProgramAction::Start;
    // For Start: the arguments naming the document, without a leading "--".
    std::vector<std::string> documentArguments;
    // After "--" every argument is a file name, even "--welcome".
    bool filesOnly = false;
    std::string unknownOption;
};

// Options are looked for in the first argument only: the rest of the line may be
// the words of an unquoted path with spaces, some of which may begin with "-".
ProgramRequest ReadProgramArguments(const std::vector<std::string>& arguments);

// Writes the answer to an information option or an unknown option and gives the
// exit code (0, or 2 for an unknown option); nothing when the program should start.
std::optional<int> AnswerProgramRequest(const ProgramRequest& request, std::string_view version,
                                        std::ostream& out, std::ostream& err);

// The first document's command line and the files that each open in a window of
// their own. A file manager hands over each selected file as one argument, while a
// person may type a path with spaces unquoted: the whole line wins when it names a
// file, else several arguments that each name a file are taken one by one.
struct StartDocuments {
    std::string commandLine;
    std::vector<std::string> otherFiles;
};
StartDocuments ArrangeStartDocuments(const ProgramRequest& request,
                                     const std::function<bool(const std::string&)>& isFile);

}  // namespace qorva
