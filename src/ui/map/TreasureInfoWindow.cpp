#include "ui/map/TreasureInfoWindow.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/base/Commands.h"
#include "core/base/ToolbarLayout.h"
#include "core/data/Session.h"
#include "core/map/CommandIcons.h"
#include "core/output/InfoText.h"
#include "ui/map/MapViewHost.h"
#include "ui/map/StayOnTop.h"

namespace brix {
namespace {

// The toolbar takes the small icons whatever the main toolbar shows; a button is this many
// pixels larger than its icon, across and down.
constexpr int ButtonPadding = 7;

// Width of the list and the text, in dialog units (a quarter of the font's average character
// width), as wide as the window's layout was drawn.
constexpr int ColumnWidthUnits = 172;

int DialogUnitsX(const QFontMetrics& metrics, int units) {
    return (units * metrics.averageCharWidth() + 2) / 4;
}

}  // namespace

// The close-up map: drawn once into a picture whenever what it shows may have changed, so a
// repaint of the window (a tooltip, another window passing over) costs one copy.
class TreasureCloseUp : public QWidget {
public:
    TreasureCloseUp(const Session& session, const TreasureInfoModel& model, QWidget* parent)
        : QWidget(parent), session_(session), model_(model) {
        setObjectName(QStringLiteral("CloseUp"));
        setFixedSize(InfoCloseUpWidth, InfoCloseUpHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Redraw() {
        stale_ = true;
        update();
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        if (stale_) {
            // The scroll's transparent border shows the window's own background.
            picture_ = QImage(InfoCloseUpWidth, InfoCloseUpHeight, QImage::Format_RGB32);
            picture_.fill(palette().color(backgroundRole()));
            QPainter painter(&picture_);
            DrawTreasureCloseUp(painter, session_, model_);
            stale_ = false;
        }
        QPainter painter(this);
        painter.drawImage(rect(), picture_);
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::PaletteChange) Redraw();
        QWidget::changeEvent(event);
    }

private:
    const Session& session_;
    const TreasureInfoModel& model_;
    QImage picture_;
    bool stale_ = true;
};

TreasureInfoWindow::TreasureInfoWindow(Session& session, MapViewHost& host, Messages& messages,
                                       const CommandIcons& icons, Mode mode, QWidget* owner)
    : QDialog(mode == Mode::Modal ? owner : nullptr),
      session_(session),
      host_(host),
      messages_(messages),
      mode_(mode),
      model_(session) {
    setObjectName(QStringLiteral("TreasureInfoWindow"));
    setWindowTitle(tr("Treasure Information"));
    if (mode_ == Mode::Independent) {
        // A window of its own: a taskbar entry, a minimise button, and gone once closed.
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        setAttribute(Qt::WA_DeleteOnClose);
        connect(this, &QDialog::finished, this, &QWidget::close);
    }
    topMost_ = session_.SettingsFile().TreasureStayOnTop();
    if (topMost_) setWindowFlag(Qt::WindowStaysOnTopHint, true);

    BuildToolbar(icons);

    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("TreasureList"));
    list_->setAccessibleName(tr("Treasure"));
    // The list is as wide as the column, not as its longest name; its drop-down shows whole
    // names. Sizing it by its contents would measure every one of up to a thousand names.
    list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list_->setMinimumContentsLength(1);
    QStringList items;
    items.reserve(static_cast<qsizetype>(model_.Items().size()));
    for (const NumberedItem& item : model_.Items())
        items << QString::fromStdString(NumberedItemText(item));
    list_->addItems(items);
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int position) {
        model_.SelectPosition(position);
        Refresh();
    });

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("TreasureText"));
    text_->setAccessibleName(tr("Treasure information"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics(font());
    const int columnWidth = DialogUnitsX(metrics, ColumnWidthUnits);
    text_->setMinimumSize(columnWidth, metrics.lineSpacing() * 6);
    list_->setMinimumWidth(columnWidth);

    closeUp_ = new TreasureCloseUp(session_, model_, this);
    closeUp_->setAccessibleName(tr("Close-up map"));

    auto* column = new QVBoxLayout;
    column->addWidget(toolbar_);
    column->addWidget(list_);
    column->addWidget(text_, 1);
    if (mode_ == Mode::Modal) {
        // The independent window is closed from its title bar instead.
        close_ = new QPushButton(tr("Close"), this);
        close_->setObjectName(QStringLiteral("Close"));
        close_->setDefault(true);
        connect(close_, &QPushButton::clicked, this, &QDialog::accept);
        column->addWidget(close_, 0, Qt::AlignHCenter);
    }

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column, 1);
    layout->addWidget(closeUp_, 0, Qt::AlignVCenter);

    setTabOrder(list_, text_);
    if (close_ != nullptr) setTabOrder(text_, close_);
    list_->setFocus();

    ShowSelection();
}

TreasureInfoWindow::~TreasureInfoWindow() = default;

void TreasureInfoWindow::BuildToolbar(const CommandIcons& icons) {
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("TreasureInfoToolbar"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setIconSize(QSize(SmallIconSize, SmallIconSize));
    for (const ToolbarButton& button : TreasureInfoToolbarButtons()) {
        if (button.IsSeparator()) {
            toolbar_->addSeparator();
            continue;
        }
        auto* action = new QAction(
            icons.ForIndex(button.Icon),
            QString::fromStdString(CommandText(button.Command, CommandField::Name)), toolbar_);
        action->setToolTip(QString::fromStdString(CommandTooltip(button.Command)));
        action->setData(button.Command);
        action->setCheckable(button.Style == ToolbarButtonStyle::Check);
        const int command = button.Command;
        connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
        toolbar_->addAction(action);
        if (auto* widget = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action))) {
            widget->setObjectName(QStringLiteral("Command%1").arg(command));
            widget->setFixedSize(SmallIconSize + ButtonPadding, SmallIconSize + ButtonPadding);
        }
        if (command == Command::StayOnTop) stayOnTop_ = action;
    }
    if (stayOnTop_ != nullptr) stayOnTop_->setChecked(topMost_);
}

void TreasureInfoWindow::SelectInfoTreasure(int treasure) {
    model_.SelectTreasure(treasure);
    ShowSelection();
}

void TreasureInfoWindow::ShowSelection() {
    {
        const QSignalBlocker blocker(list_);
        list_->setCurrentIndex(model_.SelectedPosition());
    }
    Refresh();
    changes_.emplace(session_, [this](unsigned) { Refresh(); });
}

void TreasureInfoWindow::Refresh() {
    QString text = QString::fromStdString(model_.Text());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Setting the same text again would throw away where the user scrolled and selected.
    if (text != text_->toPlainText()) text_->setPlainText(text);
    closeUp_->Redraw();
}

bool TreasureInfoWindow::ExecuteCommand(int command) {
    switch (command) {
        case Command::Copy:
            if (model_.SelectedTreasure() != 0)
                CopyTreasureText(session_,
                                 session_.GetWorld().FindTreasure(model_.SelectedTreasure()),
                                 messages_, this);
            return true;
        case Command::NextTreasure:
        case Command::PreviousTreasure:
            if (model_.Step(command == Command::NextTreasure)) ShowSelection();
            return true;
        case Command::GotAMap:
        case Command::CompletedAMap: {
            // The map inventory runs its own loop; the main window may close meanwhile and
            // take this window with it.
            const QPointer<TreasureInfoWindow> self(this);
            host_.OpenMapInventory(model_.SelectedTreasure(), command == Command::GotAMap);
            if (self) Refresh();
            return true;
        }
        case Command::StayOnTop:
            topMost_ = !topMost_;
            ApplyTopMost();
            session_.SettingsFile().WriteTreasureStayOnTop(topMost_);
            return true;
        default:
            return false;
    }
}

void TreasureInfoWindow::ApplyTopMost() {
    if (stayOnTop_ != nullptr) stayOnTop_->setChecked(topMost_);
    SetStaysOnTop(*this, topMost_);
}

}  // namespace brix
