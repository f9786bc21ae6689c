#include "ui/QtDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QString>

namespace lakedrift {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None:
      return QMessageBox::NoIcon;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

std::optional<std::string> QtDialogs::InputBox(QWidget* parent, const std::string& prompt,
                                               const std::string& title) {
  bool accepted = false;
  const QString text =
      QInputDialog::getText(parent, QString::fromStdString(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString(), &accepted);
  if (!accepted) return std::nullopt;
  return text.toStdString();
}

void QtDialogs::MessageBox(QWidget* parent, MessageIcon icon, const std::string& title,
                           const std::string& text) {
  QMessageBox box(ToQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, parent);
  box.exec();
}

bool QtDialogs::PrintDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace lakedrift
