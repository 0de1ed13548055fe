#include "ui/manage/RuneLibraryDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/data/RuneLibraryManager.h"
#include "core/data/Session.h"
#include "ui/dialogs/Caption.h"
#include "ui/dialogs/DialogButtons.h"
#include "ui/dialogs/NumberedListWidget.h"
#include "ui/manage/RecordListBox.h"

namespace brix {
namespace {

std::vector<std::string> BookNames(const RuneLibraryDraft& draft) {
    std::vector<std::string> names;
    for (int row = 0; row < draft.BookCount(); ++row) names.push_back(draft.BookNameAt(row));
    return names;
}

}  // namespace

RuneBookConfigDialog::RuneBookConfigDialog(const GameRecords& game, RuneLibraryDraft& draft,
                                           int row, QWidget* parent)
    : QDialog(parent), draft_(draft), row_(row) {
    setObjectName(QStringLiteral("RuneBookConfigDialog"));
    setWindowTitle(tr("Rune Book Configuration"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("Name"));
    ShowRecordName(*name_, draft_.BookStartName(row));
    name_->selectAll();

    auto* availableLabel = new QLabel(tr("&Available Treasures"), this);
    available_ = new NumberedListWidget(this);
    available_->setObjectName(QStringLiteral("AvailableTreasures"));
    SetCaption(*availableLabel, *available_);
    add_ = new QPushButton(tr("A&dd >>"), this);
    add_->setObjectName(QStringLiteral("Add"));
    remove_ = new QPushButton(tr("<< &Remove"), this);
    remove_->setObjectName(QStringLiteral("Remove"));
    auto* inBookLabel = new QLabel(tr("&Treasures In Rune Book"), this);
    inBook_ = new NumberedListWidget(this);
    inBook_->setObjectName(QStringLiteral("TreasuresInRuneBook"));
    SetCaption(*inBookLabel, *inBook_);

    const RuneBookLists lists = MakeRuneBookLists(game, draft_.BookAt(row));
    for (int index : lists.Available)
        available_->AddNumbered(index, RuneBookEntryName(game, index));
    for (int index : lists.InBook) inBook_->AddNumbered(index, RuneBookEntryName(game, index));
    if (available_->count() > 0) available_->setCurrentRow(0);
    if (inBook_->count() > 0) inBook_->setCurrentRow(0);
    // Wide enough for "1000 - " and a treasure name of common length, and tall enough to
    // show a full book without scrolling.
    const int listWidth = fontMetrics().averageCharWidth() * 30;
    const int listHeight =
        (fontMetrics().lineSpacing() + 2) * MaxRunesPerBook + 2 * available_->frameWidth();
    for (NumberedListWidget* list : {available_, inBook_}) {
        list->setMinimumWidth(listWidth);
        list->setMinimumHeight(listHeight);
    }

    auto* form = new QFormLayout;
    form->addRow(tr("&Name:"), name_);
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(add_);
    moves->addWidget(remove_);
    moves->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(inBookLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(inBook_, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(grid, 1);
    layout->addWidget(MakeOkCancelButtons(*this));

    connect(add_, &QPushButton::clicked, this, &RuneBookConfigDialog::AddSelected);
    connect(remove_, &QPushButton::clicked, this, &RuneBookConfigDialog::RemoveSelected);
    connect(available_, &QListWidget::itemDoubleClicked, this, &RuneBookConfigDialog::AddSelected);
    connect(inBook_, &QListWidget::itemDoubleClicked, this, &RuneBookConfigDialog::RemoveSelected);
    for (NumberedListWidget* list : {available_, inBook_}) {
        connect(list, &QListWidget::currentRowChanged, this, &RuneBookConfigDialog::UpdateButtons);
        connect(list, &QListWidget::itemSelectionChanged, this,
                &RuneBookConfigDialog::UpdateButtons);
    }
    UpdateButtons();
}

void RuneBookConfigDialog::AddSelected() {
    if (!CanAddToRuneBook(available_->SelectedRow() >= 0, inBook_->count())) return;
    MoveCurrentItem(*available_, *inBook_);
    UpdateButtons();
}

void RuneBookConfigDialog::RemoveSelected() {
    if (inBook_->SelectedRow() < 0) return;
    MoveCurrentItem(*inBook_, *available_);
    UpdateButtons();
}

void RuneBookConfigDialog::UpdateButtons() {
    const bool canAdd = CanAddToRuneBook(available_->SelectedRow() >= 0, inBook_->count());
    const bool canRemove = inBook_->SelectedRow() >= 0;
    // A button disabled while it has the focus would pass it on to an unrelated control.
    if (add_->hasFocus() && !canAdd) available_->setFocus();
    if (remove_->hasFocus() && !canRemove) inBook_->setFocus();
    add_->setEnabled(canAdd);
    remove_->setEnabled(canRemove);
}

void RuneBookConfigDialog::accept() {
    const int row = draft_.ConfirmBook(row_, name_->text().toStdString(), inBook_->Numbers(), this);
    if (row < 0) {
        name_->setFocus();
        return;
    }
    resultRow_ = row;
    QDialog::accept();
}

RuneLibraryConfigDialog::RuneLibraryConfigDialog(const GameRecords& game,
                                                 RuneLibraryManager& manager, int row,
                                                 QWidget* parent)
    : QDialog(parent),
      game_(game),
      manager_(manager),
      draft_(std::make_unique<RuneLibraryDraft>(manager.StartDraft(row))) {
    setObjectName(QStringLiteral("RuneLibraryConfigDialog"));
    setWindowTitle(tr("Rune Library Configuration"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("RuneLibraryName"));
    ShowRecordName(*name_, draft_->StartName());
    name_->selectAll();
    books_ = new RecordListBox(tr("Rune &Books"), QStringLiteral("RuneBooks"), this);
    QDialogButtonBox* buttons = MakeOkCancelButtons(*this);

    auto* nameLabel = new QLabel(tr("Rune &Library Name"), this);
    nameLabel->setBuddy(name_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(name_);
    layout->addWidget(books_, 1);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    connect(books_, &RecordListBox::NewClicked, this, [this] { ConfigureBook(-1); });
    connect(books_, &RecordListBox::ModifyClicked, this, &RuneLibraryConfigDialog::ConfigureBook);
    connect(books_, &RecordListBox::DeleteClicked, this, [this](int bookRow) {
        if (draft_->DeleteBook(bookRow)) Refill(-1);
    });
    Refill(0);
}

RuneLibraryConfigDialog::~RuneLibraryConfigDialog() = default;

void RuneLibraryConfigDialog::Refill(int selected) {
    books_->SetNames(BookNames(*draft_), selected);
}

void RuneLibraryConfigDialog::ConfigureBook(int row) {
    RuneBookConfigDialog dialog(game_, *draft_, row, this);
    if (dialog.exec() == QDialog::Accepted) Refill(dialog.ResultRow());
}

void RuneLibraryConfigDialog::accept() {
    const int row = manager_.Confirm(*draft_, name_->text().toStdString(), this);
    if (row < 0) {
        name_->setFocus();
        return;
    }
    resultRow_ = row;
    QDialog::accept();
}

ManageRuneLibrariesDialog::ManageRuneLibrariesDialog(Session& session, Messages& messages,
                                                     QWidget* parent)
    : QDialog(parent),
      session_(session),
      manager_(std::make_unique<RuneLibraryManager>(session, messages)) {
    setObjectName(QStringLiteral("ManageRuneLibrariesDialog"));
    setWindowTitle(tr("Manage Rune Libraries"));
    records_ = new RecordListBox(tr("Rune &Libraries:"), QStringLiteral("RuneLibraries"), this);
    QDialogButtonBox* buttons = MakeCloseButton(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(records_, 1);
    layout->addWidget(buttons);

    connect(records_, &RecordListBox::NewClicked, this, [this] { Configure(-1); });
    connect(records_, &RecordListBox::ModifyClicked, this, [this](int row) {
        if (manager_->MayChange(row, this)) Configure(row);
    });
    connect(records_, &RecordListBox::DeleteClicked, this, [this](int row) {
        if (manager_->Delete(row, this)) Refill(-1);
    });
    Refill(0);
}

ManageRuneLibrariesDialog::~ManageRuneLibrariesDialog() = default;

void ManageRuneLibrariesDialog::Refill(int selected) {
    std::vector<std::string> names;
    for (int row = 0; row < manager_->RowCount(); ++row) names.push_back(manager_->NameAt(row));
    records_->SetNames(names, selected);
}

void ManageRuneLibrariesDialog::Configure(int row) {
    RuneLibraryConfigDialog dialog(session_.GetWorld(), *manager_, row, this);
    if (dialog.exec() == QDialog::Accepted) Refill(dialog.ResultRow());
}

}  // namespace brix
