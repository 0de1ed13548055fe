#include "ui/frame/QtMessages.h"

#include <QMessageBox>
#include <QWidget>

namespace brix {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QWidget* OwnerWidget(QObject* owner) {
    return qobject_cast<QWidget*>(owner);
}

}  // namespace

void QtMessages::Show(const std::string& text, MessageIcon icon, QObject* owner) {
    QMessageBox box(ToQt(icon), QString::fromStdString(title_), QString::fromStdString(text),
                    QMessageBox::Ok, OwnerWidget(owner));
    box.exec();
}

bool QtMessages::AskYesNo(const std::string& text, QObject* owner) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title_),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    OwnerWidget(owner));
    return box.exec() == QMessageBox::Yes;
}

}  // namespace brix
