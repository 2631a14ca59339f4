#include "ui/MessageService.h"

#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QMessageBox>

namespace morvela {

void QtMessageService::show(QWidget* parent, const QString& text, MessageIcon icon, const QString& title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText); // texts may come from files
    box.setText(ScreenText(text));
    box.setStandardButtons(QMessageBox::Ok);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    box.exec();
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
