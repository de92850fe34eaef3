#include "framework/ui/QtUserInterface.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kvo {

namespace {
QWidget* parentOr(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }
} // namespace

void QtUserInterface::showMessage(MessageKind kind, const QString& message) {
    QWidget* parent = parentOr(m_parent);
    switch (kind) {
    case MessageKind::Error:
        QMessageBox::critical(parent, QStringLiteral("Erro"), message);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(parent, QStringLiteral("Atenção"), message);
        break;
    case MessageKind::Information:
        QMessageBox::information(parent, QStringLiteral("Informação"), message);
        break;
    }
}

bool QtUserInterface::ask(const QString& message, bool defaultYes) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmação"), message, QMessageBox::NoButton,
                    parentOr(m_parent));
    QPushButton* yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    box.setDefaultButton(defaultYes ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtUserInterface::input(const QString& caption, const QString& prompt, const QString& initial,
                                              bool password) {
    bool ok = false;
    const QString text = QInputDialog::getText(parentOr(m_parent), caption, prompt,
                                               password ? QLineEdit::Password : QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<QString> QtUserInterface::chooseFile(const QString& caption, const QString& filter, bool forSaving) {
    const QString file = forSaving ? QFileDialog::getSaveFileName(parentOr(m_parent), caption, {}, filter)
                                   : QFileDialog::getOpenFileName(parentOr(m_parent), caption, {}, filter);
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

} // namespace kvo
