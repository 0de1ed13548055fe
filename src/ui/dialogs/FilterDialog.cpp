#include "ui/dialogs/FilterDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/DialogButtons.h"
#include "ui/dialogs/FilterPanel.h"

namespace brix {

FilterDialog::FilterDialog(const GameRecords& records, const MapFilter& target, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FilterDialog"));
    setWindowTitle(tr("Filter Configuration"));

    panel_ = new FilterPanel(records, target, this);
    QDialogButtonBox* buttons = MakeOkCancelButtons(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_, 1);
    layout->addWidget(buttons);

    // The focus chain follows creation order: the panel's controls, then the buttons in the
    // order the button box lays them out.
}

const MapFilter& FilterDialog::Filter() const {
    return panel_->Filter();
}

bool FilterDialog::Open(const GameRecords& records, MapFilter& target, QWidget* owner) {
    FilterDialog dialog(records, target, owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    target = dialog.Filter();
    return true;
}

}  // namespace brix
