#include "ui/dialogs/OptionsSheet.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/base/Strings.h"
#include "core/data/Session.h"
#include "ui/dialogs/ColorPickerButton.h"
#include "ui/dialogs/DialogButtons.h"

namespace brix {
namespace {

// Lets a click on a check box's separate, wrapped text toggle the box as its own text would.
class ToggleOnClick : public QObject {
public:
    ToggleOnClick(QCheckBox* box, QObject* parent) : QObject(parent), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && box_->isEnabled()) {
            box_->click();
            box_->setFocus(Qt::MouseFocusReason);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QCheckBox* box_;
};

// A check box whose text wraps over several lines instead of widening the page: the box, and
// beside it a word-wrapped label that is its buddy and toggles it when clicked.
QCheckBox* AddWrappedCheckBox(QVBoxLayout* layout, const QString& text, const char* name,
                              QWidget* parent) {
    auto* box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(text);
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Text"));
    label->setWordWrap(true);
    label->setBuddy(box);
    label->installEventFilter(new ToggleOnClick(box, label));
    auto* row = new QHBoxLayout;
    row->addWidget(box, 0, Qt::AlignTop);
    row->addWidget(label, 1);
    layout->addLayout(row);
    return box;
}

// Roughly the width of `units` horizontal dialog units in the widget's font.
int DialogUnitsWide(const QWidget& widget, int units) {
    return units * widget.fontMetrics().averageCharWidth() / 4;
}

QString StringText(int id) {
    return QString::fromStdString(LoadString(id));
}

}  // namespace

GeneralPage::GeneralPage(const DisplayOptions& options, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GeneralPage"));
    auto* layout = new QVBoxLayout(this);
    independent_ = AddWrappedCheckBox(
        layout,
        tr("Allow the treasure information dialog to run independently of the main window."),
        "TreasureInfoInd", this);
    independent_->setChecked(options.TreasureInfoInd);
    layout->addStretch(1);
}

void GeneralPage::Collect(DisplayOptions& options) const {
    options.TreasureInfoInd = independent_->isChecked();
}

DisplayPage::DisplayPage(const DisplayOptions& options, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DisplayPage"));
    auto* layout = new QVBoxLayout(this);

    beauty_ = new QCheckBox(tr("Beauty over speed when drawing."), this);
    beauty_->setObjectName(QStringLiteral("BeautyOverSpeed"));
    beauty_->setChecked(options.BeautyOverSpeed);
    layout->addWidget(beauty_);
    tacksCorrect_ = AddWrappedCheckBox(layout,
                                       tr("Draw tacks over the location of the treasure instead "
                                          "of slightly offset (and wrong) as Mira displays them. "),
                                       "TacksCorrect", this);
    tacksCorrect_->setChecked(options.TacksCorrect);

    auto* colours = new QGridLayout;
    colours->setColumnStretch(0, 1);
    const auto addButton = [&](const QString& label, const QString& text, const char* name,
                               std::uint32_t value, std::uint32_t swatch) {
        auto* button = new ColorPickerButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);  // not drawn: the swatch stands for it; screen readers say it
        button->setAccessibleName(label);
        button->SetDefaultColour(ColourOf(swatch, {}));
        button->SetDefaultText(StringText(StringId::DefaultColour));
        button->SetCustomText(StringText(StringId::MoreColours));
        button->SetColour(value);
        auto* caption = new QLabel(label, this);
        caption->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
        caption->setBuddy(button);
        const int row = colours->rowCount();
        colours->addWidget(caption, row, 0);
        colours->addWidget(button, row, 1);
        return button;
    };
    withoutHighLight_ =
        addButton(tr("Regions without maps highlight color"), tr("Without"), "WithoutHighLight",
                  options.WithoutHighLight, WithoutHighLightSwatch);
    withHighLight_ = addButton(tr("Regions with maps highlight color"), tr("With"), "WithHighLight",
                               options.WithHighLight, WithHighLightSwatch);
    tackWithout_ = addButton(tr("Tacks without maps color"), tr("Without"), "TackWithoutColor",
                             options.TackWithoutColor, TackWithoutColorSwatch);
    tackWith_ = addButton(tr("Tacks with maps color"), tr("With"), "TackWithColor",
                          options.TackWithColor, TackWithColorSwatch);
    layout->addLayout(colours);
    layout->addStretch(1);
}

void DisplayPage::Collect(DisplayOptions& options) const {
    options.BeautyOverSpeed = beauty_->isChecked();
    options.TacksCorrect = tacksCorrect_->isChecked();
    options.WithoutHighLight = withoutHighLight_->Colour();
    options.WithHighLight = withHighLight_->Colour();
    options.TackWithoutColor = tackWithout_->Colour();
    options.TackWithColor = tackWith_->Colour();
}

OptionsSheet::OptionsSheet(const QString& title, const DisplayOptions& options, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("OptionsSheet"));
    setWindowTitle(title);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("Pages"));
    pages_->setAccessibleName(title);
    general_ = new GeneralPage(options, pages_);
    display_ = new DisplayPage(options, pages_);
    pages_->addTab(general_, tr("General"));
    pages_->addTab(display_, tr("Display"));
    pages_->setCurrentIndex(0);
    pages_->setMinimumWidth(DialogUnitsWide(*this, 192));

    QDialogButtonBox* buttons = MakeOkCancelButtons(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(buttons);
}

DisplayOptions OptionsSheet::Options() const {
    DisplayOptions options;
    general_->Collect(options);
    display_->Collect(options);
    return options;
}

bool OptionsSheet::Open(Session& session, QWidget* owner) {
    OptionsSheet sheet(QString::fromStdString(session.GetPrefs().ProgramTitle),
                       OptionsOf(session.GetPrefs().Display), owner);
    if (sheet.exec() != QDialog::Accepted) return false;
    ApplyDisplayOptions(session, sheet.Options());
    return true;
}

}  // namespace brix
