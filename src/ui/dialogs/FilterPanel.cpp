#include "ui/dialogs/FilterPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/dialogs/Caption.h"
#include "ui/dialogs/NumberedListWidget.h"

namespace brix {
namespace {

void Fill(NumberedListWidget& list, const GameRecords& records, const std::vector<int>& numbers,
          int row) {
    for (int number : numbers) {
        const Level* level = records.FindLevel(number);
        list.AddNumbered(number, level != nullptr ? level->Name : std::string());
    }
    list.setCurrentRow(row);
}

}  // namespace

FilterPanel::FilterPanel(const GameRecords& records, const MapFilter& target, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FilterPanel"));

    treasures_ = new QCheckBox(tr("Only show treasures for which I have maps"), this);
    treasures_->setObjectName(QStringLiteral("OnlyTreasuresWithMaps"));
    labels_ = new QCheckBox(tr("Only show treasure labels for which I have maps"), this);
    labels_->setObjectName(QStringLiteral("OnlyLabelsWithMaps"));
    levels_ = new QCheckBox(tr("Only show maps for the following levels"), this);
    levels_->setObjectName(QStringLiteral("LevelFilterOn"));

    shown_ = new NumberedListWidget(this);
    shown_->setObjectName(QStringLiteral("ShownLevels"));
    hidden_ = new NumberedListWidget(this);
    hidden_->setObjectName(QStringLiteral("HiddenLevels"));
    auto* shownLabel = new QLabel(tr("Show These Levels"), this);
    shownLabel->setAlignment(Qt::AlignCenter);
    SetCaption(*shownLabel, *shown_);
    auto* hiddenLabel = new QLabel(tr("Don't Show These Levels"), this);
    hiddenLabel->setAlignment(Qt::AlignCenter);
    SetCaption(*hiddenLabel, *hidden_);

    add_ = new QPushButton(tr("<< Add"), this);
    add_->setObjectName(QStringLiteral("AddLevel"));
    remove_ = new QPushButton(tr("Remove >>"), this);
    remove_->setObjectName(QStringLiteral("RemoveLevel"));
    // Enter belongs to the OK button of the window around the panel, whatever has the focus.
    add_->setAutoDefault(false);
    remove_->setAutoDefault(false);

    const FilterControls opened = OpenFilterControls(records, target);
    Fill(*shown_, records, opened.Shown, opened.ShownRow);
    Fill(*hidden_, records, opened.Hidden, opened.HiddenRow);
    // Levels move between the lists, so each is made wide enough for the longest of them all,
    // with room for a scroll bar: a shrunken dialog must not cut a level's name.
    const int widest = std::max(shown_->sizeHintForColumn(0), hidden_->sizeHintForColumn(0));
    const int rowHeight = std::max(shown_->sizeHintForRow(0), hidden_->sizeHintForRow(0));
    for (NumberedListWidget* list : {shown_, hidden_}) {
        const int frame = 2 * list->frameWidth();
        const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        list->setMinimumWidth(widest + frame + scrollBar);
        if (rowHeight > 0) list->setMinimumHeight(4 * rowHeight + frame);
    }
    treasures_->setChecked(opened.OnlyTreasuresWithMaps);
    labels_->setChecked(opened.OnlyLabelsWithMaps);
    levels_->setChecked(opened.LevelFilterOn);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch(1);

    auto* lists = new QGridLayout;
    lists->addWidget(shownLabel, 0, 0);
    lists->addWidget(hiddenLabel, 0, 2);
    lists->addWidget(shown_, 1, 0);
    lists->addLayout(buttons, 1, 1);
    lists->addWidget(hidden_, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(treasures_);
    layout->addWidget(labels_);
    layout->addWidget(levels_);
    layout->addLayout(lists, 1);

    setTabOrder(treasures_, labels_);
    setTabOrder(labels_, levels_);
    setTabOrder(levels_, shown_);
    setTabOrder(shown_, add_);
    setTabOrder(add_, remove_);
    setTabOrder(remove_, hidden_);

    for (QCheckBox* box : {treasures_, labels_, levels_})
        connect(box, &QCheckBox::toggled, this, &FilterPanel::Refresh);
    for (NumberedListWidget* list : {shown_, hidden_}) {
        connect(list, &QListWidget::currentRowChanged, this, &FilterPanel::Refresh);
        connect(list, &QListWidget::itemSelectionChanged, this, &FilterPanel::Refresh);
    }
    connect(add_, &QPushButton::clicked, this, [this] { Move(*hidden_, *shown_); });
    connect(remove_, &QPushButton::clicked, this, [this] { Move(*shown_, *hidden_); });
    connect(hidden_, &QListWidget::itemDoubleClicked, this, [this] { Move(*hidden_, *shown_); });
    connect(shown_, &QListWidget::itemDoubleClicked, this, [this] { Move(*shown_, *hidden_); });

    Refresh();
}

QWidget* FilterPanel::FirstControl() const {
    return treasures_;
}

QWidget* FilterPanel::LastControl() const {
    return hidden_;
}

FilterControls FilterPanel::Controls() const {
    FilterControls controls;
    controls.Shown = shown_->Numbers();
    controls.Hidden = hidden_->Numbers();
    controls.ShownRow = shown_->SelectedRow();
    controls.HiddenRow = hidden_->SelectedRow();
    controls.LevelFilterOn = levels_->isChecked();
    controls.OnlyTreasuresWithMaps = treasures_->isChecked();
    controls.OnlyLabelsWithMaps = labels_->isChecked();
    return controls;
}

void FilterPanel::Refresh() {
    const FilterControls controls = Controls();
    working_ = ReadFilterControls(controls);
    const FilterEnabling enabling = FilterEnablingFor(controls);
    shown_->setEnabled(enabling.Lists);
    hidden_->setEnabled(enabling.Lists);
    add_->setEnabled(enabling.Add);
    remove_->setEnabled(enabling.Remove);
    Q_EMIT Changed();
}

void FilterPanel::Move(NumberedListWidget& from, NumberedListWidget& to) {
    if (from.SelectedRow() < 0) return;
    MoveCurrentItem(from, to);
    Refresh();
}

}  // namespace brix
