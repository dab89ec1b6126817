#include "src/win/spelling/spelling_languages.h"

#include "src/win/platform/browser.h"
#include "src/win/settings/settings.h"
#include "tools/files/file_io.h"
#include "tools/user_files/user_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <cerrno>
#include <csignal>

namespace qorva {
namespace {

// Hunspell's folders; QORVA_HUNSPELL_PATH (folders separated by colons) replaces them.
QStringList HunspellFolders() {
    const QString path = qEnvironmentVariable("QORVA_HUNSPELL_PATH");
    if (!path.isEmpty()) return path.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return {QStringLiteral("/usr/share/hunspell")};
}

// The .dic file of a language, with its .aff beside it; empty when not installed.
QString SourceDictionary(const std::string& code) {
    if (code.empty() || code.find('/') != std::string::npos || code[0] == '.') return {};
    for (const QString& folder : HunspellFolders()) {
        const QString base = QDir(folder).filePath(QString::fromStdString(code));
        if (QFileInfo(base + QStringLiteral(".dic")).isFile() && QFileInfo(base + QStringLiteral(".aff")).isFile())
            return base + QStringLiteral(".dic");
    }
    return {};
}

QString DictionaryFolder() { return QString::fromStdString(JoinPath(UserDataFolder(), "dictionaries")); }
std::string PersonalWordsFile() { return JoinPath(UserDataFolder(), "personal-dictionary.txt"); }

QString BdicPath(const std::string& engineName) {
    return QDir(DictionaryFolder()).filePath(QString::fromStdString(engineName) + QStringLiteral(".bdic"));
}

struct SpellingState {
    std::string code;              // the language being checked or converted
    std::string personal;          // engine name of the personal word list, if any
    int personalRound = 0;         // makes each rebuilt word list a new dictionary
    std::set<std::string> ignored;  // for this run
};

SpellingState& State() {
    static SpellingState state;
    return state;
}

void UseDictionaries() {
    std::vector<std::string> names;
    if (QFileInfo(BdicPath(EngineDictionaryName(State().code))).isFile())
        names.push_back(EngineDictionaryName(State().code));
    if (!names.empty() && !State().personal.empty()) names.push_back(State().personal);
    Browser::SetSpellCheckLanguages(names);
}

// Converts a Hunspell dictionary into `target` in the background; `done` learns
// whether it worked. The result takes its name only once complete.
void Convert(const QString& dic, const QString& target, std::function<void(bool)> done) {
    const QString converter =
        QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + QStringLiteral("/qwebengine_convert_dict");
    // Each window is a process of its own: two may convert the same language at once.
    const QString partial = target + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, partial, target, done](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         const bool ok = status == QProcess::NormalExit && exitCode == 0 &&
                                         QFileInfo(partial).size() > 0 &&
                                         std::rename(partial.toLocal8Bit().constData(),
                                                     target.toLocal8Bit().constData()) == 0;
                         if (!ok) QFile::remove(partial);
                         done(ok);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, done](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        std::fprintf(stderr, "qorva: spelling dictionaries cannot be converted: %s\n",
                     process->errorString().toLocal8Bit().constData());
        process->deleteLater();
        done(false);
    });
    process->start(converter, {dic, partial});
}

// A converted dictionary that came with the program, for a language whose
// Hunspell files are missing or older.
QString PrebuiltDictionary(const std::string& engineName) {
    for (const std::string& folder : UserFileFolders()) {
        const QString path = QString::fromStdString(JoinPath(folder, engineName + ".bdic"));
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

void ActivateLanguage() {
    const std::string code = State().code;
    const QString source = SourceDictionary(code);
    const QString target = BdicPath(EngineDictionaryName(code));
    const QFileInfo converted(target);
    const QDateTime sourceTime = QFileInfo(source).lastModified();
    if (converted.isFile() && (source.isEmpty() || converted.lastModified() >= sourceTime)) return UseDictionaries();
    const QString prebuilt = PrebuiltDictionary(EngineDictionaryName(code));
    if (!prebuilt.isEmpty() && (source.isEmpty() || QFileInfo(prebuilt).lastModified() >= sourceTime)) {
        QFile::remove(target);
        QFile::copy(prebuilt, target);
        return UseDictionaries();
    }
    if (source.isEmpty()) return UseDictionaries();
    Convert(source, target, [code](bool ok) {
        if (!ok) std::fprintf(stderr, "qorva: the %s spelling dictionary could not be converted\n", code.c_str());
        if (State().code == code) UseDictionaries();
    });
}

std::vector<std::string> PersonalWords() {
    std::vector<std::string> words;
    try {
        const std::string text = ReadWholeFile(PersonalWordsFile(), 16u << 20);
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string word = text.substr(start, end - start);
            if (!word.empty() && word.back() == '\r') word.pop_back();
            if (!word.empty()) words.push_back(word);
            start = end + 1;
        }
    } catch (const FileError&) {
        // none yet, or unreadable: no personal words
    }
    return words;
}

// Hunspell reads a slash as the start of flags; the word list keeps words whole.
bool FitsWordList(const std::string& word) {
    return !word.empty() && word.find_first_of("/ \t\r\n") == std::string::npos;
}

// Files of earlier runs: word lists ("personal-PID-N.bdic") and unfinished
// conversions ("NAME.bdic.PID.part") whose process is gone.
void RemoveLeftovers() {
    QDir folder(DictionaryFolder());
    for (const QString& name : folder.entryList({QStringLiteral("personal-*.bdic"), QStringLiteral("*.part")}, QDir::Files)) {
        const QStringList parts = name.split(QRegularExpression(QStringLiteral("[-.]")));
        const qint64 pid = name.startsWith(QLatin1String("personal-")) ? parts.value(1).toLongLong()
                                                                          : parts.value(parts.size() - 2).toLongLong();
        if (pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) continue;
        folder.remove(name);
    }
}

// The personal and ignored words as one more small dictionary beside the language's.
void RebuildPersonalDictionary() {
    std::set<std::string> words(State().ignored);
    for (const std::string& word : PersonalWords())
        if (FitsWordList(word)) words.insert(word);
    const std::string previous = State().personal;
    if (words.empty()) {
        State().personal.clear();
        UseDictionaries();
        if (!previous.empty()) QFile::remove(BdicPath(previous));
        return;
    }
    std::string folder;
    if (!MakeTempFolder(folder)) return;
    // The converter refuses a list of one word; the program's name is a word too.
    words.insert("Qorva");
    std::string dic = std::to_string(words.size()) + "\n";
    for (const std::string& word : words) dic += word + "\n";
    try {
        WriteWholeFile(JoinPath(folder, "personal.aff"), "SET UTF-8\n");
        WriteWholeFile(JoinPath(folder, "personal.dic"), dic);
    } catch (const FileError&) {
        RemoveTempFolder(folder);
        return;
    }
    // A new name each time (the engine keeps a dictionary it loaded under a name),
    // and the process's own (other windows have theirs).
    const std::string name = "personal-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
                             std::to_string(++State().personalRound);
    Convert(QString::fromStdString(JoinPath(folder, "personal.dic")), BdicPath(name), [folder, name, previous](bool ok) {
        RemoveTempFolder(folder);
        if (!ok) return;
        State().personal = name;
        UseDictionaries();
        if (!previous.empty()) QFile::remove(BdicPath(previous));
    });
}

}  // namespace

std::string EngineDictionaryName(const std::string& code) {
    std::string name = code;
    std::replace(name.begin(), name.end(), '_', '-');
    return name;
}

std::string SpellingLanguageLabel(const std::string& code) {
    const QLocale locale(QString::fromStdString(code));
    if (locale.language() == QLocale::C) return code;
    QString label = QLocale::languageToString(locale.language());
    if (code.find_first_of("_-") != std::string::npos && locale.territory() != QLocale::AnyTerritory)
        label += QStringLiteral(" (%1)").arg(QLocale::territoryToString(locale.territory()));
    return label.toStdString();
}

std::vector<SpellingLanguage> InstalledSpellingLanguages() {
    std::map<std::string, SpellingLanguage> byCode;
    for (const QString& folder : HunspellFolders()) {
        for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.dic")}, QDir::Files)) {
            const std::string code = file.completeBaseName().toStdString();
            if (!byCode.count(code) && !SourceDictionary(code).isEmpty())
                byCode[code] = {code, SpellingLanguageLabel(code)};
        }
    }
    // Dictionaries that came converted with the program, or that the user put beside it.
    for (const std::string& folder : UserFileFolders()) {
        for (const QFileInfo& file : QDir(QString::fromStdString(folder)).entryInfoList({QStringLiteral("*.bdic")}, QDir::Files)) {
            std::string code = file.completeBaseName().toStdString();
            std::replace(code.begin(), code.end(), '-', '_');
            if (!byCode.count(code)) byCode[code] = {code, SpellingLanguageLabel(code)};
        }
    }
    std::vector<SpellingLanguage> languages;
    for (auto& [code, language] : byCode) languages.push_back(language);
    std::stable_sort(languages.begin(), languages.end(),
                     [](const SpellingLanguage& a, const SpellingLanguage& b) { return a.label < b.label; });
    return languages;
}

void ApplySpellingLanguage(const std::string& code) {
    WriteSpellingLanguageSetting(code);
    State().code = code.empty() ? "en_US" : code;
    ActivateLanguage();
}

void PrepareSpellingFolder() {
    const QString folder = DictionaryFolder();
    QDir().mkpath(folder);
    Browser::SetDictionaryFolder(folder.toStdString());
}

void StartSpelling() {
    RemoveLeftovers();
    State().code = SpellingLanguageSetting();
    ActivateLanguage();
    if (!PersonalWords().empty()) RebuildPersonalDictionary();
}

void AddToPersonalDictionary(const std::string& word) {
    if (!FitsWordList(word)) return;
    std::vector<std::string> words = PersonalWords();
    if (std::find(words.begin(), words.end(), word) == words.end()) {
        std::string text;
        for (const std::string& known : words) text += known + "\n";
        try {
            WriteWholeFile(PersonalWordsFile(), text + word + "\n");
        } catch (const FileError& error) {
            std::fprintf(stderr, "qorva: %s\n", error.what());
        }
    }
    RebuildPersonalDictionary();
}

void IgnoreSpellingThisRun(const std::string& word) {
    if (!FitsWordList(word)) return;
    State().ignored.insert(word);
    RebuildPersonalDictionary();
}

void AddSpellingItems(QMenu& menu, const std::string& word, const std::vector<std::string>& suggestions,
                      const std::function<void(const std::string&)>& replace) {
    for (const std::string& suggestion : suggestions) {
        QAction* action = menu.addAction(QString::fromStdString(suggestion));
        QFont font = action->font();
        font.setBold(true);
        action->setFont(font);
        QObject::connect(action, &QAction::triggered, [replace, suggestion] { replace(suggestion); });
    }
    if (suggestions.empty()) menu.addAction(QStringLiteral("No Suggestions"))->setEnabled(false);
    menu.addSeparator();
    QObject::connect(menu.addAction(QStringLiteral("Add to Dictionary")), &QAction::triggered,
                     [word] { AddToPersonalDictionary(word); });
    QObject::connect(menu.addAction(QStringLiteral("Ignore")), &QAction::triggered,
                     [word] { IgnoreSpellingThisRun(word); });
}

}  // namespace qorva
