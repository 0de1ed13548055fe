#include "ui/dialogs/ColorPickerButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace brix {
namespace {

constexpr int CellSize = 18;
constexpr int PaletteWidth = CellSize * PaletteColumns;
constexpr int PaletteHeight = CellSize * ((PaletteCellCount + PaletteColumns - 1) / PaletteColumns);
constexpr int Edge = 2;  // the frame's edge width
constexpr int Border = 1;
constexpr int CustomColourCount = 16;

// Qt keeps one table of 16 custom colours for all the user's Qt programs: the first colour
// dialog of a process reads it from Qt's shared settings, and every dialog writes it back when
// it is destroyed. Ours belong to this run alone (white at the start, never saved, never taken
// from another program), so this run's table is swapped in for the dialog's lifetime and the
// shared one put back before the dialog goes.
std::optional<QColor> SystemColourChooser(QWidget* owner, QColor start) {
    static std::array<QColor, CustomColourCount> runColours = [] {
        std::array<QColor, CustomColourCount> white;
        white.fill(QColor(Qt::white));
        return white;
    }();
    std::array<QColor, CustomColourCount> shared;
    for (int i = 0; i < CustomColourCount; ++i) {
        shared[static_cast<std::size_t>(i)] = QColorDialog::customColor(i);
        QColorDialog::setCustomColor(i, runColours[static_cast<std::size_t>(i)]);
    }
    std::optional<QColor> chosen;
    QColorDialog dialog(start, owner);
    if (dialog.exec() == QDialog::Accepted) chosen = dialog.selectedColor();
    for (int i = 0; i < CustomColourCount; ++i) {
        runColours[static_cast<std::size_t>(i)] = QColorDialog::customColor(i);
        QColorDialog::setCustomColor(i, shared[static_cast<std::size_t>(i)]);
    }
    return chosen;
}

}  // namespace

ColorPickerButton::ColorPickerButton(QWidget* parent)
    : QPushButton(parent),
      defaultColour_(palette().color(QPalette::Dark)),
      defaultText_(tr("Automatic")),
      customText_(tr("More Colors...")),
      chooser_(SystemChooser()) {
    // Enter belongs to the dialog's OK button, not to whichever colour button has the focus.
    setAutoDefault(false);
    setAttribute(Qt::WA_Hover);
    connect(this, &QPushButton::clicked, this, &ColorPickerButton::DropPalette);
}

ColorPickerButton::ColourChooser ColorPickerButton::SystemChooser() {
    return SystemColourChooser;
}

ColorPickerButton::~ColorPickerButton() {
    delete palette_.data();
}

void ColorPickerButton::SetColour(std::uint32_t colour) {
    colour_ = colour;
    update();
}

void ColorPickerButton::SetDefaultColour(const QColor& colour) {
    defaultColour_ = colour;
    update();
}

QColor ColorPickerButton::SwatchColour() const {
    return ColourOf(colour_, defaultColour_);
}

QSize ColorPickerButton::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int height = fontMetrics().height();
    // A swatch about three text lines wide, then the separator and the arrow.
    const QSize contents(3 * height + 4 * Edge + 8, height);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, contents, this);
}

void ColorPickerButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }

    QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        content.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                          style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    content.adjust(Edge, Edge, -Edge, -Edge);

    // The arrow: a small filled triangle pointing down at the right.
    const int arrowRight = content.right() - Edge / 2;
    const int arrowLeft = arrowRight - 6;
    const int middle = content.center().y();
    const QColor arrowColour = isEnabled()
                                   ? palette().color(QPalette::ButtonText)
                                   : palette().color(QPalette::Disabled, QPalette::ButtonText);
    painter.setPen(Qt::NoPen);
    painter.setBrush(arrowColour);
    painter.drawPolygon(QPolygon({QPoint(arrowLeft, middle - 1), QPoint(arrowRight + 1, middle - 1),
                                  QPoint((arrowLeft + arrowRight + 1) / 2, middle + 3)}));

    // An etched line between the swatch and the arrow.
    content.setRight(arrowLeft - Edge / 2 - 2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(content.right(), content.top(), content.right(), content.bottom());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(content.right() + 1, content.top(), content.right() + 1, content.bottom());

    if (!isEnabled()) return;
    const QRect swatch = content.adjusted(0, 0, -(2 * Edge + 1), 0);
    painter.setBrush(SwatchColour());
    painter.setPen(Qt::black);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void ColorPickerButton::keyPressEvent(QKeyEvent* event) {
    // The keys of a drop-down list open the palette too.
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        DropPalette();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void ColorPickerButton::DropPalette() {
    if (palette_) return;
    auto* popup = new ColourPalettePopup(colour_, defaultText_, customText_, this);
    palette_ = popup;
    connect(popup, &ColourPalettePopup::Chosen, this, &ColorPickerButton::PaletteClosed);
    const QRect button(mapToGlobal(QPoint(0, 0)), size());
    const QScreen* where = screen();
    const QRect work =
        where != nullptr ? where->availableGeometry() : QRect(button.topLeft(), popup->size());
    popup->move(PalettePosition(popup->size(), button, work));
    popup->show();
    update();
}

void ColorPickerButton::PaletteClosed(int item, bool ok) {
    update();
    if (!ok) return;
    std::uint32_t chosen = colour_;
    if (item == PaletteItem::Custom) {
        const std::optional<QColor> picked =
            chooser_ ? chooser_(this, SwatchColour()) : std::nullopt;
        if (!picked) return;
        chosen = ValueOf(*picked);
    } else {
        chosen = PickedValue(item, colour_);
    }
    if (chosen == colour_) return;
    SetColour(chosen);
    Q_EMIT ColourChanged(chosen);
}

ColourPalettePopup::ColourPalettePopup(std::uint32_t current, const QString& defaultText,
                                       const QString& customText, QWidget* parent)
    : QWidget(parent, Qt::Popup),
      defaultText_(defaultText),
      customText_(customText),
      items_{!defaultText.isEmpty(), !customText.isEmpty()},
      current_(CurrentPaletteItem(current, items_)) {
    setObjectName(QStringLiteral("ColourPalette"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFont(QApplication::font("QMenu"));
    setAccessibleName(tr("Colors"));

    const QFontMetrics metrics(font());
    int textWidth = 0;
    int textHeight = 0;
    for (const QString& text : {defaultText_, customText_}) {
        if (text.isEmpty()) continue;
        textWidth = std::max(textWidth, metrics.horizontalAdvance(text) + 10);
        textHeight = std::max(textHeight, metrics.height() + 10);
    }
    const int width = std::max(PaletteWidth, textWidth);
    defaultRect_ = QRect(Border, Border, width, items_.HasDefault ? textHeight : 0);
    cellsRect_ = QRect(Border + (width - PaletteWidth) / 2, Border + defaultRect_.height(),
                       PaletteWidth, PaletteHeight);
    customRect_ = QRect(Border, cellsRect_.bottom() + 1, width, items_.HasCustom ? textHeight : 0);
    setFixedSize(width + 2 * Border, customRect_.bottom() + 1 + Border);
}

QRect ColourPalettePopup::ItemRect(int item) const {
    if (item == PaletteItem::Default) return defaultRect_;
    if (item == PaletteItem::Custom) return customRect_;
    if (item < 0 || item >= PaletteCellCount) return {};
    return QRect(cellsRect_.left() + (item % PaletteColumns) * CellSize,
                 cellsRect_.top() + (item / PaletteColumns) * CellSize, CellSize, CellSize);
}

int ColourPalettePopup::ItemAt(QPoint point) const {
    if (defaultRect_.contains(point)) return PaletteItem::Default;
    if (customRect_.contains(point)) return PaletteItem::Custom;
    if (!cellsRect_.contains(point)) return PaletteItem::None;
    const int cell = (point.y() - cellsRect_.top()) / CellSize * PaletteColumns +
                     (point.x() - cellsRect_.left()) / CellSize;
    return cell < PaletteCellCount ? cell : PaletteItem::None;
}

QString ColourPalettePopup::ItemName(int item) const {
    if (item == PaletteItem::Default) return defaultText_;
    if (item == PaletteItem::Custom) return customText_;
    if (item < 0 || item >= PaletteCellCount) return {};
    const std::string_view name = PaletteColours()[static_cast<std::size_t>(item)].Name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

void ColourPalettePopup::Select(int item) {
    if (item == selected_) return;
    update(ItemRect(selected_));
    selected_ = item;
    update(ItemRect(selected_));
    // Screen readers announce the item the keys or the pointer reached.
    setAccessibleDescription(ItemName(item));
}

void ColourPalettePopup::End(bool ok) {
    if (ended_) return;
    ended_ = true;
    close();
    Q_EMIT Chosen(selected_, ok && selected_ != PaletteItem::None);
}

void ColourPalettePopup::closeEvent(QCloseEvent* event) {
    // Closed from outside (a click elsewhere, the window going away): nothing is chosen.
    if (!ended_) {
        ended_ = true;
        Q_EMIT Chosen(selected_, false);
    }
    QWidget::closeEvent(event);
}

void ColourPalettePopup::mouseMoveEvent(QMouseEvent* event) {
    Select(ItemAt(event->position().toPoint()));
}

void ColourPalettePopup::mousePressEvent(QMouseEvent* event) {
    const bool outside = !rect().contains(event->position().toPoint());
    // A press on the button that dropped the palette only closes it; replayed to the button,
    // it would drop the palette again at once.
    if (outside && parentWidget() != nullptr &&
        parentWidget()->rect().contains(
            parentWidget()->mapFromGlobal(event->globalPosition().toPoint())))
        setAttribute(Qt::WA_NoMouseReplay);
    if (event->button() == Qt::RightButton || outside) End(false);
}

void ColourPalettePopup::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int item = ItemAt(event->position().toPoint());
    Select(item);
    End(item != PaletteItem::None);
}

void ColourPalettePopup::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            Select(StepPaletteItem(selected_, -1, items_));
            break;
        case Qt::Key_Right:
            Select(StepPaletteItem(selected_, 1, items_));
            break;
        case Qt::Key_Up:
            Select(StepPaletteItem(selected_, -PaletteColumns, items_));
            break;
        case Qt::Key_Down:
            Select(StepPaletteItem(selected_, PaletteColumns, items_));
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            End(selected_ != PaletteItem::None);
            break;
        case Qt::Key_Escape:
            End(false);
            break;
        default:
            event->ignore();
            return;
    }
    event->accept();
}

bool ColourPalettePopup::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int item = ItemAt(help->pos());
        if (item >= 0)
            QToolTip::showText(help->globalPos(), ItemName(item), this, ItemRect(item));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void ColourPalettePopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Window));
    painter.setPen(colours.color(QPalette::Disabled, QPalette::Text));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    for (int item : {PaletteItem::Default, PaletteItem::Custom}) DrawItem(painter, item);
    for (int cell = 0; cell < PaletteCellCount; ++cell) DrawItem(painter, cell);
}

void ColourPalettePopup::DrawItem(QPainter& painter, int item) {
    QRect box = ItemRect(item);
    if (box.isEmpty()) return;
    const bool cell = item >= 0;
    const int outer = cell ? 0 : 2;
    const int inner = cell ? 2 : 3;
    const QPalette& colours = palette();
    const QColor menu = colours.color(QPalette::Window);
    const QColor highlight = colours.color(QPalette::Highlight);
    const bool selected = item == selected_;
    painter.fillRect(box, menu);
    box.adjust(outer, outer, -outer, -outer);
    if (selected || item == current_) {
        painter.fillRect(box, highlight);
        box.adjust(1, 1, -1, -1);
        painter.fillRect(box, selected ? highlight : CurrentItemBackground(menu, highlight));
        box.adjust(inner - 1, inner - 1, -(inner - 1), -(inner - 1));
    } else {
        box.adjust(inner, inner, -inner, -inner);
    }
    if (cell) {
        painter.setPen(colours.color(QPalette::Dark));
        painter.setBrush(ColourOf(PaletteColours()[static_cast<std::size_t>(item)].Value, {}));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        return;
    }
    painter.setPen(selected ? colours.color(QPalette::HighlightedText)
                            : colours.color(QPalette::WindowText));
    painter.drawText(ItemRect(item), Qt::AlignCenter | Qt::TextSingleLine, ItemName(item));
}

}  // namespace brix
