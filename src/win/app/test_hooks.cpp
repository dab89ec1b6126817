#include "src/win/app/test_hooks.h"

#include "src/win/view/editor_view.h"

#include <QSaveFile>

namespace qorva {

void WriteDocumentForTests(CEditorView& view) {
    static const QString target = qEnvironmentVariable("QORVA_TEST_DOCUMENT_OUT");
    static std::string lastWritten;
    if (target.isEmpty()) return;
    const std::string json = view.GetTextJson();
    if (json == lastWritten) return;
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(json.data(), static_cast<qint64>(json.size()));
    if (file.commit()) lastWritten = json;
}

}  // namespace qorva
