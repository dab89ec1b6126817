#include "src/win/document/file_stamp.h"

#include <sys/stat.h>

namespace qorva {

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return {true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

OutsideChange DecideOutsideChange(const FileStamp& known, const FileStamp& now, bool modified,
                                  bool missingReported) {
    if (!now.exists) return known.exists && !missingReported ? OutsideChange::ReportMissing : OutsideChange::None;
    if (now == known) return OutsideChange::None;
    return modified ? OutsideChange::AskReload : OutsideChange::Reload;
}

namespace message {

MessageSpec ReloadChangedFile(std::string_view path) {
    return {"\u2018" + std::string(path) +
                "\u2019 has been changed by another program.\n\nKeep your unsaved changes? (No "
                "loads the changed file and your changes are lost.)",
            std::string(kQorva), MessageButtons::YesNo, MessageIcon::Exclamation};
}

MessageSpec FileWasRemoved(std::string_view path) {
    return {"\u2018" + std::string(path) +
                "\u2019 has been deleted or moved by another program.\n\nThe document stays open; save it "
                "to keep it.",
            std::string(kQorva), MessageButtons::Ok, MessageIcon::Exclamation};
}

MessageSpec OverwriteChangedFile(std::string_view path) {
    return {"\u2018" + std::string(path) +
                "\u2019 has been changed by another program since it was opened or saved.\n\nSave over "
                "it anyway?",
            std::string(kQorva), MessageButtons::YesNo, MessageIcon::Exclamation};
}

}  // namespace message
}  // namespace qorva
