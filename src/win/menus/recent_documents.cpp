#include "src/win/menus/recent_documents.h"

#include <QString>

#include <algorithm>

namespace qorva {
namespace {

std::string CutPath(std::string_view path) {
    QString text = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
    if (text.size() <= static_cast<qsizetype>(kRecentPathLimit)) return std::string(path);
    qsizetype keep = static_cast<qsizetype>(kRecentPathLimit);
    if (text.at(keep - 1).isHighSurrogate()) --keep;  // never split a character in two
    return text.left(keep).toStdString();
}

bool SamePathIgnoringCase(std::string_view a, std::string_view b) {
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive) == 0;
}

std::string DocumentValueName(int k) { return "Document" + std::to_string(k); }
std::string FormatValueName(int k) { return "Format" + std::to_string(k); }

}  // namespace

void RecentDocumentList::SetMaximum(int maximum) {
    maximum_ = std::clamp(maximum, kRecentLowestMaximum, kRecentHighestMaximum);
    // A lower maximum drops the oldest entries, so the list never holds more
    // entries than the menu has identifiers for.
    while (entries_.size() > static_cast<size_t>(maximum_)) entries_.erase(entries_.begin());
}

std::vector<std::string> RecentDocumentList::Entries() const {
    std::vector<std::string> paths;
    for (const Entry& entry : entries_) paths.push_back(entry.path);
    return paths;
}

std::vector<RecentDocumentList::Entry>::iterator RecentDocumentList::Find(std::string_view path) {
    const std::string cut = CutPath(path);
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& entry) { return SamePathIgnoringCase(entry.path, cut); });
}

void RecentDocumentList::Add(std::string_view path, std::string_view format) {
    std::string cut = CutPath(path);
    std::erase_if(entries_, [&](const Entry& entry) { return SamePathIgnoringCase(entry.path, cut); });
    if (entries_.size() >= static_cast<size_t>(maximum_)) entries_.erase(entries_.begin());
    entries_.push_back({std::move(cut), std::string(format)});
}

std::optional<std::string> RecentDocumentList::FormatOf(std::string_view path) const {
    const std::string cut = CutPath(path);
    for (const Entry& entry : entries_) {
        if (SamePathIgnoringCase(entry.path, cut) && !entry.format.empty()) return entry.format;
    }
    return std::nullopt;
}

void RecentDocumentList::SetFormat(std::string_view path, std::string_view format) {
    auto found = Find(path);
    if (found == entries_.end()) return Add(path, format);
    found->format = std::string(format);
}

std::optional<size_t> RecentDocumentList::IndexOf(int id) const {
    long long index = static_cast<long long>(entries_.size()) - (id - kRecentFirstId) - 1;
    if (index < 0 || index >= static_cast<long long>(entries_.size())) return std::nullopt;
    return static_cast<size_t>(index);
}

bool RecentDocumentList::Remove(int id) {
    std::optional<size_t> index = IndexOf(id);
    if (!index) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*index));
    return true;
}

std::optional<std::string> RecentDocumentList::Get(int id) const {
    std::optional<size_t> index = IndexOf(id);
    if (!index) return std::nullopt;
    return entries_[*index].path;
}

bool RecentDocumentList::Read(const SettingsStore& store, std::string_view key) {
    std::optional<SettingValue> count = store.Read(key, "DocumentCount");
    if (!count || count->isText()) return false;
    // The stored number is unsigned; a huge one must not wrap to a small maximum.
    maximum_ = static_cast<int>(std::clamp<std::uint32_t>(count->number, kRecentLowestMaximum, kRecentHighestMaximum));
    entries_.clear();
    for (int k = maximum_; k >= 1; --k) {
        std::optional<SettingValue> path = store.Read(key, DocumentValueName(k));
        if (!path || path->isNumber() || Utf16Length(path->text) > kRecentPathLimit) continue;
        std::optional<SettingValue> format = store.Read(key, FormatValueName(k));
        const bool hasFormat = format && format->isText();
        entries_.push_back({path->text, hasFormat ? format->text : std::string()});
    }
    return true;
}

bool RecentDocumentList::Write(SettingsStore& store, std::string_view key) const {
    std::vector<SettingChange> changes;
    changes.push_back({"DocumentCount", SettingValue::OfNumber(static_cast<std::uint32_t>(maximum_))});
    const size_t count = entries_.size();
    for (size_t k = count; k >= 1; --k) {
        const Entry& entry = entries_[count - k];
        changes.push_back({DocumentValueName(static_cast<int>(k)), SettingValue::OfText(entry.path)});
        changes.push_back({FormatValueName(static_cast<int>(k)),
                           entry.format.empty() ? std::nullopt : std::optional(SettingValue::OfText(entry.format))});
    }
    // Up to the highest maximum, so a list that shrank from 16 leaves no stale value.
    for (int k = static_cast<int>(count) + 1; k <= kRecentHighestMaximum; ++k) {
        changes.push_back({DocumentValueName(k), std::nullopt});
        changes.push_back({FormatValueName(k), std::nullopt});
    }
    return store.Apply(key, changes);
}

std::vector<RecentMenuItem> RecentDocumentList::MenuItems(std::string_view placeholder) const {
    std::vector<RecentMenuItem> items;
    if (entries_.empty()) {
        items.push_back({kRecentFirstId, std::string(placeholder), false});
        return items;
    }
    for (size_t k = 1; k <= entries_.size(); ++k) {
        items.push_back({kRecentFirstId + static_cast<int>(k) - 1,
                         "&" + std::to_string(k) + " " + entries_[entries_.size() - k].path, true});
    }
    return items;
}

}  // namespace qorva
