#include "ui/output/ZerrinExportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/Session.h"
#include "core/output/ZerrinExport.h"
#include "ui/dialogs/DialogOwner.h"
#include "ui/dialogs/FilterDialog.h"

namespace brix {

ZerrinExportDialog::ZerrinExportDialog(ZerrinExport& exporter, Messages& messages, QWidget* parent)
    : QFileDialog(parent), exporter_(exporter), messages_(messages) {
    setObjectName(QStringLiteral("ZerrinExportDialog"));
    // Qt's own dialog, so that the extension can join its layout, and so that tests drive it.
    // Replacing a file is asked through Messages (accept), not by the dialog itself.
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(tr("Zerrin Map File (*.map)"));
    setDefaultSuffix(QStringLiteral("map"));
    setSizeGripEnabled(true);
    const QFileInfo initial(QString::fromStdString(exporter_.InitialPath()));
    setDirectory(initial.absolutePath());
    selectFile(initial.fileName());

    auto* filterButton = new QPushButton(tr("Filter ..."), this);
    filterButton->setObjectName(QStringLiteral("FilterButton"));
    filterButton->setAutoDefault(false);
    auto* label = new QLabel(tr("Zerrin Type:"), this);
    label->setObjectName(QStringLiteral("PlaceTypeLabel"));
    placeTypes_ = new QComboBox(this);
    placeTypes_->setObjectName(QStringLiteral("PlaceTypes"));
    label->setBuddy(placeTypes_);
    const PlaceTypeChoice& choice = exporter_.PlaceTypes();
    for (const std::string& type : choice.Types) placeTypes_->addItem(QString::fromStdString(type));
    placeTypes_->setCurrentIndex(choice.Selected);
    connect(filterButton, &QPushButton::clicked, this, &ZerrinExportDialog::OpenFilter);

    // Qt's dialog lays its file name and file type rows out in a grid with the buttons in the
    // last column: the place type row below them lines its label and list up with the file
    // type's, and "Filter ..." with the buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(placeTypes_, row, 1);
        grid->addWidget(filterButton, row, 2);
    } else {
        auto* extension = new QHBoxLayout;
        extension->addWidget(label);
        extension->addWidget(placeTypes_, 1);
        extension->addWidget(filterButton);
        if (auto* box = qobject_cast<QBoxLayout*>(layout())) box->addLayout(extension);
    }
    // Tab reaches the extension after the file type list, then the dialog's buttons.
    auto* fileTypes = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (fileTypes != nullptr && buttons != nullptr) {
        QWidget::setTabOrder(fileTypes, placeTypes_);
        QWidget::setTabOrder(placeTypes_, filterButton);
        if (QPushButton* save = buttons->button(QDialogButtonBox::Save))
            QWidget::setTabOrder(filterButton, save);
    }
}

std::string ZerrinExportDialog::PlaceType() const {
    return placeTypes_->currentIndex() < 0 ? std::string()
                                           : placeTypes_->currentText().toStdString();
}

std::string ZerrinExportDialog::FilePath() const {
    const QStringList files = selectedFiles();
    return files.size() == 1 ? files.front().toStdString() : std::string();
}

void ZerrinExportDialog::accept() {
    // A folder typed or chosen is opened by the dialog itself; only an existing file needs the
    // question.
    const QStringList files = selectedFiles();
    if (files.size() == 1) {
        const QFileInfo file(files.front());
        if (file.exists() && !file.isDir() &&
            !messages_.AskYesNo(FormatText(LoadString(StringId::ReplaceExistingFile),
                                           {file.fileName().toStdString()}),
                                this))
            return;
    }
    QFileDialog::accept();
}

void ZerrinExportDialog::OpenFilter() {
    // Only the export's own copy changes; the screen keeps the global filter.
    FilterDialog::Open(exporter_.GetSession().GetWorld(), exporter_.Filter(), this);
}

ZerrinExportPrompt DefaultZerrinExportPrompt(Messages& messages) {
    return
        [&messages](ZerrinExport& exporter, QWidget* owner) -> std::optional<ZerrinExportChoice> {
            ZerrinExportDialog dialog(exporter, messages, owner);
            if (dialog.exec() != QDialog::Accepted) return std::nullopt;
            const std::string path = dialog.FilePath();
            if (path.empty()) return std::nullopt;
            return ZerrinExportChoice{path, dialog.PlaceType()};
        };
}

bool RunZerrinExport(Session& session, Messages& messages, QWidget* mainWindow,
                     const ZerrinExportPrompt& prompt, ZerrinCategories categories) {
    ZerrinExport exporter(session, std::move(categories));
    const std::optional<ZerrinExportChoice> choice = prompt(exporter, DialogOwner(mainWindow));
    if (!choice) return false;
    return exporter.Write(choice->Path, choice->PlaceType, messages, mainWindow);
}

bool RunZerrinExport(Session& session, Messages& messages, QWidget* mainWindow) {
    return RunZerrinExport(session, messages, mainWindow, DefaultZerrinExportPrompt(messages),
                           ZerrinCategories::FromSystem());
}

}  // namespace brix
