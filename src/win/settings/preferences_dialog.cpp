#include "src/win/settings/preferences_dialog.h"

#include "src/win/document/document_format.h"
#include "src/win/document/named_file_format.h"
#include "src/win/export/export_settings.h"
#include "src/win/settings/settings.h"
#include "src/win/spelling/spelling_languages.h"
#include "tools/process/process_runner.h"
#include "src/win/view/zoom.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qorva {
namespace {

// Formats in the order of the File menu's format submenus, with their keywords.
constexpr DocumentFormat kNewDocumentFormats[] = {DocumentFormat::QorvaMarkdown, DocumentFormat::PandocMarkdown,
                                                  DocumentFormat::GitHubMarkdown, DocumentFormat::MultiMarkdown};
constexpr DocumentFormat kMarkdownFlavours[] = {DocumentFormat::PandocMarkdown, DocumentFormat::GitHubMarkdown};

QString FormatLabel(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::QorvaMarkdown: return QStringLiteral("Qorva Markdown (.text)");
        case DocumentFormat::PandocMarkdown: return QStringLiteral("Pandoc Markdown");
        case DocumentFormat::GitHubMarkdown: return QStringLiteral("GitHub Markdown");
        case DocumentFormat::MultiMarkdown: return QStringLiteral("MultiMarkdown");
    }
    return {};
}

template <size_t N>
QComboBox* FormatCombo(const DocumentFormat (&formats)[N], QWidget* parent) {
    auto* combo = new QComboBox(parent);
    for (DocumentFormat format : formats) {
        combo->addItem(FormatLabel(format), QString::fromLatin1(KeywordOf(format).data(), KeywordOf(format).size()));
    }
    return combo;
}

void SelectData(QComboBox* combo, const QString& data) { combo->setCurrentIndex(std::max(0, combo->findData(data))); }

QSpinBox* SecondsBox(int lowest, int highest, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(lowest, highest);
    box->setAccelerated(true);
    auto unit = [box](int value) { box->setSuffix(value == 1 ? QStringLiteral(" second") : QStringLiteral(" seconds")); };
    QObject::connect(box, &QSpinBox::valueChanged, box, unit);
    unit(box->value());
    box->setKeyboardTracking(false);
    return box;
}

// The groups' labels share one column width, so their fields line up.
void AlignLabelColumns(const std::vector<QFormLayout*>& forms) {
    int widest = 0;
    for (QFormLayout* form : forms) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole)) widest = std::max(widest, label->sizeHint().width());
        }
    }
    for (QFormLayout* form : forms) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
            if (auto* text = label ? qobject_cast<QLabel*>(label->widget()) : nullptr) {
                text->setMinimumWidth(widest);
                text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
        }
    }
}

QFormLayout* GroupForm(const QString& title, QVBoxLayout* into, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    into->addWidget(group);
    return form;
}

}  // namespace

PreferencesDialog::PreferencesDialog(PreferencesTargets targets, QWidget* parent)
    : QDialog(parent), targets_(std::move(targets)) {
    setObjectName(QStringLiteral("preferencesDialog"));
    setWindowTitle(QStringLiteral("Preferences"));
    auto* layout = new QVBoxLayout(this);

    QFormLayout* documents = GroupForm(QStringLiteral("Documents"), layout, this);
    defaultFormat_ = FormatCombo(kNewDocumentFormats, this);
    defaultFormat_->setObjectName(QStringLiteral("defaultFormat"));
    documents->addRow(QStringLiteral("&New documents:"), defaultFormat_);
    markdownFormat_ = FormatCombo(kMarkdownFlavours, this);
    markdownFormat_->setObjectName(QStringLiteral("markdownFormat"));
    documents->addRow(QStringLiteral("&Markdown files (.md):"), markdownFormat_);
    saveUnwrapped_ = new QCheckBox(QStringLiteral("Keep each &paragraph on one line when saving"), this);
    saveUnwrapped_->setToolTip(QStringLiteral("Qorva Markdown files are otherwise wrapped at a fixed width."));
    documents->addRow(QString(), saveUnwrapped_);
    autoSave_ = new QCheckBox(QStringLiteral("Save &automatically when typing pauses"), this);
    autoSave_->setToolTip(QStringLiteral("Documents that have a file name; untitled ones are kept for recovery."));
    documents->addRow(QString(), autoSave_);
    autoSaveDelay_ = SecondsBox(1, kLongestAutoSaveDelay, this);
    autoSaveDelay_->setObjectName(QStringLiteral("autoSaveDelay"));
    documents->addRow(QStringLiteral("Pause &before saving:"), autoSaveDelay_);

    QFormLayout* appearance = GroupForm(QStringLiteral("Appearance"), layout, this);
    theme_ = new QComboBox(this);
    theme_->setObjectName(QStringLiteral("theme"));
    appearance->addRow(QStringLiteral("&Theme:"), theme_);
    zoom_ = new QSpinBox(this);
    zoom_->setObjectName(QStringLiteral("textSize"));
    zoom_->setRange(kSmallestZoomPercent, kLargestZoomPercent);
    zoom_->setSingleStep(10);
    zoom_->setSuffix(QStringLiteral(" %"));
    zoom_->setKeyboardTracking(false);
    appearance->addRow(QStringLiteral("Text si&ze:"), zoom_);

    QFormLayout* spelling = GroupForm(QStringLiteral("Spelling"), layout, this);
    spelling_ = new QComboBox(this);
    spelling_->setObjectName(QStringLiteral("spellingLanguage"));
    spelling->addRow(QStringLiteral("&Language:"), spelling_);
    auto* moreLanguages = new QLabel(QString::fromUtf8(kMoreSpellingLanguagesHint), this);
    // Not wrapped: a wrapped label leaves the dialog too short for its other rows.
    moreLanguages->setEnabled(false);  // a hint, in the style's quieter text colour
    spelling->addRow(moreLanguages);

    QFormLayout* tools = GroupForm(QStringLiteral("Exports and Updates"), layout, this);
    fetchRemoteImages_ = new QCheckBox(QStringLiteral("Fetch &remote pictures into exported documents"), this);
    fetchRemoteImages_->setToolTip(QStringLiteral("Word, Rich Text and EPUB exports may then reach the network."));
    tools->addRow(QString(), fetchRemoteImages_);
    toolTimeLimit_ = SecondsBox(10, 24 * 60 * 60, this);
    toolTimeLimit_->setObjectName(QStringLiteral("toolTimeLimit"));
    tools->addRow(QStringLiteral("Time limit for outside t&ools:"), toolTimeLimit_);

    checkForUpdates_ = new QCheckBox(QStringLiteral("Check for &updates once a day"), this);
    tools->addRow(QString(), checkForUpdates_);

    AlignLabelColumns({documents, appearance, spelling, tools});

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addStretch(1);
    layout->addWidget(buttons);

    // Every change is stored and applied at once; Reload sets the widgets quietly.
    auto changed = [this](auto signal, auto* widget, auto apply) {
        connect(widget, signal, this, [this, apply] {
            if (!loading_) apply();
        });
    };
    changed(&QComboBox::currentIndexChanged, defaultFormat_, [this] {
        WriteDefaultFormatSetting(defaultFormat_->currentData().toString().toStdString());
        if (targets_.defaultFormatChanged) targets_.defaultFormatChanged();
    });
    changed(&QComboBox::currentIndexChanged, markdownFormat_,
            [this] { WriteMarkdownFormatSetting(markdownFormat_->currentData().toString().toStdString()); });
    changed(&QCheckBox::toggled, saveUnwrapped_, [this] { WriteSaveUnwrappedSetting(saveUnwrapped_->isChecked()); });
    auto writeAutoSave = [this] {
        WriteAutoSaveSettings(autoSave_->isChecked(), autoSaveDelay_->value());
        autoSaveDelay_->setEnabled(autoSave_->isChecked());
    };
    changed(&QCheckBox::toggled, autoSave_, writeAutoSave);
    changed(&QSpinBox::valueChanged, autoSaveDelay_, writeAutoSave);
    changed(&QComboBox::currentIndexChanged, theme_, [this] {
        if (targets_.chooseTheme) targets_.chooseTheme(theme_->currentData().toString());
    });
    changed(&QSpinBox::valueChanged, zoom_, [this] {
        if (targets_.setZoom) targets_.setZoom(ZoomTextForPercent(zoom_->value()));
    });
    changed(&QComboBox::currentIndexChanged, spelling_,
            [this] { ApplySpellingLanguage(spelling_->currentData().toString().toStdString()); });
    changed(&QCheckBox::toggled, fetchRemoteImages_,
            [this] { WriteFetchRemoteImagesSetting(fetchRemoteImages_->isChecked()); });
    changed(&QSpinBox::valueChanged, toolTimeLimit_, [this] {
        const std::chrono::seconds limit(toolTimeLimit_->value());
        WriteToolTimeLimitSetting(limit);
        if (targets_.setToolTimeLimit) targets_.setToolTimeLimit(limit);
    });
    changed(&QCheckBox::toggled, checkForUpdates_, [this] { WriteCheckForUpdatesSetting(checkForUpdates_->isChecked()); });

    Reload();
    buttons->button(QDialogButtonBox::Close)->setFocus();
}

bool PreferencesDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Reload();
    return QDialog::event(event);
}

void PreferencesDialog::Reload() {
    loading_ = true;
    const DocumentFormat byDefault = FormatFromDefaultSetting(DefaultFormatSetting());
    SelectData(defaultFormat_, QString::fromLatin1(KeywordOf(byDefault).data(), KeywordOf(byDefault).size()));
    SelectData(markdownFormat_, QString::fromStdString(MarkdownFormatSetting() == "github" ? "github" : "pandoc"));
    saveUnwrapped_->setChecked(SaveUnwrappedSetting());
    autoSave_->setChecked(AutoSaveSetting());
    autoSaveDelay_->setValue(AutoSaveDelaySetting());
    autoSaveDelay_->setEnabled(autoSave_->isChecked());

    theme_->clear();
    const QString current = QString::fromStdString(ThemeSetting());
    for (const PreferencesTargets::Theme& theme : targets_.themes ? targets_.themes() : std::vector<PreferencesTargets::Theme>{}) {
        theme_->addItem(theme.label, theme.name);
    }
    theme_->setCurrentIndex(theme_->findData(current));

    zoom_->setValue(ZoomPercent(ZoomSetting()));
    // A stored language whose dictionary is gone stays listed, under its code.
    spelling_->clear();
    const QString language = QString::fromStdString(SpellingLanguageSetting());
    for (const SpellingLanguage& installed : InstalledSpellingLanguages()) {
        spelling_->addItem(QString::fromStdString(installed.label), QString::fromStdString(installed.code));
    }
    if (spelling_->findData(language) < 0) spelling_->addItem(language, language);
    spelling_->setCurrentIndex(spelling_->findData(language));
    fetchRemoteImages_->setChecked(FetchRemoteImagesSetting());
    toolTimeLimit_->setValue(static_cast<int>(ToolTimeLimitSetting().count()));
    checkForUpdates_->setChecked(CheckForUpdatesSetting());
    loading_ = false;
}

}  // namespace qorva
