#include "ui/manage/RecordListBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/data/RecordNaming.h"
#include "ui/dialogs/Caption.h"

namespace brix {

void ShowRecordName(QLineEdit& edit, const std::string& name) {
    const QString text = QString::fromStdString(name);
    edit.setMaxLength(std::max<int>(TypedNameLimit, static_cast<int>(text.size())));
    edit.setText(text);
}

RecordListBox::RecordListBox(const QString& label, const QString& listName, QWidget* parent)
    : QWidget(parent) {
    auto* caption = new QLabel(label, this);
    list_ = new QListWidget(this);
    list_->setObjectName(listName);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    SetCaption(*caption, *list_);
    new_ = new QPushButton(tr("&New"), this);
    new_->setObjectName(QStringLiteral("New"));
    modify_ = new QPushButton(tr("&Modify"), this);
    modify_->setObjectName(QStringLiteral("Modify"));
    delete_ = new QPushButton(tr("&Delete"), this);
    delete_->setObjectName(QStringLiteral("Delete"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(new_);
    buttons->addWidget(modify_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(list_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    connect(list_, &QListWidget::itemSelectionChanged, this, &RecordListBox::UpdateButtons);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item != nullptr) Q_EMIT ModifyClicked(list_->row(item));
    });
    connect(new_, &QPushButton::clicked, this, [this] { Q_EMIT NewClicked(); });
    connect(modify_, &QPushButton::clicked, this, [this] {
        if (SelectedRow() >= 0) Q_EMIT ModifyClicked(SelectedRow());
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        if (SelectedRow() >= 0) Q_EMIT DeleteClicked(SelectedRow());
    });
    UpdateButtons();
}

void RecordListBox::SetNames(const std::vector<std::string>& names, int selected) {
    list_->clear();
    for (const std::string& name : names) list_->addItem(QString::fromStdString(name));
    if (selected >= 0 && selected < list_->count()) {
        list_->setCurrentRow(selected);
    } else {
        list_->setCurrentItem(nullptr);
        list_->clearSelection();
    }
    UpdateButtons();
}

int RecordListBox::SelectedRow() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
}

void RecordListBox::UpdateButtons() {
    const bool any = SelectedRow() >= 0;
    // A button that is disabled while it has the focus would hand it to the next control;
    // the list is where the user chooses again.
    if (!any && (modify_->hasFocus() || delete_->hasFocus())) list_->setFocus();
    modify_->setEnabled(any);
    delete_->setEnabled(any);
}

}  // namespace brix
