#include "ui/output/PrintProgressDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/base/Strings.h"

namespace brix {

PrintProgressDialog::PrintProgressDialog(const QString& title, const QString& printer,
                                         const QString& port, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PrintProgressDialog"));
    setWindowTitle(title);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    auto line = [this, layout](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignCenter);
        // A printer name or a file path is the user's text, never markup.
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
        return label;
    };
    line(tr("Printing"), "PrintingLine");
    line(title, "TitleLine");
    line(tr("on the"), "OnTheLine");
    line(printer, "PrinterLine");
    line(QString::fromStdString(FormatText(LoadString(StringId::OnName), {port.toStdString()})),
         "PortLine");
    page_ = line(QString(), "PageLine");
    SetPage(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setText(tr("Cancel"));
    cancel->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrintProgressDialog::reject);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PrintProgressDialog::SetPage(int pages) {
    page_->setText(
        QString::fromStdString(FormatText(LoadString(StringId::PageNumber), {std::max(1, pages)})));
}

void PrintProgressDialog::reject() {
    cancelled_ = true;
    hide();
}

}  // namespace brix
