// Where the program finds its dictionaries: the user's data folder first, then the
// executable's folder and the installed data folder beside it.
#pragma once

#include <QStringList>

namespace qorva {

QString ProgramFolder();
// Folders searched for dictionaries, themes and templates; earlier ones win.
QStringList ProgramDataFolders();

// The dictionary to use (full path and language code), chosen from the .bdic files
// of the data folders; empty path when there is none.
struct FoundDictionary {
    QString path;
    QString languageCode;
};
FoundDictionary FindDictionary(const QStringList& folders);

}  // namespace qorva
