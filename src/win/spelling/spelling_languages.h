// The languages spelling is checked in: every installed Hunspell dictionary
// (Debian's hunspell-* packages), turned into the engine's .bdic format on first
// use in the user's data folder, together with the user's personal word list.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace qorva {

struct SpellingLanguage {
    std::string code;   // "de_DE"
    std::string label;  // "German (Germany)"
};

// The languages whose Hunspell dictionary is installed, in the order of their labels.
std::vector<SpellingLanguage> InstalledSpellingLanguages();

// Stores `code` as the spelling language and checks in it at once; a dictionary
// used for the first time is converted in the background first (about a second).
void ApplySpellingLanguage(const std::string& code);

// Where more languages come from, for the list of languages.
inline constexpr const char* kMoreSpellingLanguagesHint =
    "Install hunspell-xx packages for more languages (hunspell-de-de, hunspell-fr, hunspell-es, ...)";

// Before the engine starts: the folder the engine reads dictionaries from.
void PrepareSpellingFolder();
// Once the program runs, before the first window: the stored language and the
// personal word list.
void StartSpelling();

// Words the check accepts from now on: an added one is kept in the personal word
// list (a plain file, one word a line); an ignored one for this run only.
void AddToPersonalDictionary(const std::string& word);
void IgnoreSpellingThisRun(const std::string& word);

// The items of a right click on a flagged word: its suggestions (a choice calls
// `replace`), "Add to Dictionary" and "Ignore".
void AddSpellingItems(QMenu& menu, const std::string& word, const std::vector<std::string>& suggestions,
                      const std::function<void(const std::string&)>& replace);

// "de_DE" gives "German (Germany)", "fr" gives "French"; a name the system
// does not know stays as it is.
std::string SpellingLanguageLabel(const std::string& code);
// The engine's name of a dictionary: "de_DE" gives "de-DE".
std::string EngineDictionaryName(const std::string& code);

}  // namespace qorva
