#include "src/win/view/image_files.h"

#include "tools/files/file_io.h"
#include "src/win/view/image_reference.h"

#include <cerrno>
#include <sys/stat.h>

namespace qorva {

std::string SaveIntoImagesFolder(const std::string& documentFolder, const std::string& stem,
                                 const std::string& extension, int firstNumber, std::string_view bytes) {
    const std::string folder = JoinPath(documentFolder, "images");
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        if (errno != ENOENT) throw FileError(folder, errno);
        if (mkdir(folder.c_str(), 0755) == 0) chmod(folder.c_str(), 0755);  // readable by all, as published pictures are
        else if (errno != EEXIST) throw FileError(folder, errno);
        if (lstat(folder.c_str(), &info) != 0) throw FileError(folder, errno);
    }
    if (S_ISLNK(info.st_mode)) throw FileError(folder, ELOOP, "a link, not a folder: no picture is written through it");
    if (!S_ISDIR(info.st_mode)) throw FileError(folder, ENOTDIR);
    for (int number = firstNumber; number < firstNumber + 10000; ++number) {
        const std::string name = NumberedFileName(stem, extension, number);
        try {
            WriteNewFile(JoinPath(folder, name), bytes);
            return "images/" + name;
        } catch (const FileError& error) {
            if (error.errorCode() != EEXIST) throw;
        }
    }
    throw FileError(folder, EEXIST);
}

}  // namespace qorva
