#include "ui/dialogs/FindTreasureDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "core/base/Strings.h"
#include "core/data/GameRecords.h"
#include "core/map/TreasureSearch.h"
#include "ui/dialogs/Caption.h"
#include "ui/map/MapViewHost.h"
#include "ui/map/ShowTreasureFromBox.h"

namespace brix {
namespace {

enum Column { NumberColumn, NameColumn, RegionColumn, CoordinatesColumn, DistanceColumn };

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

}  // namespace

FindTreasureDialog::FindTreasureDialog(const GameRecords& records, MapViewHost& host,
                                       QWidget* parent)
    : QDialog(parent),
      records_(records),
      host_(host),
      search_(std::make_unique<TreasureSearch>(records)) {
    setObjectName(QStringLiteral("FindTreasureDialog"));
    setWindowTitle(Text(StringId::FindCaption));
    setModal(false);

    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("FindText"));
    text_->setPlaceholderText(Text(StringId::FindHint));
    text_->setClearButtonEnabled(true);
    auto* textLabel = new QLabel(Text(StringId::FindLabel), this);
    textLabel->setBuddy(text_);

    results_ = new QTreeWidget(this);
    results_->setObjectName(QStringLiteral("FindResults"));
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->setAllColumnsShowFocus(true);
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->setHeaderLabels({Text(StringId::FindNumberHeading), Text(StringId::FindNameHeading),
                               Text(StringId::FindRegionHeading),
                               Text(StringId::FindCoordinatesHeading),
                               Text(StringId::FindDistanceHeading)});
    results_->header()->setStretchLastSection(false);
    results_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    results_->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    auto* resultsLabel = new QLabel(Text(StringId::FindResultsLabel), this);
    SetCaption(*resultsLabel, *results_);

    // Room for a long name, its region and coordinates, and about a dozen rows, in the user's
    // font.
    const QFontMetrics metrics(font());
    results_->setMinimumSize(metrics.averageCharWidth() * 78, metrics.lineSpacing() * 10);

    auto* field = new QHBoxLayout;
    field->addWidget(textLabel);
    field->addWidget(text_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addWidget(resultsLabel);
    layout->addWidget(results_, 1);
    setTabOrder(text_, results_);

    // The box goes when its owner's window closes.
    if (parent != nullptr) parent->window()->installEventFilter(this);
    text_->installEventFilter(this);
    results_->installEventFilter(this);
    connect(text_, &QLineEdit::textChanged, this, &FindTreasureDialog::Search);
    connect(text_, &QLineEdit::returnPressed, this,
            [this] { ShowTreasure(results_->currentItem()); });
    // Enter on a row (see eventFilter) and a double-click show it, whatever the style says
    // about activating items.
    connect(results_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { ShowTreasure(item); });
    Search();
}

FindTreasureDialog::~FindTreasureDialog() = default;

void FindTreasureDialog::Present() {
    if (!placed_ && parentWidget() != nullptr) {
        placed_ = true;
        adjustSize();
        const QWidget* owner = parentWidget()->window();
        const int margin = fontMetrics().height() * 2;
        QPoint at = owner->mapToGlobal(QPoint(margin / 2, owner->height() - height() - margin));
        // Never above the owner's top or off its screen.
        if (const QScreen* screen = owner->screen()) {
            const QRect area = screen->availableGeometry();
            at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
            at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
        }
        at.setY(std::max(at.y(), owner->mapToGlobal(QPoint(0, 0)).y()));
        move(at);
    }
    show();
    raise();
    activateWindow();
    text_->setFocus();
    text_->selectAll();
}

void FindTreasureDialog::Search() {
    const std::vector<SearchHit> hits = search_->Find(text_->text().toStdString());
    results_->clear();
    bool distances = false;
    QList<QTreeWidgetItem*> items;
    for (const SearchHit& hit : hits) {
        const SearchHitTexts texts = DescribeHit(records_, hit);
        // Plain item texts: a name holding markup shows as written.
        auto* item = new QTreeWidgetItem(
            {QString::fromStdString(texts.Number), QString::fromStdString(texts.Name),
             QString::fromStdString(texts.Region), QString::fromStdString(texts.Coordinates),
             QString::fromStdString(texts.Distance)});
        item->setData(NumberColumn, Qt::UserRole, hit.Treasure);
        item->setTextAlignment(NumberColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(DistanceColumn, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
        distances = distances || !texts.Distance.empty();
    }
    results_->addTopLevelItems(items);
    results_->setColumnHidden(DistanceColumn, !distances);
    // The best match is current, so Enter in the field takes it.
    if (!items.isEmpty()) results_->setCurrentItem(items.front());
}

void FindTreasureDialog::ShowTreasure(const QTreeWidgetItem* item) {
    if (item == nullptr) return;
    ShowTreasureFromBox(*this, host_, records_, item->data(NumberColumn, Qt::UserRole).toInt());
}

bool FindTreasureDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && parentWidget() != nullptr &&
        watched == parentWidget()->window())
        hide();
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Down leaves the field for the list, Up on the list's first row comes back.
    if (watched == text_ && key == Qt::Key_Down && results_->topLevelItemCount() > 0) {
        results_->setFocus();
        if (results_->currentItem() == nullptr) results_->setCurrentItem(results_->topLevelItem(0));
        return true;
    }
    if (watched == results_ && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        ShowTreasure(results_->currentItem());
        return true;
    }
    if (watched == results_ && key == Qt::Key_Up &&
        results_->currentItem() == results_->topLevelItem(0)) {
        text_->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace brix
