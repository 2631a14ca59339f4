#include "ui/MessageService.h"

#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace morvela {

namespace {

void PrepareBox(QMessageBox& box, const QString& text, MessageIcon icon, const QString& title)
{
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText); // texts may come from files
    box.setText(ScreenText(text));
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
}

} // namespace

void QtMessageService::show(QWidget* parent, const QString& text, MessageIcon icon, const QString& title)
{
    QMessageBox box(parent);
    PrepareBox(box, text, icon, title);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtMessageService::ask(QWidget* parent, const QString& text, MessageIcon icon, const QString& title)
{
    QMessageBox box(parent);
    PrepareBox(box, text, icon, title);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtMessageService::beep()
{
    QApplication::beep();
}

QString ScreenText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace morvela
