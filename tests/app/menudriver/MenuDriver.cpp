// Loaded into the real program through Qt's generic plugins
// (QT_PLUGIN_PATH, QT_QPA_GENERIC_PLUGINS=morvelamenudriver:BUTTON), it
// works the menu as a learner would, the program unchanged: once the menu
// shows it presses BUTTON (none: the menu stays idle), and once the event
// loop runs with the window or message that opened, it creates the file
// named by MORVELA_DRIVER_READY. BUTTON "startup" presses nothing and waits
// for a message that start-up shows before the menu.

#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QPushButton>
#include <QTimer>

namespace {

class MenuDriver : public QObject {
public:
    MenuDriver(const QString& button, const QString& readyFile) : m_button(button), m_readyFile(readyFile)
    {
        connect(&m_poll, &QTimer::timeout, this, &MenuDriver::poll);
        m_poll.start(20);
    }

private:
    void poll()
    {
        if (m_button == QLatin1String("startup")) {
            if (QApplication::activeModalWidget())
                ready();
            return;
        }
        if (!m_pressed) {
            QWidget* menu = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("F_mokuji") && w->isVisible())
                    menu = w;
            if (!menu)
                return;
            if (m_button.isEmpty()) {
                ready();
                return;
            }
            m_pressed = true;
            auto* button = menu->findChild<QPushButton*>(m_button);
            if (!button)
                qFatal("the menu has no button %s", qPrintable(m_button));
            // Pressed from a fresh event: its modal loop runs beneath this
            // timer, which goes on polling there.
            QTimer::singleShot(0, button, &QPushButton::click);
            return;
        }
        if (QApplication::activeModalWidget())
            ready();
    }

    void ready()
    {
        m_poll.stop();
        QFile file(m_readyFile);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(m_readyFile));
    }

    QString m_button;
    QString m_readyFile;
    QTimer m_poll;
    bool m_pressed = false;
};

} // namespace

class MenuDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "menudriver.json")
public:
    QObject* create(const QString&, const QString& button) override
    {
        return new MenuDriver(button, qEnvironmentVariable("MORVELA_DRIVER_READY"));
    }
};

#include "MenuDriver.moc"
