#include "ui/output/PageSetupDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

#include "ui/dialogs/DialogButtons.h"

namespace brix {
namespace {

constexpr double MillimetresPerInch = 25.4;
// Wide enough for any paper the program offers; margins that leave no room to print on are
// refused by the print job with its own message.
constexpr double LargestMarginInches = 20.0;

QDoubleSpinBox* MarginBox(const char* name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccelerated(true);
    return box;
}

}  // namespace

int ThousandthsFromInches(double inches) {
    return static_cast<int>(std::lround(inches * 1000.0));
}

int ThousandthsFromMillimetres(double millimetres) {
    return static_cast<int>(std::lround(millimetres * 1000.0 / MillimetresPerInch));
}

PageSetupDialog::PageSetupDialog(const PageSetupChoice& choice, QWidget* parent)
    : QDialog(parent), papers_(choice.Papers) {
    setObjectName(QStringLiteral("PageSetupDialog"));
    setWindowTitle(tr("Page Setup"));

    int current = -1;
    for (int i = 0; i < papers_.size(); ++i)
        if (papers_[i].isEquivalentTo(choice.Paper)) current = i;
    if (current < 0 && choice.Paper.isValid()) {
        papers_.append(choice.Paper);
        current = static_cast<int>(papers_.size()) - 1;
    }
    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("Paper"));
    for (const QPageSize& paper : papers_) paper_->addItem(paper.name());
    paper_->setCurrentIndex(std::max(0, current));
    auto* paperLabel = new QLabel(tr("Pa&per:"), this);
    paperLabel->setBuddy(paper_);

    portrait_ = new QRadioButton(tr("P&ortrait"), this);
    portrait_->setObjectName(QStringLiteral("Portrait"));
    landscape_ = new QRadioButton(tr("&Landscape"), this);
    landscape_->setObjectName(QStringLiteral("Landscape"));
    auto* orientations = new QButtonGroup(this);
    orientations->addButton(portrait_);
    orientations->addButton(landscape_);
    (choice.Orientation == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
    auto* orientationRow = new QHBoxLayout;
    orientationRow->addWidget(portrait_);
    orientationRow->addWidget(landscape_);
    orientationRow->addStretch(1);

    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("Units"));
    units_->addItems({tr("Inches (in)"), tr("Millimetres (mm)")});
    auto* unitsLabel = new QLabel(tr("&Units:"), this);
    unitsLabel->setBuddy(units_);

    auto* paperForm = new QFormLayout;
    paperForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    paperForm->addRow(paperLabel, paper_);
    auto* orientationLabel = new QLabel(tr("Orientation:"), this);
    orientationLabel->setBuddy(portrait_);
    paperForm->addRow(orientationLabel, orientationRow);
    paperForm->addRow(unitsLabel, units_);

    auto* margins = new QGroupBox(tr("Margins"), this);
    // Made in the order they are laid out (left, right, then top, bottom), which is the order
    // Tab walks them.
    left_ = MarginBox("LeftMargin", margins);
    right_ = MarginBox("RightMargin", margins);
    top_ = MarginBox("TopMargin", margins);
    bottom_ = MarginBox("BottomMargin", margins);
    auto* marginGrid = new QGridLayout(margins);
    auto addMargin = [margins, marginGrid](const QString& text, QDoubleSpinBox* box, int row,
                                           int column) {
        auto* label = new QLabel(text, margins);
        label->setBuddy(box);
        marginGrid->addWidget(label, row, column);
        marginGrid->addWidget(box, row, column + 1);
    };
    addMargin(tr("L&eft:"), left_, 0, 0);
    addMargin(tr("&Right:"), right_, 0, 2);
    addMargin(tr("&Top:"), top_, 1, 0);
    addMargin(tr("&Bottom:"), bottom_, 1, 2);
    marginGrid->setColumnStretch(1, 1);
    marginGrid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(paperForm);
    layout->addWidget(margins);
    layout->addWidget(MakeOkCancelButtons(*this));

    // The user's own measurement system comes first; the margins are kept in thousandths of
    // an inch either way, and switching units shows the same margins in the other unit.
    inInches_ = QLocale().measurementSystem() != QLocale::MetricSystem;
    units_->setCurrentIndex(inInches_ ? 0 : 1);
    ShowMargins(choice.Margins);
    connect(units_, &QComboBox::currentIndexChanged, this, [this] {
        const PrintMargins shown = ReadMargins();
        inInches_ = units_->currentIndex() == 0;
        ShowMargins(shown);
    });
    paper_->setFocus();
}

bool PageSetupDialog::InInches() const {
    return inInches_;
}

void PageSetupDialog::ShowMargins(const PrintMargins& margins) {
    // Three decimals of an inch or two of a millimetre hold a thousandth of an inch exactly
    // enough that an untouched margin reads back unchanged.
    const bool inches = InInches();
    const double scale = inches ? 1.0 / 1000.0 : MillimetresPerInch / 1000.0;
    for (QDoubleSpinBox* box : {left_, top_, right_, bottom_}) {
        box->setDecimals(inches ? 3 : 2);
        box->setSingleStep(inches ? 0.05 : 1.0);
        box->setRange(0.0, LargestMarginInches * (inches ? 1.0 : MillimetresPerInch));
        box->setSuffix(inches ? tr(" in") : tr(" mm"));
    }
    left_->setValue(margins.Left * scale);
    top_->setValue(margins.Top * scale);
    right_->setValue(margins.Right * scale);
    bottom_->setValue(margins.Bottom * scale);
}

PrintMargins PageSetupDialog::ReadMargins() const {
    auto read = [this](const QDoubleSpinBox* box) {
        return InInches() ? ThousandthsFromInches(box->value())
                          : ThousandthsFromMillimetres(box->value());
    };
    return PrintMargins{read(left_), read(top_), read(right_), read(bottom_)};
}

PageSetupChoice PageSetupDialog::Choice() const {
    PageSetupChoice choice;
    const int row = paper_->currentIndex();
    if (row >= 0 && row < papers_.size()) choice.Paper = papers_[row];
    choice.Orientation = landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    choice.Margins = ReadMargins();
    choice.Papers = papers_;
    return choice;
}

bool PageSetupDialog::Open(PageSetupChoice& choice, QWidget* owner) {
    PageSetupDialog dialog(choice, owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    choice = dialog.Choice();
    return true;
}

}  // namespace brix
