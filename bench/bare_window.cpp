// The yardstick for start-up: a bare Qt window showing one Japanese label.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("日本語のタイピング練習"));
    label.show();
    return app.exec();
}
