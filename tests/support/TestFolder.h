#pragma once

// A temporary program folder for a test: the files the program needs beside
// it, and helpers to read what the program wrote.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace morvela::test {

class TestFolder {
public:
    // With `withData`, a small Keyboard.bmp and game.dat are put in place.
    explicit TestFolder(bool withData = true)
    {
        QVERIFY2(m_dir.isValid(), "no temporary folder");
        if (withData) {
            write(QStringLiteral("Keyboard.bmp"), tinyBmp());
            write(QStringLiteral("game.dat"), QByteArray("1345\t603\t1359\t\r\n"));
        }
    }

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    bool exists(const QString& name) const { return QFile::exists(file(name)); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

    // A 2x2 24-bit BMP, enough to be a picture.
    static QByteArray tinyBmp()
    {
        QByteArray b = QByteArray::fromHex("424d460000000000000036000000280000000200000002000000010018000000000010000000130b0000130b00000000000000000000");
        b += QByteArray::fromHex("ff000000ff000000" "0000ffffffff0000");
        return b;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace morvela::test
