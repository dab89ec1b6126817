// Whole-file reading and writing, temporary work folders and system error texts.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <optional>
#include <string>
#include <sys/types.h>
#include <string_view>

namespace qorva {

// A file operation that failed; what() reads "PATH: system message".
class FileError : public std::runtime_error {
public:
    FileError(const std::string& path, int errorCode);
    // With a reason of the program's own where the system has no fitting message.
    FileError(const std::string& path, int errorCode, const std::string& reason);
    int errorCode() const { return errorCode_; }

private:
    int errorCode_;
};

inline constexpr const char* kNotARegularFile = "not a regular file (a device, a pipe or a socket)";

// The file's bytes exactly as stored. Only a regular file is read (after links,
// unless `followLinks` is false: then a link is refused with ELOOP): a device or
// a pipe throws FileError without being read, and so does a file of more than
// `maxBytes` (EFBIG).
std::string ReadWholeFile(const std::string& path, std::uint64_t maxBytes = UINT64_MAX, bool followLinks = true);

// Replaces the file's content atomically: the bytes go to a new file beside the
// target, are flushed to disk, and only then take the target's name. If anything
// fails the target keeps its old content and FileError is thrown. An existing
// target keeps its permissions; a symbolic link keeps pointing at the file it
// named, which receives the content. A new file gets `newFileMode`, or the usual
// mode for a new file (0666 less the umask) when none is given. A read-only
// target is refused (EACCES), for root too, and so is anything but a regular file
// (a device, a pipe, a folder), which is never replaced. Hidden temporaries left
// beside the target by an earlier write of this program that was killed are
// removed first; no other file is.
void WriteWholeFile(const std::string& path, std::string_view bytes,
                    std::optional<mode_t> newFileMode = std::nullopt);

// Creates the file `path` holding `bytes`, never replacing what is there (EEXIST)
// nor writing through a link; a write that fails leaves no file. Throws FileError.
void WriteNewFile(const std::string& path, std::string_view bytes, mode_t mode = 0644);

// Removes the hidden temporaries of earlier writes of `path` whose writer is gone
// (a write in progress holds a lock on its temporary and is left alone).
void RemoveStaleTemporaries(const std::string& path);

// Creates a new hidden temporary beside `target` under the program's own name
// pattern, locked as a live write until the descriptor is closed. Returns the
// descriptor (-1 with errno on failure) and sets `temporary` to its path.
int OpenTemporaryBeside(const std::string& target, std::string& temporary);

// Moves a finished file onto `target`, replacing it only when it is a regular file
// (after links); across file systems the bytes are copied with WriteWholeFile and
// the source removed. Throws FileError.
void MoveFileReplacing(const std::string& source, const std::string& target);

// Creates a new empty folder named TEX followed by a unique suffix in the user's
// temporary folder ($TMPDIR, else /tmp). False when that fails.
bool MakeTempFolder(std::string& path);

// Deletes the entries directly inside the folder, then the folder. Sub-folders are
// not descended into, so a folder holding one is left in place.
void RemoveTempFolder(const std::string& path);

// The system's message for an errno value.
std::string SystemErrorText(int errorCode);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// The path without its last component ("/a/b.text" gives "/a"; "b.text" gives ".").
std::string FolderOf(const std::string& path);
// An absolute form of the path (relative paths are taken from the current folder);
// not resolved further, so it works for files that do not exist yet.
std::string AbsolutePath(const std::string& path);
std::string CurrentFolder();
std::string JoinPath(const std::string& folder, const std::string& name);

// Every line feed as carriage return and line feed, as clipboard text and exports end their lines.
std::string ToCrLf(std::string_view text);

// How a document file ends its lines: kept from the file it was read from, line
// feeds for a new one.
enum class LineEnds { Lf, CrLf };
// CR LF when most of the text's line feeds follow a carriage return; LF otherwise,
// also when there is no line feed at all.
LineEnds LineEndsOf(std::string_view text);
// Text whose lines end in line feeds, with the given line ends.
std::string WithLineEnds(std::string_view text, LineEnds ends);

}  // namespace qorva
