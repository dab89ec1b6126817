// The list of recently used documents behind "Open Recent": newest first in the
// menu, a configurable maximum, duplicates compared without regard to letter
// case, read once when the window opens and written back when it closes. Each
// entry keeps the keyword of the format its file was last opened or saved in
// ("Format%i" beside "Document%i"); entries stored without one have none.
#pragma once

#include "src/win/settings/settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

// Entry k (1 = most recent) has the command identifier 57615 + k.
inline constexpr int kRecentFirstId = 57616;
inline constexpr int kRecentLastId = 57631;
inline constexpr int kRecentDefaultMaximum = 9;
inline constexpr int kRecentLowestMaximum = 2;
inline constexpr int kRecentHighestMaximum = 16;
// Longest path kept, in UTF-16 code units; longer paths are cut.
inline constexpr size_t kRecentPathLimit = 259;

struct RecentMenuItem {
    int id = 0;
    std::string text;
    bool enabled = true;
    bool operator==(const RecentMenuItem&) const = default;
};

class RecentDocumentList {
public:
    int Maximum() const { return maximum_; }
    // Clamped to 2..16.
    void SetMaximum(int maximum);

    // Paths, oldest first, newest last.
    std::vector<std::string> Entries() const;

    // Makes the path the most recent entry, dropping a case-insensitive duplicate
    // and, when the list is full, the oldest entry.
    void Add(std::string_view path, std::string_view format = {});
    // The format keyword of the path's entry; nothing when there is no entry or it
    // has no format.
    std::optional<std::string> FormatOf(std::string_view path) const;
    // Sets the format of the path's entry without moving it; adds it when missing.
    void SetFormat(std::string_view path, std::string_view format);
    // Deletes the entry with the command identifier; false when there is none.
    bool Remove(int id);
    std::optional<std::string> Get(int id) const;

    // Loads the list from the key. False (list unchanged) when the key or its
    // DocumentCount number is missing: the menu then keeps its placeholder.
    bool Read(const SettingsStore& store, std::string_view key = kRecentDocumentsKey);
    // Stores DocumentCount and Document1..N, deleting stale values after N.
    bool Write(SettingsStore& store, std::string_view key = kRecentDocumentsKey) const;

    // The submenu's items: "&k path" newest first, or one disabled placeholder.
    std::vector<RecentMenuItem> MenuItems(std::string_view placeholder) const;

private:
    std::optional<size_t> IndexOf(int id) const;

    struct Entry {
        std::string path;
        std::string format;  // empty: not known
    };
    std::vector<Entry>::iterator Find(std::string_view path);

    std::vector<Entry> entries_;
    int maximum_ = kRecentDefaultMaximum;
};

}  // namespace qorva
