#include "ui/frame/ToolbarCustomizeDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

#include "core/base/Commands.h"
#include "core/base/Strings.h"
#include "ui/dialogs/Caption.h"

namespace brix {

namespace {

struct OptionItem {
    int TextId;
    int Value;
};

constexpr std::array<OptionItem, 3> TextOptionItems = {{
    {StringId::NoTextLabels, ToolbarNoText},
    {StringId::ShowTextLabels, ToolbarTextUnder},
    {StringId::SelectiveTextOnRight, ToolbarTextRight},
}};

constexpr std::array<OptionItem, 2> IconOptionItems = {{
    {StringId::SmallIcons, ToolbarSmallIcons},
    {StringId::LargeIcons, ToolbarLargeIcons},
}};

// Each item carries its value, so reading the choice back never depends on the shown text.
template <std::size_t N>
void FillOptionList(QComboBox& list, const std::array<OptionItem, N>& items) {
    for (const OptionItem& item : items) {
        list.addItem(QString::fromStdString(LoadString(item.TextId)), item.Value);
    }
}

// Shows the item of a value; a value that has no item shows the first one, and that is then
// the value the panel holds, so what the user sees is what gets saved.
int ShowOption(QComboBox& list, int value) {
    const int row = std::max(list.findData(value), 0);
    const QSignalBlocker blocker(list);
    list.setCurrentIndex(row);
    return list.itemData(row).toInt();
}

// The value of the selected item; `current` while nothing is selected.
int SelectedOption(const QComboBox& list, int current) {
    const QVariant value = list.currentData();
    return value.isValid() ? value.toInt() : current;
}

constexpr int CommandRole = Qt::UserRole;

}  // namespace

ToolbarOptionsPanel::ToolbarOptionsPanel(QWidget* parent) : QWidget(parent) {
    textList_ = new QComboBox(this);
    textList_->setObjectName(QStringLiteral("TextOptions"));
    iconList_ = new QComboBox(this);
    iconList_->setObjectName(QStringLiteral("IconOptions"));
    FillOptionList(*textList_, TextOptionItems);
    FillOptionList(*iconList_, IconOptionItems);
    textList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    iconList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto* textLabel = new QLabel(tr("Te&xt options:"), this);
    textLabel->setBuddy(textList_);
    auto* iconLabel = new QLabel(tr("Ico&n options:"), this);
    iconLabel->setBuddy(iconList_);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textLabel, 0, 0);
    layout->addWidget(textList_, 0, 1);
    layout->addWidget(iconLabel, 1, 0);
    layout->addWidget(iconList_, 1, 1);
    layout->setColumnStretch(2, 1);

    SetTextStyle(textStyle_);
    SetIconStyle(iconStyle_);
    connect(textList_, &QComboBox::currentIndexChanged, this,
            [this] { textStyle_ = SelectedOption(*textList_, textStyle_); });
    connect(iconList_, &QComboBox::currentIndexChanged, this,
            [this] { iconStyle_ = SelectedOption(*iconList_, iconStyle_); });
}

void ToolbarOptionsPanel::SetTextStyle(int style) {
    textStyle_ = ShowOption(*textList_, style);
}

void ToolbarOptionsPanel::SetIconStyle(int style) {
    iconStyle_ = ShowOption(*iconList_, style);
}

ToolbarCustomizeDialog::ToolbarCustomizeDialog(std::vector<ToolbarButton> buttons, int textStyle,
                                               int iconStyle, IconLookup icons, QWidget* parent)
    : QDialog(parent), buttons_(std::move(buttons)), icons_(std::move(icons)) {
    setObjectName(QStringLiteral("ToolbarCustomizeDialog"));
    setWindowTitle(tr("Customize Toolbar"));

    available_ = new QListWidget(this);
    available_->setObjectName(QStringLiteral("AvailableButtons"));
    current_ = new QListWidget(this);
    current_->setObjectName(QStringLiteral("CurrentButtons"));
    for (QListWidget* list : {available_, current_}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setIconSize(QSize(SmallIconSize, SmallIconSize));
        list->setMinimumSize(200, 240);
    }
    auto* availableLabel = new QLabel(tr("A&vailable toolbar buttons:"), this);
    SetCaption(*availableLabel, *available_);
    auto* currentLabel = new QLabel(tr("Current tool&bar buttons:"), this);
    SetCaption(*currentLabel, *current_);

    add_ = new QPushButton(tr("&Add ->"), this);
    remove_ = new QPushButton(tr("<- &Remove"), this);
    close_ = new QPushButton(tr("&Close"), this);
    reset_ = new QPushButton(tr("R&eset"), this);
    moveUp_ = new QPushButton(tr("Move &Up"), this);
    moveDown_ = new QPushButton(tr("Move &Down"), this);
    add_->setObjectName(QStringLiteral("Add"));
    remove_->setObjectName(QStringLiteral("Remove"));
    close_->setObjectName(QStringLiteral("Close"));
    reset_->setObjectName(QStringLiteral("Reset"));
    moveUp_->setObjectName(QStringLiteral("MoveUp"));
    moveDown_->setObjectName(QStringLiteral("MoveDown"));
    for (QPushButton* button : {add_, remove_, close_, reset_, moveUp_, moveDown_}) {
        button->setAutoDefault(false);
    }
    close_->setDefault(true);

    options_ = new ToolbarOptionsPanel(this);
    options_->SetTextStyle(textStyle);
    options_->SetIconStyle(iconStyle);

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(add_);
    middle->addWidget(remove_);
    middle->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(close_);
    right->addWidget(reset_);
    right->addSpacing(12);
    right->addWidget(moveUp_);
    right->addWidget(moveDown_);
    right->addStretch(1);

    auto* grid = new QGridLayout;
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(currentLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(current_, 1, 2);
    grid->addLayout(right, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(options_);

    // The options come last before Close, as the system's dialog had them.
    setTabOrder(available_, add_);
    setTabOrder(add_, remove_);
    setTabOrder(remove_, current_);
    setTabOrder(current_, reset_);
    setTabOrder(reset_, moveUp_);
    setTabOrder(moveUp_, moveDown_);
    setTabOrder(moveDown_, options_->TextList());
    setTabOrder(options_->TextList(), options_->IconList());
    setTabOrder(options_->IconList(), close_);

    connect(add_, &QPushButton::clicked, this, &ToolbarCustomizeDialog::AddSelected);
    connect(remove_, &QPushButton::clicked, this, &ToolbarCustomizeDialog::RemoveSelected);
    connect(moveUp_, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
    connect(moveDown_, &QPushButton::clicked, this, [this] { MoveSelected(1); });
    connect(reset_, &QPushButton::clicked, this, &ToolbarCustomizeDialog::ResetButtons);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(available_, &QListWidget::itemDoubleClicked, this,
            &ToolbarCustomizeDialog::AddSelected);
    connect(current_, &QListWidget::itemDoubleClicked, this,
            &ToolbarCustomizeDialog::RemoveSelected);
    connect(available_, &QListWidget::currentRowChanged, this,
            &ToolbarCustomizeDialog::UpdateActions);
    connect(current_, &QListWidget::currentRowChanged, this,
            &ToolbarCustomizeDialog::UpdateActions);

    FillLists(-1);
}

QListWidgetItem* ToolbarCustomizeDialog::MakeItem(const ToolbarButton& button) const {
    auto* item = new QListWidgetItem;
    if (button.IsSeparator()) {
        item->setText(tr("Separator"));
        // A blank icon keeps the separator's text in line with the commands' names.
        QPixmap blank(SmallIconSize, SmallIconSize);
        blank.fill(Qt::transparent);
        item->setIcon(QIcon(blank));
    } else {
        item->setText(QString::fromStdString(CommandText(button.Command, CommandField::Name)));
        if (icons_) {
            item->setIcon(icons_(button.Command));
        }
    }
    item->setData(CommandRole, button.Command);
    return item;
}

// Refills both lists from the buttons: the current list holds them all, the available list
// a separator and every command of the table that is not on the toolbar, in table order.
void ToolbarCustomizeDialog::FillLists(int selectedRow) {
    const int availableRow = available_->currentRow();
    {
        const QSignalBlocker blockAvailable(available_);
        const QSignalBlocker blockCurrent(current_);
        available_->clear();
        current_->clear();
        available_->addItem(MakeItem(ToolbarSeparator));
        for (const ToolbarButton& entry : ToolbarButtonTable) {
            const bool onToolbar =
                std::any_of(buttons_.begin(), buttons_.end(),
                            [&](const ToolbarButton& b) { return b.Command == entry.Command; });
            if (!onToolbar) {
                available_->addItem(MakeItem(entry));
            }
        }
        for (const ToolbarButton& button : buttons_) {
            current_->addItem(MakeItem(button));
        }
        available_->setCurrentRow(std::min(std::max(availableRow, 0), available_->count() - 1));
        current_->setCurrentRow(std::min(selectedRow, current_->count() - 1));
    }
    UpdateActions();
}

void ToolbarCustomizeDialog::UpdateActions() {
    const int row = current_->currentRow();
    const int count = current_->count();
    add_->setEnabled(available_->currentRow() >= 0);
    remove_->setEnabled(row >= 0);
    moveUp_->setEnabled(row > 0);
    moveDown_->setEnabled(row >= 0 && row + 1 < count);
}

void ToolbarCustomizeDialog::SetButtons(std::vector<ToolbarButton> buttons, int selectedRow) {
    buttons_ = std::move(buttons);
    FillLists(selectedRow);
    Q_EMIT ButtonsChanged();
}

// The chosen button goes after the selected one on the toolbar, or at its end when none is
// selected, and becomes the selection, so that repeated adds keep their order.
void ToolbarCustomizeDialog::AddSelected() {
    const QListWidgetItem* item = available_->currentItem();
    if (item == nullptr) {
        return;
    }
    const int command = item->data(CommandRole).toInt();
    const ToolbarButton* entry = FindToolbarCommand(command);
    const ToolbarButton button = entry != nullptr ? *entry : ToolbarSeparator;
    const int row = current_->currentRow();
    const int at = row >= 0 ? row + 1 : static_cast<int>(buttons_.size());
    std::vector<ToolbarButton> buttons = buttons_;
    buttons.insert(buttons.begin() + at, button);
    SetButtons(std::move(buttons), at);
}

void ToolbarCustomizeDialog::RemoveSelected() {
    const int row = current_->currentRow();
    if (row < 0 || row >= static_cast<int>(buttons_.size())) {
        return;
    }
    std::vector<ToolbarButton> buttons = buttons_;
    buttons.erase(buttons.begin() + row);
    const int selectedRow = buttons.empty() ? -1 : row;
    SetButtons(std::move(buttons), selectedRow);
}

void ToolbarCustomizeDialog::MoveSelected(int step) {
    const int row = current_->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= static_cast<int>(buttons_.size())) {
        return;
    }
    std::vector<ToolbarButton> buttons = buttons_;
    std::swap(buttons[static_cast<std::size_t>(row)], buttons[static_cast<std::size_t>(target)]);
    SetButtons(std::move(buttons), target);
}

void ToolbarCustomizeDialog::ResetButtons() {
    SetButtons(DefaultToolbarButtons(), -1);
}

}  // namespace brix
