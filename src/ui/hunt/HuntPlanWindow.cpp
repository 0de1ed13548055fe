#include "ui/hunt/HuntPlanWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "core/base/Commands.h"
#include "core/base/Settings.h"
#include "core/base/Strings.h"
#include "core/output/InfoText.h"
#include "ui/hunt/LevelBarChart.h"
#include "ui/map/MapViewHost.h"

namespace brix {
namespace {

// The plan table's first column, which also holds the row's treasure.
constexpr int StepColumn = 0;

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// A label's text as a screen reader says it: without the mnemonic marker.
QString Spoken(int id) {
    return Text(id).remove(QLatin1Char('&'));
}

}  // namespace

HuntPlanWindow::HuntPlanWindow(Session& session, MapViewHost& host, Messages& messages,
                               QWidget* parent)
    : QDialog(parent),
      session_(session),
      host_(host),
      messages_(messages),
      plan_(std::make_shared<HuntPlan>()) {
    setObjectName(QStringLiteral("HuntPlanWindow"));
    setWindowTitle(FromUtf8(CommandText(Command::HuntPlan, CommandField::Name)));
    setModal(false);
    // A window of its own beside the map, with a minimise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("HuntPlanPages"));
    pages_->setAccessibleName(windowTitle());
    pages_->addTab(BuildPlanPage(), Text(StringId::HuntPlanPage));
    pages_->addTab(BuildCollectionPage(), Text(StringId::CollectionPage));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("HuntPlanButtons"));
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("Close"));
    // Enter belongs to the tables; only a click or Space presses Close.
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(buttons);
    // Room for a plan row with a long book and treasure name, and a dozen and more rows.
    const QFontMetrics metrics(font());
    QSize size(metrics.averageCharWidth() * 150, metrics.lineSpacing() * 32);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);

    // Ctrl+C copies the shown page; a focused text field keeps its own Copy.
    auto* copy = new QAction(this);
    copy->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    connect(copy, &QAction::triggered, this, &HuntPlanWindow::CopyPage);
    addAction(copy);
    // "Completed" is undone from here as from the main window.
    auto* undo = new QAction(this);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo, &QAction::triggered, this, [this] { session_.UndoStack().undo(); });
    addAction(undo);
    auto* redo = new QAction(this);
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(redo, &QAction::triggered, this, [this] { session_.UndoStack().redo(); });
    addAction(redo);

    Refresh();
    // Every reason may change the plan or the collection but Display: the colours and pictures
    // show in neither.
    changes_.emplace(session_, [this](unsigned reasons) {
        if ((reasons & ~Change::Display) == 0) return;
        if (isVisible())
            Refresh();
        else
            stale_ = true;
    });
}

HuntPlanWindow::~HuntPlanWindow() = default;

QWidget* HuntPlanWindow::BuildPlanPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PlanPage"));

    heading_ = new QLabel(page);
    heading_->setObjectName(QStringLiteral("PlanHeading"));

    recallCost_ = new QSpinBox(page);
    recallCost_->setObjectName(QStringLiteral("RecallCost"));
    recallCost_->setRange(MinRecallCost, MaxRecallCost);
    recallCost_->setValue(session_.SettingsFile().RecallCost());
    auto* costLabel = new QLabel(Text(StringId::RecallCostLabel), page);
    costLabel->setBuddy(recallCost_);
    auto* units = new QLabel(Text(StringId::RecallCostUnits), page);
    recallCost_->setAccessibleName(Spoken(StringId::RecallCostLabel) + QLatin1Char(' ') +
                                   Text(StringId::RecallCostUnits));
    connect(recallCost_, &QSpinBox::valueChanged, this, [this](int cost) {
        session_.SettingsFile().WriteRecallCost(cost);
        Replan();
    });

    planTable_ = new QTreeWidget(page);
    planTable_->setObjectName(QStringLiteral("PlanTable"));
    planTable_->setAccessibleName(windowTitle());
    planTable_->setRootIsDecorated(false);
    planTable_->setUniformRowHeights(true);
    planTable_->setAllColumnsShowFocus(true);
    planTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    planTable_->setHeaderLabels(Text(StringId::HuntPlanHeadings).split(QLatin1Char('\t')));
    // Whole texts, scrolled sideways in a narrow window rather than cut.
    planTable_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const QFontMetrics metrics(font());
    planTable_->setMinimumSize(metrics.averageCharWidth() * 60, metrics.lineSpacing() * 8);
    planTable_->installEventFilter(this);
    connect(planTable_, &QTreeWidget::itemDoubleClicked, this, [this] { ShowCurrentTreasure(); });
    connect(planTable_, &QTreeWidget::currentItemChanged, this,
            [this] { completed_->setEnabled(CurrentStopTreasure() != 0); });

    total_ = new QLabel(page);
    total_->setObjectName(QStringLiteral("PlanTotal"));
    // Selectable, so the keyboard reaches it and a screen reader reads it out.
    total_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    total_->setFocusPolicy(Qt::TabFocus);

    showRoute_ = new QCheckBox(Text(StringId::ShowRouteLabel), page);
    showRoute_->setObjectName(QStringLiteral("ShowRoute"));
    showRoute_->setAccessibleName(Spoken(StringId::ShowRouteLabel));
    showRoute_->setChecked(true);
    connect(showRoute_, &QCheckBox::toggled, this, [this] { PublishRoute(isVisible()); });

    completed_ = new QPushButton(Text(StringId::CompletedButton), page);
    completed_->setObjectName(QStringLiteral("Completed"));
    completed_->setAccessibleName(Spoken(StringId::CompletedButton));
    completed_->setAutoDefault(false);
    completed_->setToolTip(FromUtf8(CommandText(Command::CompletedAMap, CommandField::StatusText)));
    connect(completed_, &QPushButton::clicked, this, &HuntPlanWindow::CompleteCurrent);

    auto* cost = new QHBoxLayout;
    cost->addWidget(costLabel);
    cost->addWidget(recallCost_);
    cost->addWidget(units);
    cost->addStretch(1);
    auto* actions = new QHBoxLayout;
    actions->addWidget(showRoute_);
    actions->addStretch(1);
    actions->addWidget(completed_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading_);
    layout->addLayout(cost);
    layout->addWidget(planTable_, 1);
    layout->addWidget(total_);
    layout->addLayout(actions);
    setTabOrder(recallCost_, planTable_);
    setTabOrder(planTable_, total_);
    setTabOrder(total_, showRoute_);
    setTabOrder(showRoute_, completed_);
    return page;
}

QWidget* HuntPlanWindow::BuildCollectionPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("CollectionPage"));

    collectionTable_ = new QTreeWidget(page);
    collectionTable_->setObjectName(QStringLiteral("CollectionTable"));
    collectionTable_->setAccessibleName(Spoken(StringId::CollectionPage));
    collectionTable_->setRootIsDecorated(false);
    collectionTable_->setUniformRowHeights(true);
    collectionTable_->setAllColumnsShowFocus(true);
    collectionTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The table sorts itself, so the total row stays last and names sort as everywhere else.
    QHeaderView* header = collectionTable_->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(header, &QHeaderView::sectionClicked, this, &HuntPlanWindow::SortBy);

    chart_ = new LevelBarChart(page);
    chart_->setObjectName(QStringLiteral("LevelChart"));

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(collectionTable_, 3);
    layout->addWidget(chart_, 2);
    setTabOrder(collectionTable_, chart_);
    return page;
}

void HuntPlanWindow::SetRouteListener(RouteListener listener) {
    routeListener_ = std::move(listener);
    PublishRoute(isVisible());
}

void HuntPlanWindow::Refresh() {
    stale_ = false;
    Replan();
    FillCollection();
}

void HuntPlanWindow::Replan() {
    const Character* character = session_.GetCurrentCharacter();
    plan_ = std::make_shared<const HuntPlan>(
        MakeHuntPlan(session_.GetWorld(), character, session_.Filter(),
                     session_.GetCurrentRuneLibrary(), recallCost_->value()));
    FillPlan();
    PublishRoute(isVisible());
}

void HuntPlanWindow::FillPlan() {
    // The row stays on its treasure when it is still a stop, else on its step.
    const int keptTreasure = CurrentStopTreasure();
    const int keptRow = planTable_->indexOfTopLevelItem(planTable_->currentItem());

    std::string heading =
        plan_->CharacterName.empty()
            ? std::string()
            : FormatText(LoadString(StringId::HuntPlanHeading), {plan_->CharacterName});
    while (!heading.empty() && (heading.back() == '\n' || heading.back() == '\r'))
        heading.pop_back();
    heading_->setText(FromUtf8(heading));
    heading_->setVisible(!heading.empty());

    const QSignalBlocker blocker(planTable_);
    planTable_->clear();
    QList<QTreeWidgetItem*> items;
    QTreeWidgetItem* current = nullptr;
    for (const HuntPlanRow& row : plan_->Rows) {
        // Plain item texts: a name holding markup shows as written.
        auto* item = new QTreeWidgetItem({QString::number(row.Step), FromUtf8(row.Travel),
                                          FromUtf8(row.Walk), FromUtf8(row.TreasureText),
                                          FromUtf8(row.Region), FromUtf8(row.Sextant),
                                          FromUtf8(row.Counts)});
        item->setData(StepColumn, Qt::UserRole, row.Treasure);
        item->setTextAlignment(StepColumn, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
        if (row.Treasure == keptTreasure) current = item;
    }
    planTable_->addTopLevelItems(items);
    if (current == nullptr && !items.isEmpty())
        current = items[std::clamp(keptRow, 0, static_cast<int>(items.size()) - 1)];
    if (current != nullptr) planTable_->setCurrentItem(current);
    total_->setText(FromUtf8(plan_->Total));
    completed_->setEnabled(CurrentStopTreasure() != 0);
}

void HuntPlanWindow::FillCollection() {
    collection_ = BuildCollection(session_.GetUser().Characters, session_.GetWorld(),
                                  session_.GetCurrentCharacter());
    SortCollection(collection_, sortColumn_, sortDescending_);

    QStringList headings{Text(StringId::CollectionCharacterHeading)};
    for (int level : collection_.Levels)
        headings << FromUtf8(FormatText(LoadString(StringId::CollectionLevelHeading), {level}));
    headings << Text(StringId::CollectionTotalHeading);

    const QSignalBlocker blocker(collectionTable_);
    const int keptRow = collectionTable_->indexOfTopLevelItem(collectionTable_->currentItem());
    collectionTable_->clear();
    collectionTable_->setColumnCount(static_cast<int>(headings.size()));
    collectionTable_->setHeaderLabels(headings);
    QList<QTreeWidgetItem*> items;
    std::vector<long long> chartCounts;
    auto addRow = [&](const CollectionRow& row) {
        QStringList cells{FromUtf8(row.Name)};
        for (long long count : row.Counts) cells << QString::number(count);
        cells << QString::number(row.Total);
        auto* item = new QTreeWidgetItem(cells);
        for (int column = 1; column < static_cast<int>(cells.size()); ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        if (row.Current) {
            QFont bold = collectionTable_->font();
            bold.setBold(true);
            for (int column = 0; column < static_cast<int>(cells.size()); ++column)
                item->setFont(column, bold);
            item->setData(
                0, Qt::AccessibleTextRole,
                FromUtf8(FormatText(LoadString(StringId::CollectionCurrentMark), {row.Name})));
            chartCounts = row.Counts;
        }
        items.append(item);
    };
    for (const CollectionRow& row : collection_.Rows) addRow(row);
    addRow(collection_.Totals);
    collectionTable_->addTopLevelItems(items);
    collectionTable_->setCurrentItem(
        items[std::clamp(keptRow, 0, static_cast<int>(items.size()) - 1)]);
    chart_->SetData(collection_.Levels, chartCounts);
}

void HuntPlanWindow::SortBy(int column) {
    sortDescending_ = column == sortColumn_ && !sortDescending_;
    sortColumn_ = column;
    FillCollection();
    const QSignalBlocker blocker(collectionTable_->header());
    collectionTable_->header()->setSortIndicator(
        column, sortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

int HuntPlanWindow::CurrentStopTreasure() const {
    const QTreeWidgetItem* item = planTable_->currentItem();
    return item != nullptr ? item->data(StepColumn, Qt::UserRole).toInt() : 0;
}

void HuntPlanWindow::ShowCurrentTreasure() {
    const Treasure* treasure = session_.GetWorld().FindTreasure(CurrentStopTreasure());
    if (treasure == nullptr || treasure->Region < 1) return;
    host_.ShowRegionView(treasure->Region, treasure->Index);
}

void HuntPlanWindow::CompleteCurrent() {
    const Character* character = session_.GetCurrentCharacter();
    const int treasure = CurrentStopTreasure();
    if (character == nullptr || treasure == 0) return;
    const int level = CompletedLevel(*character, treasure, session_.Filter());
    // The session tells every window, this one too, which plans again.
    if (level > 0) session_.ChangeMapCount(character->Name, treasure, level, false);
}

void HuntPlanWindow::CopyPage() {
    const std::string text =
        pages_->currentIndex() == 0 ? HuntPlanText(*plan_) : CollectionText(collection_);
    CopyText(text, messages_, this);
}

void HuntPlanWindow::PublishRoute(bool open) {
    if (routeListener_) routeListener_(open && showRoute_->isChecked() ? plan_ : nullptr);
}

void HuntPlanWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (stale_)
        Refresh();
    else
        PublishRoute(true);
}

void HuntPlanWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Minimised, the window is still open and its route stays on the map.
    if (!isMinimized()) PublishRoute(false);
}

bool HuntPlanWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == planTable_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ShowCurrentTreasure();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace brix
