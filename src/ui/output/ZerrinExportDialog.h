#pragma once

#include <QFileDialog>

#include <functional>
#include <optional>
#include <string>

#include "core/output/ZerrinCategories.h"

class QComboBox;

namespace brix {

class Messages;
class Session;
class ZerrinExport;

// The Save As dialog of "Export to Zerrin...": Qt's own (not the platform's) file dialog for
// "Zerrin Map File (*.map)", extended at its bottom with the place-type list and "Filter ...",
// which edits the export's private filter. Asks through Messages before replacing a file.
class ZerrinExportDialog : public QFileDialog {
    Q_OBJECT
public:
    ZerrinExportDialog(ZerrinExport& exporter, Messages& messages, QWidget* parent = nullptr);

    // The chosen place type; empty when the list has none selected.
    std::string PlaceType() const;
    // The chosen file with its ".map" suffix; empty while none is chosen.
    std::string FilePath() const;

    void accept() override;

private:
    void OpenFilter();

    ZerrinExport& exporter_;
    Messages& messages_;
    QComboBox* placeTypes_ = nullptr;
};

// What the file name prompt returns on OK.
struct ZerrinExportChoice {
    std::string Path;
    std::string PlaceType;
};

// Asks for the file and the place type; nothing when the user cancels. The default runs
// ZerrinExportDialog modally over `owner`; tests give a fixed answer.
using ZerrinExportPrompt =
    std::function<std::optional<ZerrinExportChoice>(ZerrinExport&, QWidget* owner)>;
ZerrinExportPrompt DefaultZerrinExportPrompt(Messages& messages);

// The "Export to Zerrin..." command: prompts over the active window, then writes the file;
// failures are reported owned by `mainWindow`. True when a file was written.
bool RunZerrinExport(Session& session, Messages& messages, QWidget* mainWindow,
                     const ZerrinExportPrompt& prompt, ZerrinCategories categories);
// The same with the Save As dialog and this machine's Zerrin categories.
bool RunZerrinExport(Session& session, Messages& messages, QWidget* mainWindow);

}  // namespace brix
