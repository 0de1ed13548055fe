#include "ui/manage/CharacterDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/data/CharacterManager.h"
#include "ui/dialogs/DialogButtons.h"
#include "ui/manage/RecordListBox.h"

namespace brix {

CharacterConfigDialog::CharacterConfigDialog(CharacterManager& manager, int row, QWidget* parent)
    : QDialog(parent), manager_(manager), row_(row) {
    setObjectName(QStringLiteral("CharacterConfigDialog"));
    setWindowTitle(tr("Character Configuration"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("Name"));
    ShowRecordName(*name_, manager_.StartName(row));
    name_->selectAll();
    QDialogButtonBox* buttons = MakeOkCancelButtons(*this);

    auto* form = new QFormLayout;
    form->addRow(tr("&Name:"), name_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
}

void CharacterConfigDialog::accept() {
    const int row = manager_.Confirm(row_, name_->text().toStdString(), this);
    if (row < 0) {
        name_->setFocus();
        return;
    }
    resultRow_ = row;
    QDialog::accept();
}

ManageCharactersDialog::ManageCharactersDialog(Session& session, Messages& messages,
                                               QWidget* parent)
    : QDialog(parent), manager_(std::make_unique<CharacterManager>(session, messages)) {
    setObjectName(QStringLiteral("ManageCharactersDialog"));
    setWindowTitle(tr("Manage Characters"));
    records_ = new RecordListBox(tr("&Characters:"), QStringLiteral("Characters"), this);
    QDialogButtonBox* buttons = MakeCloseButton(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(records_, 1);
    layout->addWidget(buttons);

    connect(records_, &RecordListBox::NewClicked, this, [this] { Configure(-1); });
    connect(records_, &RecordListBox::ModifyClicked, this, &ManageCharactersDialog::Configure);
    connect(records_, &RecordListBox::DeleteClicked, this, [this](int row) {
        if (manager_->Delete(row)) Refill(-1);
    });
    Refill(0);
}

ManageCharactersDialog::~ManageCharactersDialog() = default;

void ManageCharactersDialog::Refill(int selected) {
    std::vector<std::string> names;
    for (int row = 0; row < manager_->RowCount(); ++row) names.push_back(manager_->NameAt(row));
    records_->SetNames(names, selected);
}

void ManageCharactersDialog::Configure(int row) {
    CharacterConfigDialog dialog(*manager_, row, this);
    if (dialog.exec() == QDialog::Accepted) Refill(dialog.ResultRow());
}

}  // namespace brix
