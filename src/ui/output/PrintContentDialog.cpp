#include "ui/output/PrintContentDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/base/Strings.h"
#include "ui/dialogs/DialogButtons.h"
#include "ui/dialogs/FilterPanel.h"

namespace brix {

PrintContentDialog::PrintContentDialog(const GameRecords& records, const MapFilter& filter,
                                       const QList<PrintOutput>& outputs,
                                       const PrintOutput& current, PageSetupRequest pageSetup,
                                       QWidget* parent)
    : QDialog(parent), outputs_(outputs) {
    setObjectName(QStringLiteral("PrintContentDialog"));
    setWindowTitle(tr("Select Content to Print"));

    content_ = new QComboBox(this);
    content_->setObjectName(QStringLiteral("Content"));
    content_->addItems({tr("Treasures"), tr("Regions")});
    content_->setCurrentIndex(static_cast<int>(PrintContent::Treasures));

    mapOption_ = new QComboBox(this);
    mapOption_->setObjectName(QStringLiteral("MapOption"));
    for (int id = StringId::PrintNoMap; id <= StringId::PrintLargeColourMap; ++id)
        mapOption_->addItem(QString::fromStdString(LoadString(id)));
    mapOption_->setCurrentIndex(static_cast<int>(PrintMapOption::SmallMono));

    printer_ = new QComboBox(this);
    printer_->setObjectName(QStringLiteral("Printer"));
    if (outputs_.isEmpty()) outputs_.append(PrintOutput{});
    for (const PrintOutput& output : outputs_) printer_->addItem(OutputName(output));
    printer_->setCurrentIndex(std::max<qsizetype>(0, outputs_.indexOf(current)));

    terse_ = new QCheckBox(tr("Terse Listing (Don't print extended information)"), this);
    terse_->setObjectName(QStringLiteral("Terse"));
    terse_->setChecked(true);

    auto* contentLabel = new QLabel(tr("&Cotent to Print"), this);
    contentLabel->setBuddy(content_);
    auto* mapLabel = new QLabel(tr("&Map Options"), this);
    mapLabel->setBuddy(mapOption_);
    auto* printerLabel = new QLabel(tr("&Printer:"), this);
    printerLabel->setBuddy(printer_);

    auto* choices = new QFormLayout;
    choices->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    choices->addRow(contentLabel, content_);
    choices->addRow(mapLabel, mapOption_);
    choices->addRow(printerLabel, printer_);
    choices->addRow(terse_);

    // Created here, so that Tab runs from the check box into the panel and from the panel to
    // OK: the focus chain follows creation order.
    panel_ = new FilterPanel(records, filter, this);

    QDialogButtonBox* buttons = MakeOkCancelButtons(*this);
    buttons->setOrientation(Qt::Vertical);
    // Beside the button box, not in it: the box would put it first in the tab order.
    auto* pageSetupButton = new QPushButton(tr("Page &Setup"), this);
    pageSetupButton->setObjectName(QStringLiteral("PageSetup"));
    pageSetupButton->setAutoDefault(false);
    connect(pageSetupButton, &QPushButton::clicked, this, [this, pageSetup = std::move(pageSetup)] {
        if (pageSetup) pageSetup(Output(), this);
    });
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(buttons);
    buttonColumn->addWidget(pageSetupButton);
    buttonColumn->addStretch(1);

    // The choices with the buttons beside them; the filter panel below, full width.
    auto* top = new QHBoxLayout;
    top->addLayout(choices, 1);
    top->addLayout(buttonColumn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(panel_, 1);

    content_->setFocus();
}

QString PrintContentDialog::OutputName(const PrintOutput& output) {
    return output.IsPdf() ? tr("PDF file") : output.PrinterName;
}

PrintOptions PrintContentDialog::Options() const {
    PrintOptions options;
    options.Content = static_cast<PrintContent>(content_->currentIndex());
    options.MapOption = static_cast<PrintMapOption>(mapOption_->currentIndex());
    options.Terse = terse_->isChecked();
    options.Filter = panel_->Filter();
    return options;
}

PrintOutput PrintContentDialog::Output() const {
    const int row = printer_->currentIndex();
    return row >= 0 && row < outputs_.size() ? outputs_[row] : PrintOutput{};
}

}  // namespace brix
